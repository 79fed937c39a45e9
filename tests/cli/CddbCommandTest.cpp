// qvr cddb and the text-encoding commands. The look-ups run in the test's
// process, so that the local CDDB server answers from the same event loop.
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
    }
    int inProcess(const QStringList& args) {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        const int status = qvr::run(args, {o, e});
        o.flush();
        e.flush();
        return status;
    }
    QString music() const { return dir.path() + QStringLiteral("/music"); }
    QString column(const QString& id, const char* name) {
        const ProcessResult r =
            qvr({"sql",
                 QStringLiteral("select %1 from files where id=%2").arg(QLatin1String(name), id)});
        return r.out.section(QLatin1Char('\n'), 1, 1);
    }

    FakeCddbServer server;
    QString out, err;
};

} // namespace

TEST_F(CddbCommandTest, TextCodecsInAndOutAsUtf8) {
    ProcessResult r = qvr({"urlencode", QStringLiteral("caf\u00e9 & co")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QStringLiteral("caf%E9%20%26%20co\n"));
    r = qvr({"urldecode", "caf%E9+%26%2"});
    EXPECT_EQ(r.out, QStringLiteral("caf\u00e9 &2\n"));
    r = qvr({"htmlencode", QStringLiteral("<\u00e9>")});
    EXPECT_EQ(r.out, QStringLiteral("&lt;&eacute;&gt;\n"));
    r = qvr({"htmldecode", "&Uuml;ber &amp; &#252;"});
    EXPECT_EQ(r.out, QStringLiteral("\u00dcber & &#252;\n"));

    r = qvr({"urldecode", "50%zz"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.startsWith("qvr urldecode: ")) << r.err.toStdString();
}

TEST_F(CddbCommandTest, QueryOfAVirtualCdPrintsTheChosenDisc) {
    fixtures::WriteCdImage(dir.path() + QStringLiteral("/data/cd-images"), "album",
                           {44100 * 65, 44100 * 10});
    server.answer("cddb query",
                  FakeCddbServer::inexact({"rock aaa One / First", "jazz bbb Two / Second"}));
    server.answer("cddb read rock aaa", FakeCddbServer::entry("rock", "aaa", {"TTITLE0=x"}));
    server.answer(
        "cddb read jazz bbb",
        FakeCddbServer::entry(
            "jazz", "bbb", {"DYEAR=2010", "DGENRE=Cool Jazz", "TTITLE0=Intro", "TTITLE1=Caf\xe9"}));
    ASSERT_EQ(inProcess({"cddb", "query", "1", "--pick", "2"}), 0) << err.toStdString();
    EXPECT_EQ(out,
              QStringLiteral("artist\tTwo\nalbum\tSecond\nyear\t2010\ngenre\tCool Jazz\n"
                             "category\tjazz\ndiscid\tbbb\ntracks\t2\n01\tIntro\n02\tCaf\u00e9\n"));
    EXPECT_TRUE(err.contains("2\tjazz\tbbb\tTwo / Second")) << err.toStdString();
    EXPECT_TRUE(server.commands().first().startsWith("cddb query ")) << "the disc's own query";
    EXPECT_EQ(server.commands().last(), QStringLiteral("cddb read jazz bbb"));

    EXPECT_EQ(inProcess({"cddb", "query", "1"}), 0);
    EXPECT_TRUE(out.startsWith("artist\tOne\n")) << "the first match without --pick";
    EXPECT_EQ(inProcess({"cddb", "query", "1", "--pick", "3"}), 1);
    EXPECT_TRUE(err.contains("--pick 3")) << err.toStdString();
    EXPECT_EQ(inProcess({"cddb", "query", "2"}), 1) << "no second CD";
}

TEST_F(CddbCommandTest, FilesAreLookedUpAndTaggedWithApply) {
    for (int i = 1; i <= 3; ++i) {
        fixtures::TagFields t;
        t.artist = QStringLiteral("Old");
        ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/f%1.mp3").arg(i), t));
    }
    ASSERT_EQ(qvr({"scan", music()}).exitCode, 0);
    const ProcessResult ids = qvr({"sql", "select id from files order by filename"});
    const QStringList id = ids.out.split('\n', Qt::SkipEmptyParts).mid(1);
    ASSERT_EQ(id.size(), 3);

    server.answer("cddb query", FakeCddbServer::exact("rock 3000502 New / Disc"));
    server.answer("cddb read",
                  FakeCddbServer::entry("rock", "3000502",
                                        {"DYEAR=2020", "DGENRE=Rock", "TTITLE0=A", "TTITLE1=B"}));
    ASSERT_EQ(inProcess({"cddb", "files", id[2], id[0], id[1]}), 0) << err.toStdString();
    EXPECT_TRUE(out.startsWith("query\tcddb query ")) << out.toStdString();
    EXPECT_EQ(out.section('\n', 0, 0).section('\t', 1), server.commands().first());
    EXPECT_TRUE(out.contains("\ntracks\t2\n01\tA\n02\tB\n")) << out.toStdString();
    EXPECT_EQ(column(id[2], "md_artist"), QStringLiteral("Old")) << "no --apply, no change";

    ASSERT_EQ(inProcess({"cddb", "files", id[2], id[0], id[1], "--apply"}), 0) << err.toStdString();
    EXPECT_TRUE(out.endsWith("written\t2\n")) << out.toStdString();
    EXPECT_EQ(column(id[2], "md_title"), QStringLiteral("A"));
    EXPECT_EQ(column(id[0], "md_title"), QStringLiteral("B"));
    EXPECT_EQ(column(id[0], "md_track"), QStringLiteral("2"));
    EXPECT_EQ(column(id[0], "md_genredesc"), QStringLiteral("Rock"));
    EXPECT_EQ(column(id[1], "md_artist"), QStringLiteral("Old")) << "beyond the disc's tracks";

    server.answer("cddb query", FakeCddbServer::noMatch());
    EXPECT_EQ(inProcess({"cddb", "files", id[0]}), 1);
    EXPECT_TRUE(err.contains("No matching disc")) << err.toStdString();
    EXPECT_EQ(inProcess({"cddb", "files", "999"}), 1);
    EXPECT_TRUE(err.contains("no file with id 999")) << err.toStdString();
}

TEST_F(CddbCommandTest, AHangingServerTimesOut) {
    mainMod::WriteSetting("CDDB\\Timeout", "0.2");
    server.answer("cddb query", FakeCddbServer::Answer{{}, 0, true});
    fixtures::WriteCdImage(dir.path() + QStringLiteral("/data/cd-images"), "album", {44100 * 5});
    EXPECT_EQ(inProcess({"cddb", "query", "1"}), 1);
    EXPECT_TRUE(err.contains("could not be reached")) << err.toStdString();
    EXPECT_TRUE(err.contains("within 0.2 s")) << err.toStdString();
    EXPECT_TRUE(out.isEmpty());
}
