// A scan that cannot write reports what it committed, and scans of one library take turns.
#include "components/ScanLock.h"
#include "core/FileLock.h"
#include "support/LibraryFixture.h"

#include <QFile>

#include <thread>

#include <unistd.h>

namespace {

class ScannerWriteFailureTest : public LibraryTest {
protected:
    // n hard links to one small MP3: many files, little disk.
    void makeFiles(int n) {
        const QString source = dir() + QStringLiteral("/source.mp3");
        ASSERT_TRUE(fixtures::WriteMp3(source, fixtures::ArtistOnly("A")));
        QDir().mkpath(music() + QStringLiteral("/many"));
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(
                ::link(QFile::encodeName(source).constData(),
                       QFile::encodeName(
                           music() + QStringLiteral("/many/%1.mp3").arg(i, 4, 10, QLatin1Char('0')))
                           .constData()),
                0);
    }
    qint64 storedRows() {
        Result<db::Recordset> r = conn().prepare("select count(*) from FILES");
        return r && r.value().next() ? r.value().integer(0) : -1;
    }
};

} // namespace

TEST_F(ScannerWriteFailureTest, FullDatabaseCountsOnlyCommittedRows) {
    addMusicFolder();
    makeFiles(600);
    // The database file may grow by a few hundred rows, then it is full.
    Result<db::Recordset> pages = conn().prepare("pragma page_count");
    ASSERT_TRUE(pages && pages.value().next());
    const qint64 limit = pages.value().integer(0) + 20;
    pages.value().close();
    ASSERT_TRUE(conn().executeNative(QStringLiteral("pragma max_page_count=%1").arg(limit)).ok());
    LibraryScanner scanner(conn());
    scanner.setBatchSize(50);
    QStringList errors;
    LibraryScanner::Callbacks cb;
    cb.status = [&errors](qint32 code, const QString& text) {
        if (code == ScanDatabaseError) errors.append(text);
    };
    const Result<ScanCounts> r = scanner.run(QString(), cb);
    ASSERT_TRUE(r.ok()) << r.error().toStdString();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.first().contains(QLatin1String("full"))) << errors.first().toStdString();
    EXPECT_EQ(r->outcome, ScanDatabaseError);
    EXPECT_FALSE(r->finished());
    EXPECT_GT(r->added, 0);
    EXPECT_LT(r->added, 600);
    EXPECT_EQ(r->added, storedRows());
    // The folder is not marked as scanned.
    lib.MediaFolders()->Reload();
    EXPECT_FALSE(lib.MediaFolders()->FolderLastScan(0).isValid());
}

TEST_F(ScannerWriteFailureTest, SecondScanWaitsForTheFirstOrGivesUp) {
    addMusicFolder();
    makeFiles(20);
    // Another scanner (here: a lock taken the way every scanner takes it) holds the library.
    Result<std::unique_ptr<FileLock>> other = ScanLock::acquire(dbPath(), "other scanner");
    ASSERT_TRUE(other.ok()) << other.error().toStdString();
    const QString holder = QStringLiteral("(pid %1 other scanner)").arg(::getpid());

    LibraryScanner scanner(conn());
    scanner.setLockWait(0);
    Result<ScanCounts> r = scanner.run(QString(), {});
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error(), QStringLiteral("another scan of this library is running ") + holder);
    EXPECT_EQ(storedRows(), 0);

    // With time to wait, it says so, and runs once the other is done.
    scanner.setLockWait(60000);
    QStringList waiting;
    std::thread releaser;
    LibraryScanner::Callbacks cb;
    cb.waiting = [&](const QString& message) {
        waiting.append(message);
        releaser = std::thread([&other] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            other.value()->release();
        });
    };
    r = scanner.run(QString(), cb);
    if (releaser.joinable()) releaser.join();
    ASSERT_TRUE(r.ok()) << r.error().toStdString();
    EXPECT_EQ(waiting,
              QStringList{QStringLiteral("waiting for another scan of this library ") + holder});
    EXPECT_EQ(r->added, 20);
    EXPECT_TRUE(r->finished());
}

TEST_F(ScannerWriteFailureTest, CancelWhileWaitingForTheLockEndsAsCancelled) {
    addMusicFolder();
    Result<std::unique_ptr<FileLock>> other = ScanLock::acquire(dbPath(), "x");
    ASSERT_TRUE(other.ok());
    std::atomic<bool> cancel{false};
    LibraryScanner::Callbacks cb;
    cb.waiting = [&cancel](const QString&) { cancel = true; };
    const Result<ScanCounts> r = LibraryScanner(conn()).run(QString(), cb, &cancel);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r->outcome, ScanCancelled);
}
