// qvr filter, run as a user would, on a library of real files.
#include "cli/CliFixture.h"
#include "support/AudioFixtures.h"

#include <QFile>

namespace {

class QvrFilterTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        const QString music = dir.path() + "/music";
        fixtures::TagFields t;
        t.artist = "The Beatles";
        t.year = "1969";
        t.genre = "Rock";
        ASSERT_TRUE(fixtures::WriteMp3(music + "/beatles.mp3", t));
        ASSERT_TRUE(fixtures::WriteWav(music + "/silence.wav"));
        ASSERT_EQ(qvr({"scan", music}).exitCode, 0);
    }

    QString grid(const QByteArray& json) {
        const QString path = dir.path() + QStringLiteral("/grid%1.json").arg(++m_grids);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(json);
        return path;
    }

    // Runs qvr with the text on its standard input.
    ProcessResult qvrWithInput(const QStringList& args, const QByteArray& input) {
        QProcess p;
        p.setWorkingDirectory(work());
        p.start(QVR_EXECUTABLE, args);
        p.write(input);
        p.closeWriteChannel();
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }

    int m_grids = 0;
};

const QByteArray kExample = R"({"logic":"AND","rows":[
    {"row":1,"op":2,"text":"beat"},
    {"row":3,"op":4,"text":"1965-1969"},
    {"row":4,"op":1,"not":true,"genre":"Rock"}]})";

} // namespace

TEST_F(QvrFilterTest, CompileFromFileAndStandardInput) {
    ProcessResult r = qvr({"filter", "compile", grid(kExample)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "select * from files where (MD_ARTIST LIKE \"%beat%\") AND "
                     "(val(MD_YEAR)>=1965 AND val(MD_YEAR)<=1969) AND NOT (MD_GENREID=17 OR "
                     "MD_GENREDESC=\"Rock\")\n");
    r = qvrWithInput({"filter", "compile", "-"}, R"({"rows":[{"row":8,"op":2}]})");
    EXPECT_EQ(r.out, "select * from files where (type=\"WAV\")\n") << r.err.toStdString();
    r = qvrWithInput({"filter", "compile", "-"}, "{}");
    EXPECT_EQ(r.out, "select * from files\n");
    // Genre entry 0 by position; OR with one row adds no operator.
    r = qvr({"filter", "compile", grid(R"({"logic":"OR","rows":[{"row":4,"op":1,"genre":0}]})")});
    EXPECT_EQ(r.out, "select * from files where (MD_GENREID=255)\n");

    for (const char* bad :
         {"[]", "{\"logic\":\"XOR\"}", "{\"rows\":[{\"row\":11,\"op\":1}]}",
          "{\"rows\":[{\"row\":8,\"op\":4}]}", "{\"rows\":[{\"row\":8,\"op\":1,\"text\":\"x\"}]}",
          "{\"rows\":[{\"row\":4,\"op\":1,\"genre\":\"No such\"}]}",
          "{\"rows\":[{\"row\":5,\"op\":1,\"from\":\"2024-03-02\"}]}",
          "{\"rows\":[{\"row\":9,\"op\":1,\"text\":\"1 or 1=1\"}]}"}) {
        r = qvr({"filter", "compile", grid(bad)});
        EXPECT_EQ(r.exitCode, 1) << bad;
        EXPECT_TRUE(r.out.isEmpty()) << bad;
    }
}

TEST_F(QvrFilterTest, SaveListShowRunAndDelete) {
    const QString example = grid(kExample);
    ProcessResult r = qvr({"filter", "save", "ab", example});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("at least 3 characters")) << r.err.toStdString();
    r = qvr({"filter", "save", "Evil", example, "--expert", "1=1; delete from files"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("The filter is not valid")) << r.err.toStdString();

    r = qvr({"filter", "save", "Sixties", example});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString id = r.out.trimmed();
    r = qvr({"filter", "save", "sixties", example});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("\"sixties\" already exists")) << r.err.toStdString();
    r = qvr({"filter", "save", "sixties", example, "--expert", " type=\"WAV\" ", "--replace"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString wavId = r.out.trimmed();
    EXPECT_NE(wavId, id);

    r = qvr(
        {"filter", "save", "Beatles", grid(R"({"rows":[{"row":1,"op":1,"text":"The Beatles"}]})")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString beatlesId = r.out.trimmed();
    r = qvr({"filter", "list"});
    EXPECT_EQ(r.out, beatlesId + "\tBeatles\n" + wavId + "\tsixties\n");

    r = qvr({"filter", "show", wavId});
    ASSERT_EQ(r.exitCode, 0);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.first(), "sixties");
    EXPECT_TRUE(lines.contains("cmbCondition*1\t2"));
    EXPECT_TRUE(lines.contains("fTxt*1\tbeat"));
    EXPECT_TRUE(lines.contains("ckNOT*4\t1"));
    EXPECT_EQ(lines.last(), "select * from files where type=\"WAV\"");

    r = qvr({"filter", "run", "Beatles"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("beatles.mp3"));
    EXPECT_FALSE(r.out.contains("silence.wav"));
    EXPECT_EQ(r.out, qvr({"list", "_flt" + beatlesId}).out);
    r = qvr({"filter", "run", wavId});
    EXPECT_TRUE(r.out.contains("silence.wav"));
    EXPECT_FALSE(r.out.contains("beatles.mp3"));

    EXPECT_EQ(qvr({"filter", "delete", wavId}).exitCode, 0);
    EXPECT_EQ(qvr({"filter", "delete", wavId}).exitCode, 1);
    EXPECT_EQ(qvr({"filter", "show", wavId}).exitCode, 1);
    EXPECT_EQ(qvr({"filter", "list"}).out, beatlesId + "\tBeatles\n");
}

TEST_F(QvrFilterTest, CheckAndStoredWriters) {
    ProcessResult r = qvr({"filter", "check", "select * from files where type=\"MP3\""});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    for (const char* bad : {"delete from files", "select * from files; drop table files",
                            "select id from files", "select * from files where nosuch=1"}) {
        r = qvr({"filter", "check", bad});
        EXPECT_EQ(r.exitCode, 1) << bad;
        EXPECT_TRUE(r.err.startsWith("The filter is not valid")) << bad;
    }
    // A writer put into the table by other means is not run.
    ASSERT_EQ(qvr({"sql", "insert into MFILTERS (DESCRIPT, QSQL) values ('Bad', 'delete from "
                          "files')"})
                  .exitCode,
              0);
    r = qvr({"filter", "run", "Bad"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(qvr({"sql", "select count(*) as n from files"}).out, "n\n2\n");
}
