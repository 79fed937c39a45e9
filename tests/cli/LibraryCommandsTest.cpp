// The library commands of qvr, run as a user would.
#include "support/AudioFixtures.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <taglib/mpegfile.h>
#include <taglib/tag.h>

namespace {

class QvrLibraryTest : public ::testing::Test {
protected:
    QvrLibraryTest() : data("QUAVERO_DATA_DIR", dir.path() + QStringLiteral("/data")) {}
    ProcessResult qvr(const QStringList& args) {
        return runTool(QStringLiteral(QVR_EXECUTABLE), args, 60000);
    }
    QString music() const { return dir.path() + QStringLiteral("/music"); }
    QTemporaryDir dir;
    ScopedEnv data;
};

} // namespace

TEST_F(QvrLibraryTest, ScanSqlRecordTagAndFolders) {
    ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/a/one.mp3"),
                                   {QStringLiteral("O'Brien"), QStringLiteral("Album"),
                                    QStringLiteral("One"), QStringLiteral("1"),
                                    QStringLiteral("1999"), QStringLiteral("Rock"), QString()}));
    ASSERT_TRUE(fixtures::WriteWav(music() + QStringLiteral("/b/two.WAV")));
    // The library is made from the template beside qvr.
    ProcessResult r = qvr({QStringLiteral("scan"), music()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("seen\t2\nadded\t2\nupdated\t0\nremoved\t0\nskipped\t0\n"));
    EXPECT_TRUE(r.err.contains(QStringLiteral("100%")));
    EXPECT_TRUE(QFile::exists(dir.path() + QStringLiteral("/data/data.qvd")));

    r = qvr({QStringLiteral("sql"),
             QStringLiteral("select filename, md_artist, type from files where "
                            "md_artist=\"o'brien\" or type=\"WAV\" order by filename")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out,
              QStringLiteral("filename\tmd_artist\ttype\none.mp3\tO'Brien\tMP3\ntwo.WAV\t\tWAV\n"));
    r = qvr({QStringLiteral("sql"), QStringLiteral("select * from nowhere")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("no such table"))) << r.err.toStdString();

    r = qvr({QStringLiteral("record"), music() + QStringLiteral("/a/one.mp3")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("\nartist\tO'Brien\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("\ngenre\t17\n")));
    const QString id = r.out.section(QLatin1Char('\n'), 0, 0).section(QLatin1Char('\t'), 1);
    r = qvr({QStringLiteral("tag"), id, QStringLiteral("0"), QStringLiteral("Ó Briain")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = qvr({QStringLiteral("record"), id});
    EXPECT_TRUE(r.out.contains(QStringLiteral("\nartist\tÓ Briain\n"))) << r.out.toStdString();
    TagLib::MPEG::File f(QFile::encodeName(music() + QStringLiteral("/a/one.mp3")).constData());
    EXPECT_EQ(QString::fromStdString(f.tag()->artist().to8Bit(true)), QStringLiteral("Ó Briain"));
    r = qvr({QStringLiteral("tag"), id, QStringLiteral("2"), QStringLiteral("not a year")});
    EXPECT_EQ(r.exitCode, 1);
    r = qvr({QStringLiteral("record"), QStringLiteral("424242")});
    EXPECT_EQ(r.exitCode, 1);

    r = qvr({QStringLiteral("folders"), QStringLiteral("list")});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("1\t") + music() + QStringLiteral("/\t2")))
        << r.out.toStdString();
    r = qvr({QStringLiteral("folders"), QStringLiteral("add"),
             dir.path() + QStringLiteral("/missing")});
    EXPECT_EQ(r.exitCode, 1);
    r = qvr({QStringLiteral("folders"), QStringLiteral("remove"), music(),
             QStringLiteral("--with-files")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = qvr({QStringLiteral("sql"), QStringLiteral("select count(*) as n from files")});
    EXPECT_EQ(r.out, QStringLiteral("n\n0\n"));
    r = qvr({QStringLiteral("folders"), QStringLiteral("list")});
    EXPECT_EQ(r.out, QString());
}

TEST_F(QvrLibraryTest, ExplicitDatabaseAndUsageErrors) {
    const QString db = dir.path() + QStringLiteral("/other.qvd");
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUAVERO_BIN_DIR "/data.blk"), db));
    QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner);
    ProcessResult r = qvr({QStringLiteral("sql"), QStringLiteral("--db"), db,
                           QStringLiteral("select count(*) as n from id3_genres")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("n\n148\n"));
    EXPECT_EQ(qvr({QStringLiteral("sql")}).exitCode, 2);
    EXPECT_EQ(qvr({QStringLiteral("folders"), QStringLiteral("rename")}).exitCode, 2);
    EXPECT_EQ(
        qvr({QStringLiteral("tag"), QStringLiteral("1"), QStringLiteral("x"), QStringLiteral("y")})
            .exitCode,
        2);
    EXPECT_EQ(qvr({QStringLiteral("scan"), dir.path() + QStringLiteral("/nowhere")}).exitCode, 1);
    r = qvr({QStringLiteral("sql"), QStringLiteral("--db"),
             dir.path() + QStringLiteral("/missing.qvd"), QStringLiteral("select 1")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/missing.qvd")));
}
