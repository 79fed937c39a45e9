// The CDDB client against a local server: what it sends and what it makes of
// answers, time-outs and dead servers.
#include "cddb/CddbClient.h"
#include "core/Settings.h"
#include "support/FakeCddbServer.h"
#include "support/TestEnv.h"

#include <QTcpServer>
#include <QTimer>
#include <gtest/gtest.h>

class CddbClientTest : public ConfigDirTest {
protected:
    void SetUp() override { server.useInSettings(); }
    FakeCddbServer server;
};

TEST_F(CddbClientTest, PostsTheFormBodyInWindows1252WithTheGreetingOfTheSettings) {
    mainMod::WriteSetting("CDDB\\HelloUser", "me@example.org");
    mainMod::WriteSetting("CDDB\\HelloHost", "box");
    server.answer("cddb query", FakeCddbServer::noMatch());
    cddb::CddbClient client;
    const QString query = QStringLiteral("cddb query 2000501 1 150 7");
    EXPECT_EQ(client.Query(query).failure, cddb::Failure::NoMatch);
    ASSERT_EQ(server.requests().size(), 1);
    const FakeCddbServer::Request& r = server.requests().first();
    EXPECT_EQ(r.path, "/~cddb/cddb.cgi");
    EXPECT_EQ(r.contentType, "application/x-www-form-urlencoded");
    EXPECT_EQ(r.body, "cmd=cddb%20query%202000501%201%20150%207"
                      "&hello=me%40example%2Eorg+box+Quavero+1.0&proto=5");
    EXPECT_EQ(r.command, query);
    EXPECT_EQ(client.Body(QStringLiteral("caf\u00e9 \u20ac")),
              "cmd=caf%E9%20%80&hello=me%40example%2Eorg+box+Quavero+1.0&proto=5");
}

class CddbDefaults : public ConfigDirTest {};

TEST_F(CddbDefaults, WhenNothingIsStored) {
    const cddb::ServerSettings s = cddb::ReadServerSettings();
    EXPECT_EQ(s.host, QStringLiteral("gnudb.gnudb.org"));
    EXPECT_EQ(s.port, 80);
    EXPECT_EQ(s.helloUser, QStringLiteral("anonymous"));
    EXPECT_EQ(s.helloHost, QStringLiteral("localhost"));
    EXPECT_EQ(s.timeoutMs, 30000);
    EXPECT_EQ(cddb::CgiUrl(s), QStringLiteral("http://gnudb.gnudb.org/~cddb/cddb.cgi"));
}

TEST_F(CddbClientTest, ReadsWindows1252TextAndEntities) {
    server.answer("cddb query",
                  FakeCddbServer::exact("rock 2000501 Caf\xe9 &amp; Co / D\xe9j\xe0 Vu"));
    server.answer("cddb read rock 2000501",
                  FakeCddbServer::entry("rock", "2000501",
                                        {"DTITLE=Caf\xe9 / x", "DYEAR=2001", "DGENRE=Rock",
                                         "TTITLE0=Premi\xe8re", "TTITLE1=A very long title th",
                                         "TTITLE1=at goes on", "TTITLE2=Tom &amp; Jerry"}));
    cddb::CddbClient client;
    cddb::QueryAnswer answer = client.Query(QStringLiteral("cddb query 2000501 1 150 7"));
    ASSERT_EQ(answer.failure, cddb::Failure::None);
    EXPECT_EQ(answer.result.artist, QStringLiteral("Caf\u00e9 & Co"));
    EXPECT_EQ(answer.result.album, QStringLiteral("D\u00e9j\u00e0 Vu"));
    ASSERT_EQ(client.Read(answer.result), cddb::Failure::None);
    EXPECT_EQ(server.commands().last(), QStringLiteral("cddb read rock 2000501"));
    EXPECT_EQ(answer.result.trackCount, 3);
    EXPECT_EQ(answer.result.tracks[0].title, QStringLiteral("Premi\u00e8re"));
    EXPECT_EQ(answer.result.tracks[1].title, QStringLiteral("A very long title that goes on"));
    EXPECT_EQ(answer.result.tracks[2].title, QStringLiteral("Tom & Jerry"));
    EXPECT_EQ(answer.result.year, QStringLiteral("2001"));
}

TEST_F(CddbClientTest, GarbageErrorPagesAndUnknownCodesAreInvalidAnswers) {
    server.answer("cddb query 1", QByteArray("\x01\x02 <html>garbage</html>"));
    server.answer("cddb query 2", FakeCddbServer::Answer{"oops", 0, false, 500});
    server.answer("cddb query 3", QByteArray());
    cddb::CddbClient client;
    EXPECT_EQ(client.Query("cddb query 1").failure, cddb::Failure::BadAnswer);
    EXPECT_EQ(client.Query("cddb query 2").failure, cddb::Failure::BadAnswer);
    // An empty page from the server is "<PRE></PRE>": no status code to accept.
    EXPECT_EQ(client.Query("cddb query 3").failure, cddb::Failure::BadAnswer);
}

TEST_F(CddbClientTest, AHangingServerTimesOutAndADeadOneFailsAtOnce) {
    mainMod::WriteSetting("CDDB\\Timeout", "0.3");
    server.answer("cddb query", FakeCddbServer::Answer{{}, 0, true});
    cddb::CddbClient client;
    EXPECT_EQ(client.Query("cddb query 1").failure, cddb::Failure::NoAnswer);
    EXPECT_TRUE(client.LastError().contains("0.3 s")) << client.LastError().toStdString();

    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();
    mainMod::WriteSetting("CDDB\\Port", QString::number(port));
    cddb::CddbClient dead;
    EXPECT_EQ(dead.Query("cddb query 1").failure, cddb::Failure::NoAnswer);
    EXPECT_FALSE(dead.LastError().isEmpty());
}

TEST_F(CddbClientTest, CancelEndsTheTransferAtOnce) {
    // Without the cancel the wait would end by the time-out, with another reason.
    server.answer("cddb query", FakeCddbServer::Answer{{}, 0, true});
    cddb::CddbClient client;
    QTimer::singleShot(100, &client, [&client] {
        EXPECT_TRUE(client.Busy());
        client.Cancel();
    });
    EXPECT_EQ(client.Query("cddb query 1").failure, cddb::Failure::NoAnswer);
    EXPECT_EQ(client.LastError(), QStringLiteral("cancelled"));
    EXPECT_FALSE(client.Busy());
}
