// The CDDB client and its answer parsing against a local server.
#include "cddb/CddbClient.h"
#include "core/Settings.h"
#include "support/FakeCddbServer.h"
#include "support/TestEnv.h"

#include <QTimer>
#include <gtest/gtest.h>

class CddbClientTest : public ConfigDirTest {
protected:
    void SetUp() override { server.useInSettings(); }
    FakeCddbServer server;
};

TEST_F(CddbClientTest, SendsTheFormBodyAndGreetingOfTheSettings) {
    EXPECT_EQ(cddb::CgiUrl(cddb::ServerSettings()),
              QStringLiteral("http://gnudb.gnudb.org/~cddb/cddb.cgi"));
    mainMod::WriteSetting("CDDB\\HelloUser", "me@example.org");
    server.answer("cddb query", "202 No match found\r\n");
    cddb::CddbClient client;
    EXPECT_EQ(client.Query(QStringLiteral("cddb query caf\u00e9 1")).failure,
              cddb::Failure::NoMatch);
    EXPECT_EQ(
        server.bodies.value(0),
        "cmd=cddb%20query%20caf%E9%201&hello=me%40example%2Eorg+localhost+Quavero+1.0&proto=5");
    EXPECT_TRUE(server.heads.value(0).contains("Content-Type: application/x-www-form-urlencoded"));
}

TEST_F(CddbClientTest, QueryAndReadAnswers) {
    server.answer("cddb query", "200 rock 2000501 Caf\xe9 &amp; Co / D\xe9j\xe0 / Vu\r\n");
    QByteArray lines = "211 close matches\r\n\r\n";
    for (int i = 0; i < 120; ++i)
        lines += "misc " + QByteArray::number(i) + " Artist" + QByteArray::number(i) + "\r\n";
    server.answer("cddb query many", lines + ".\r\n");
    server.answer("cddb read rock",
                  FakeCddbServer::entry("rock 2000501", {"DYEAR= 19999 ", "DGENRE=Hard &amp; Heavy",
                                                         "TTITLE0=Premi\xe8re", "TTITLE1=A long ti",
                                                         "TTITLE1=tle", "TTITLE10x=no"}));
    cddb::CddbClient client;
    cddb::QueryAnswer one = client.Query("cddb query 2000501 1 150 7");
    ASSERT_EQ(one.failure, cddb::Failure::None);
    EXPECT_EQ(one.result.artist, QStringLiteral("Caf\u00e9 & Co"));
    EXPECT_EQ(one.result.album, QStringLiteral("D\u00e9j\u00e0 / Vu"));
    ASSERT_EQ(client.Read(one.result), cddb::Failure::None);
    EXPECT_EQ(server.commands.last(), QStringLiteral("cddb read rock 2000501"));
    EXPECT_EQ(one.result.trackCount, 2);
    EXPECT_EQ(one.result.tracks[0].title, QStringLiteral("Premi\u00e8re"));
    EXPECT_EQ(one.result.tracks[1].title, QStringLiteral("A long title"));
    EXPECT_EQ(one.result.tracks[1].number, 2);
    EXPECT_EQ(one.result.year, QStringLiteral("1999"));
    EXPECT_EQ(one.result.genre, QStringLiteral("Hard & Heavy"));

    const cddb::QueryAnswer many = client.Query("cddb query many");
    EXPECT_TRUE(many.several());
    ASSERT_EQ(many.matches.size(), 98);
    EXPECT_EQ(many.matches.last().line, 99) << "line 1 is empty";
    EXPECT_EQ(many.matches.last().disc.artist, QString()) << "no \" / \": no artist";
    EXPECT_EQ(many.matches.last().disc.album, QStringLiteral("Artist97"));
    EXPECT_EQ(cddb::ParseQuery(" <pre>200 jazz 1 A / B</pre>", client.Encoder()).failure,
              cddb::Failure::None);
}

TEST_F(CddbClientTest, FailuresAreValues) {
    server.answer("cddb query 1", "\x01\x02 <html>garbage</html>");
    server.answer("cddb query 2", FakeCddbServer::Answer{"oops", false, 500});
    server.answer("cddb query 3", "403 Database entry is corrupt\r\n");
    server.answer("cddb query 4", FakeCddbServer::Answer{{}, true});
    cddb::CddbClient client;
    for (const char* bad : {"cddb query 1", "cddb query 2", "cddb query 3"})
        EXPECT_EQ(client.Query(bad).failure, cddb::Failure::BadAnswer) << bad;
    CdInfo disc;
    EXPECT_EQ(cddb::ParseRead("<PRE>401 not found</PRE>", disc, client.Encoder()),
              cddb::Failure::BadAnswer);

    mainMod::WriteSetting("CDDB\\Timeout", "0.3");
    cddb::CddbClient impatient;
    EXPECT_EQ(impatient.Query("cddb query 4").failure, cddb::Failure::NoAnswer);
    EXPECT_TRUE(impatient.LastError().contains("0.3 s")) << impatient.LastError().toStdString();

    mainMod::WriteSetting("CDDB\\Timeout", "30");
    cddb::CddbClient cancelled;
    QTimer::singleShot(100, &cancelled, [&cancelled] { cancelled.Cancel(); });
    EXPECT_EQ(cancelled.Query("cddb query 4").failure, cddb::Failure::NoAnswer);
    EXPECT_EQ(cancelled.LastError(), QStringLiteral("cancelled"));

    mainMod::WriteSetting("CDDB\\Port", "1"); // nothing listens there
    cddb::CddbClient dead;
    EXPECT_EQ(dead.Query("cddb query 1").failure, cddb::Failure::NoAnswer);
}
