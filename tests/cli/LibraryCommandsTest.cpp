// The library commands of qvr, run as a user would.
#include "cli/CliFixture.h"
#include "support/AudioFixtures.h"

#include <taglib/mpegfile.h>
#include <taglib/tag.h>

namespace {

class QvrLibraryTest : public CliTest {
protected:
    QString music() const { return dir.path() + "/music"; }
};

} // namespace

TEST_F(QvrLibraryTest, ScanSqlRecordTagAndFolders) {
    ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/a/one.mp3"),
                                   {"O'Brien", "Album", "One", "1", "1999", "Rock", QString()}));
    ASSERT_TRUE(fixtures::WriteWav(music() + QStringLiteral("/b/two.WAV")));
    // The library is made from the template beside qvr.
    ProcessResult r = qvr({"scan", music()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "seen\t2\nadded\t2\nupdated\t0\nremoved\t0\nskipped\t0\n");
    EXPECT_TRUE(r.err.contains("100%"));
    EXPECT_TRUE(QFile::exists(dir.path() + QStringLiteral("/data/data.qvd")));

    r = qvr({"sql", QStringLiteral("select filename, md_artist, type from files where "
                                   "md_artist=\"o'brien\" or type=\"WAV\" order by filename")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "filename\tmd_artist\ttype\none.mp3\tO'Brien\tMP3\ntwo.WAV\t\tWAV\n");
    r = qvr({"sql", "select * from nowhere"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("no such table")) << r.err.toStdString();

    r = qvr({"record", music() + QStringLiteral("/a/one.mp3")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("\nartist\tO'Brien\n"));
    EXPECT_TRUE(r.out.contains("\ngenre\t17\n"));
    const QString id = r.out.section(QLatin1Char('\n'), 0, 0).section(QLatin1Char('\t'), 1);
    r = qvr({"tag", id, "0", "Ó Briain"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = qvr({"record", id});
    EXPECT_TRUE(r.out.contains("\nartist\tÓ Briain\n")) << r.out.toStdString();
    TagLib::MPEG::File f(QFile::encodeName(music() + QStringLiteral("/a/one.mp3")).constData());
    EXPECT_EQ(QString::fromStdString(f.tag()->artist().to8Bit(true)), "Ó Briain");
    r = qvr({"tag", id, "2", "not a year"});
    EXPECT_EQ(r.exitCode, 1);
    r = qvr({"record", "424242"});
    EXPECT_EQ(r.exitCode, 1);

    r = qvr({"folders", "list"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("1\t") + music() + QStringLiteral("/\t2")))
        << r.out.toStdString();
    r = qvr({"folders", "add", dir.path() + QStringLiteral("/missing")});
    EXPECT_EQ(r.exitCode, 1);
    r = qvr({"folders", "remove", music(), "--with-files"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = qvr({"sql", "select count(*) as n from files"});
    EXPECT_EQ(r.out, "n\n0\n");
    r = qvr({"folders", "list"});
    EXPECT_EQ(r.out, QString());
}

TEST_F(QvrLibraryTest, ExplicitDatabaseAndMissingFolders) {
    const QString db = dir.path() + QStringLiteral("/other.qvd");
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUAVERO_BIN_DIR "/data.blk"), db));
    QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner);
    ProcessResult r = qvr({"sql", "--db", db, "select count(*) as n from id3_genres"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "n\n148\n");
    EXPECT_EQ(qvr({"scan", dir.path() + QStringLiteral("/nowhere")}).exitCode, 1);
    r = qvr({"sql", "--db", dir.path() + QStringLiteral("/missing.qvd"), "select 1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/missing.qvd")));
}
