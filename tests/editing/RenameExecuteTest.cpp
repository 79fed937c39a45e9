// Renaming library files on disk: names never replaced, rows following only
// renames that happened, and everything else of a row kept.
#include "core/FileNameCodec.h"
#include "editing/FileMove.h"
#include "editing/RenamePlan.h"
#include "support/LibraryFixture.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using fixtures::TagFields;

bool exists(const QString& path) {
    struct stat st {};
    return ::lstat(FileNameCodec::encode(path).constData(), &st) == 0;
}

// A renameat2 that refuses the flag, as some file systems do.
int refuseFlag(int, const char*, int, const char*, unsigned int) {
    errno = EINVAL;
    return -1;
}

class RenameExecuteTest : public LibraryTest {
protected:
    void TearDown() override { FileMove::SetRenameCall(nullptr); }

    qint64 addMp3(const QString& name, const QString& artist, const QString& track,
                  const QString& title) {
        TagFields t;
        t.artist = artist;
        t.track = track;
        t.title = title;
        EXPECT_TRUE(fixtures::WriteMp3(music() + QLatin1Char('/') + name, t));
        return 0;
    }
    // Every column of the row, for comparing before and after.
    QString rowOf(qint64 id) {
        const QStringList r = rows(QStringLiteral("select * from FILES where id=%1").arg(id),
                                   {"fullpath", "filename", "filetitle", "size", "DATETIME",
                                    "rating", "playcount", "md_title"});
        return r.value(0);
    }
    QList<RenamePlan::Step> rename(const QString& pattern, const QList<qint64>& ids) {
        QList<RenamePlan::Step> steps = RenamePlan::Plan(pattern, RenamePlan::Records(lib, ids));
        RenamePlan::Execute(lib, steps);
        return steps;
    }
};

} // namespace

TEST_F(RenameExecuteTest, RenamesAndUpdatesTheRowKeepingRatingAndPlays) {
    addMusicFolder();
    addMp3("a.mp3", "X", "3", "Y");
    scan();
    const qint64 id = idOf("a.mp3");
    ASSERT_TRUE(lib.SetFileField(id, FileField::Rating, 4));
    ASSERT_TRUE(lib.SetFileField(id, FileField::PlayCount, 9));
    const qint64 size = QFileInfo(music() + QStringLiteral("/a.mp3")).size();

    const QList<RenamePlan::Step> steps = rename("%A - %N - %T", {id});
    ASSERT_EQ(steps.size(), 1);
    EXPECT_TRUE(steps[0].done) << steps[0].problem.toStdString();
    const QString target = music() + QStringLiteral("/X - 03 - Y.mp3");
    EXPECT_EQ(steps[0].newPath, target);
    EXPECT_TRUE(exists(target));
    EXPECT_FALSE(exists(music() + QStringLiteral("/a.mp3")));
    FileRecord r;
    ASSERT_TRUE(lib.GetFileRecord(static_cast<qint32>(id), r));
    EXPECT_EQ(r.fullPath, target);
    EXPECT_EQ(r.fileName, "X - 03 - Y.mp3");
    EXPECT_EQ(r.fileTitle, "X - 03 - Y");
    EXPECT_EQ(r.size, size);
    EXPECT_EQ(r.fileDate.toSecsSinceEpoch(), QFileInfo(target).lastModified().toSecsSinceEpoch());
    EXPECT_EQ(r.rating, 4);
    EXPECT_EQ(r.playCount, 9);
    EXPECT_EQ(r.title, "Y");
    // A rescan finds the file where the row says it is: no new row.
    const ScanCounts again = scan();
    EXPECT_EQ(again.added, 0);
    EXPECT_EQ(idOf("X - 03 - Y.mp3"), id);
}

TEST_F(RenameExecuteTest, SameNameTwiceRenamesTheFirstAndKeepsTheSecond) {
    addMusicFolder();
    addMp3("1.mp3", "A", "1", "Same");
    addMp3("2.mp3", "A", "2", "Same");
    scan();
    const qint64 one = idOf("1.mp3"), two = idOf("2.mp3");
    const QByteArray secondBytes = fixtures::ReadBytes(music() + QStringLiteral("/2.mp3"));
    const QString secondRow = rowOf(two);

    QList<RenamePlan::Step> preview =
        RenamePlan::Plan("%T.mp3", RenamePlan::Records(lib, {one, two}));
    RenamePlan::Preview(preview, RenamePlan::PathExists);
    EXPECT_TRUE(preview[0].problem.isEmpty());
    EXPECT_FALSE(preview[1].problem.isEmpty());
    EXPECT_TRUE(exists(music() + QStringLiteral("/1.mp3"))); // a preview touches nothing

    const QList<RenamePlan::Step> steps = rename("%T.mp3", {one, two});
    EXPECT_TRUE(steps[0].done);
    EXPECT_FALSE(steps[1].done);
    EXPECT_FALSE(steps[1].problem.isEmpty());
    EXPECT_TRUE(exists(music() + QStringLiteral("/Same.mp3")));
    EXPECT_EQ(fixtures::ReadBytes(music() + QStringLiteral("/2.mp3")), secondBytes);
    EXPECT_NE(fixtures::ReadBytes(music() + QStringLiteral("/Same.mp3")), secondBytes);
    EXPECT_EQ(rowOf(two), secondRow);
}

