// qvr cddb and the text-encoding commands. Look-ups run in the test's process,
// so that the local CDDB server answers from the same event loop.
#include "cli/CliFixture.h"
#include "cli/Qvr.h"
#include "core/Settings.h"
#include "support/AudioFixtures.h"
#include "support/CdImage.h"
#include "support/FakeCddbServer.h"

#include <QTextStream>

namespace {

class CddbCommandTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        server.useInSettings();
        fixtures::WriteCdImage(dir.path() + "/data/cd-images", "album", {44100 * 65, 44100 * 10});
    }
    int inProcess(const QStringList& args) {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        return qvr::run(args, {o, e});
    }
    QString column(const QString& id, const char* name) {
        return qvr({"sql", QStringLiteral("select %1 from files where id=%2")
                               .arg(QLatin1String(name), id)})
            .out.section('\n', 1, 1);
    }
    FakeCddbServer server;
    QString out, err;
};

} // namespace

TEST_F(CddbCommandTest, TextCodecsInAndOutAsUtf8) {
    EXPECT_EQ(qvr({"urlencode", QStringLiteral("caf\u00e9 &")}).out, "caf%E9%20%26\n");
    EXPECT_EQ(qvr({"urldecode", "caf%E9+%26%2"}).out, QStringLiteral("caf\u00e9 &2\n"));
    EXPECT_EQ(qvr({"htmlencode", QStringLiteral("<\u00e9>")}).out, "&lt;&eacute;&gt;\n");
    EXPECT_EQ(qvr({"htmldecode", "&Uuml;ber &#252;"}).out, QStringLiteral("\u00dcber &#252;\n"));
    const ProcessResult bad = qvr({"urldecode", "50%zz"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.out.isEmpty());
    EXPECT_TRUE(bad.err.startsWith("qvr urldecode: ")) << bad.err.toStdString();
}

TEST_F(CddbCommandTest, QueryOfAVirtualCdPrintsTheChosenDisc) {
    server.answer("cddb query",
                  FakeCddbServer::inexact({"rock aaa One / First", "jazz bbb Two / Second"}));
    server.answer("cddb read rock", FakeCddbServer::entry("rock aaa", {"TTITLE0=x"}));
    server.answer("cddb read jazz",
                  FakeCddbServer::entry("jazz bbb", {"DYEAR=2010", "DGENRE=Cool", "TTITLE0=Intro",
                                                     "TTITLE1=Caf\xe9"}));
    ASSERT_EQ(inProcess({"cddb", "query", "1", "--pick", "2"}), 0) << err.toStdString();
    EXPECT_EQ(out,
              QStringLiteral("artist\tTwo\nalbum\tSecond\nyear\t2010\ngenre\tCool\n"
                             "category\tjazz\ndiscid\tbbb\ntracks\t2\n01\tIntro\n02\tCaf\u00e9\n"));
    EXPECT_TRUE(err.contains("2\tjazz\tbbb\tTwo / Second")) << err.toStdString();
    EXPECT_EQ(server.commands.last(), QStringLiteral("cddb read jazz bbb"));
    EXPECT_EQ(inProcess({"cddb", "query", "1"}), 0);
    EXPECT_TRUE(out.startsWith("artist\tOne\n")) << "the first match without --pick";
    EXPECT_EQ(inProcess({"cddb", "query", "1", "--pick", "3"}), 1);
    EXPECT_EQ(inProcess({"cddb", "query", "2"}), 1) << "no second CD";

    mainMod::WriteSetting("CDDB\\Timeout", "0.2");
    server.answer("cddb query", FakeCddbServer::Answer{{}, true});
    EXPECT_EQ(inProcess({"cddb", "query", "1"}), 1);
    EXPECT_TRUE(err.contains("could not be reached") && err.contains("0.2 s")) << err.toStdString();
}

TEST_F(CddbCommandTest, FilesAreLookedUpAndTaggedWithApply) {
    const QString music = dir.path() + "/music";
    for (int i = 1; i <= 3; ++i)
        ASSERT_TRUE(fixtures::WriteMp3(music + QStringLiteral("/f%1.mp3").arg(i),
                                       fixtures::ArtistOnly("Old")));
    ASSERT_EQ(qvr({"scan", music}).exitCode, 0);
    const QStringList id =
        qvr({"sql", "select id from files order by filename"}).out.split('\n').mid(1, 3);
    server.answer("cddb query", "200 rock 3000502 New / Disc\r\n");
    server.answer("cddb read",
                  FakeCddbServer::entry("rock 3000502", {"DGENRE=Rock", "TTITLE0=A", "TTITLE1=B"}));
    ASSERT_EQ(inProcess({"cddb", "files", id[2], id[0], id[1]}), 0) << err.toStdString();
    EXPECT_EQ(out.section('\n', 0, 0), "query\t" + server.commands.first());
    EXPECT_TRUE(out.contains("\ntracks\t2\n01\tA\n02\tB\n")) << out.toStdString();
    EXPECT_EQ(column(id[2], "md_artist"), QStringLiteral("Old")) << "no --apply, no change";

    ASSERT_EQ(inProcess({"cddb", "files", id[2], id[0], id[1], "--apply"}), 0) << err.toStdString();
    EXPECT_TRUE(out.endsWith("written\t2\n")) << out.toStdString();
    EXPECT_EQ(column(id[0], "md_title") + column(id[0], "md_track") + column(id[0], "md_genredesc"),
              "B2Rock");
    EXPECT_EQ(column(id[1], "md_artist"), QStringLiteral("Old")) << "beyond the disc's tracks";
    EXPECT_EQ(inProcess({"cddb", "files", "999"}), 1);
    EXPECT_TRUE(err.contains("no file with id 999")) << err.toStdString();
}