TEST_F(RenameExecuteTest, BadTitlesFailTheirFileAndTheOthersGoOn) {
    addMusicFolder();
    addMp3("q.mp3", "A", "1", "Why?");
    addMp3("s.mp3", "A", "2", "sub/dir");
    addMp3("t.mp3", "A", "3/12", "Three");
    addMp3("ok.mp3", "A", "4", "Fine");
    QDir().mkpath(music() + QStringLiteral("/sub"));
    scan();
    const QList<qint64> ids = {idOf("q.mp3"), idOf("s.mp3"), idOf("t.mp3"), idOf("ok.mp3")};
    QStringList before;
    for (qint64 id : ids)
        before << rowOf(id);

    const QList<RenamePlan::Step> steps = rename("%N %T", ids);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(steps[i].done) << i;
        EXPECT_EQ(rowOf(ids[i]), before[i]) << i;
    }
    EXPECT_TRUE(exists(music() + QStringLiteral("/q.mp3")));
    EXPECT_TRUE(exists(music() + QStringLiteral("/s.mp3")));
    EXPECT_TRUE(exists(music() + QStringLiteral("/t.mp3")));
    // Nothing went into the folder a "/" names.
    EXPECT_TRUE(QDir(music() + QStringLiteral("/sub")).isEmpty());
    EXPECT_FALSE(exists(music() + QStringLiteral("/3")));
    EXPECT_TRUE(steps[3].done);
    EXPECT_TRUE(exists(music() + QStringLiteral("/04 Fine.mp3")));

    // The file's own extension in other letter case ends the name once.
    const QList<RenamePlan::Step> upper = rename("%T.MP3", {ids[3]});
    EXPECT_TRUE(upper[0].done);
    EXPECT_TRUE(exists(music() + QStringLiteral("/Fine.MP3")));
}

TEST_F(RenameExecuteTest, WithoutTheNoReplaceFlagLinkingStillNeverReplaces) {
    FileMove::SetRenameCall(refuseFlag);
    addMusicFolder();
    addMp3("1.mp3", "A", "1", "Same");
    addMp3("2.mp3", "A", "2", "Same");
    scan();
    const QList<RenamePlan::Step> steps = rename("%T", {idOf("1.mp3"), idOf("2.mp3")});
    EXPECT_TRUE(steps[0].done) << steps[0].problem.toStdString();
    EXPECT_FALSE(steps[1].done);
    EXPECT_TRUE(exists(music() + QStringLiteral("/Same.mp3")));
    EXPECT_FALSE(exists(music() + QStringLiteral("/1.mp3")));
    EXPECT_TRUE(exists(music() + QStringLiteral("/2.mp3")));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(music() + QStringLiteral("/Same.mp3")).constData(), &st), 0);
    EXPECT_EQ(st.st_nlink, 1u);
}

TEST_F(RenameExecuteTest, NamesThatAreNotUtf8AreRenamedByTheirBytes) {
    addMusicFolder();
    const QByteArray folder = QFile::encodeName(music()) + "/d\xe9j\xe0";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    const QString tmp = music() + QStringLiteral("/tmp.mp3");
    TagFields t;
    t.title = QStringLiteral("Caf\u00e9");
    ASSERT_TRUE(fixtures::WriteMp3(tmp, t));
    ASSERT_EQ(::rename(QFile::encodeName(tmp).constData(), (folder + "/\xff.mp3").constData()), 0);
    scan();
    const QString name = FileNameCodec::decode(QByteArray("\xff.mp3"));
    const qint64 id = idOf(name);
    ASSERT_GT(id, 0);
    const QList<RenamePlan::Step> steps = rename("%T", {id});
    EXPECT_TRUE(steps[0].done) << steps[0].problem.toStdString();
    struct stat st {};
    EXPECT_EQ(::stat((folder + "/Caf\xc3\xa9.mp3").constData(), &st), 0);
    EXPECT_NE(::stat((folder + "/\xff.mp3").constData(), &st), 0);
    FileRecord r;
    ASSERT_TRUE(lib.GetFileRecord(static_cast<qint32>(id), r));
    EXPECT_EQ(FileNameCodec::encode(r.fullPath), folder + "/Caf\xc3\xa9.mp3");
}

TEST_F(RenameExecuteTest, RowThatCannotFollowGetsTheFileBackAndLockedFilesStay) {
    addMusicFolder();
    addMp3("a.mp3", "A", "1", "b");
    addMp3("b.mp3", "A", "2", "c");
    scan();
    const qint64 a = idOf("a.mp3"), b = idOf("b.mp3");
    // b.mp3 is gone from the disk but its row still holds the name.
    ASSERT_TRUE(QFile::remove(music() + QStringLiteral("/b.mp3")));
    const QString before = rowOf(a);
    const QList<RenamePlan::Step> steps = rename("%T", {a});
    EXPECT_FALSE(steps[0].done);
    EXPECT_FALSE(steps[0].problem.isEmpty());
    EXPECT_TRUE(exists(music() + QStringLiteral("/a.mp3")));
    EXPECT_FALSE(exists(music() + QStringLiteral("/b.mp3")));
    EXPECT_EQ(rowOf(a), before);
    EXPECT_GT(b, 0);

    // A file another program holds locked keeps its name.
    const int fd =
        ::open(QFile::encodeName(music() + QStringLiteral("/a.mp3")).constData(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    const QList<RenamePlan::Step> locked = rename("%A %T", {a});
    ::close(fd);
    EXPECT_FALSE(locked[0].done);
    EXPECT_TRUE(exists(music() + QStringLiteral("/a.mp3")));
    EXPECT_EQ(rowOf(a), before);
}
