// Opening a library that cannot be written, or that another program holds.
#include "core/FileLock.h"
#include "core/LockHolders.h"
#include "support/LibraryFixture.h"
#include "support/ScratchMount.h"

#include <QProcess>
#include <QRegularExpression>

#include <unistd.h>

namespace {

class LibraryAccess : public LibraryTest {
protected:
    void TearDown() override { db::Database::setBusyTimeout(10000); }
    void fillOneFile() {
        ASSERT_TRUE(fixtures::WriteMp3(music() + "/one.mp3", {}));
        addMusicFolder();
        ASSERT_EQ(scan().added, 1);
    }
};

} // namespace

TEST_F(LibraryAccess, WithoutWriteAccessReadingWorksAndWritesSaySo) {
    // Root may write anywhere, so a read-only file system stands in for missing rights.
    const QString folder = dir() + "/ro";
    ScratchMount disk(folder, 8 << 20);
    if (!disk.ok()) GTEST_SKIP() << disk.why().toStdString();
    const QString path = folder + "/data.qvd";
    ASSERT_TRUE(QFile::copy(dbPath(), path));
    {
        MediaLibrary writer;
        ASSERT_TRUE(writer.OpenLibrary(path));
        ASSERT_TRUE(writer.Connection().execute("insert into files(fullpath, filename, md_artist) "
                                                "values('/x/a.mp3', 'a.mp3', 'Abba')"));
    }
    ASSERT_FALSE(QFile::exists(path + "-shm")) << "the last close removes the journal files";
    ASSERT_TRUE(disk.makeReadOnly());

    MediaLibrary reader;
    ASSERT_TRUE(reader.OpenLibrary(path)) << reader.OpenError().toStdString();
    EXPECT_TRUE(reader.IsReadOnly());
    Result<db::Recordset> r = reader.Connection().query("select md_artist from files");
    ASSERT_TRUE(r.ok()) << r.error().toStdString();
    ASSERT_TRUE(r.value().next());
    EXPECT_EQ(r.value().text(0), "Abba");
    const Status write = reader.Connection().execute("update files set rating = 5");
    ASSERT_FALSE(write.ok());
    EXPECT_TRUE(write.error().contains("read-only")) << write.error().toStdString();
    EXPECT_TRUE(write.error().contains(path)) << write.error().toStdString();
    EXPECT_FALSE(reader.Compact());
}

TEST_F(LibraryAccess, ABusyLibraryNamesItsHolder) {
    fillOneFile();
    db::Database::setBusyTimeout(200);
    // A scan of ours holds the library exclusively and says so in its lock file.
    FileLock scanLock(LockHolders::ScanLockPath(dbPath()), FileLock::TryOnce);
    ASSERT_TRUE(scanLock.locked());
    ASSERT_TRUE(scanLock.writeOwner("qvr scan"));
    lib.CloseLibrary();
    Result<db::Database> holder = db::Database::open(dbPath());
    ASSERT_TRUE(holder.ok());
    const Status held = holder.value().executeNative(
        "pragma locking_mode=exclusive; begin exclusive; update files set rating = 1");
    ASSERT_TRUE(held.ok()) << held.error().toStdString();

    MediaLibrary other;
    EXPECT_FALSE(other.OpenLibrary(dbPath()));
    const QString expected = QStringLiteral("in use by pid %1 (qvr scan)").arg(::getpid());
    EXPECT_TRUE(other.OpenError().contains(expected)) << other.OpenError().toStdString();

    // A lock file left by a holder that is gone names nobody.
    scanLock.release();
    EXPECT_TRUE(FileLock::holder(LockHolders::ScanLockPath(dbPath())).isEmpty());
}

TEST_F(LibraryAccess, ProgramsOfOthersAreFoundByTheOpenFile) {
    fillOneFile();
    QProcess child;
    child.start("sh", {"-c", "exec 3<\"$1\"; echo ready; exec sleep 20", "sh", dbPath()});
    ASSERT_TRUE(child.waitForReadyRead(5000));
    const QString pid = QString::number(child.processId());
    const QStringList holders = LockHolders::Describe(dbPath());
    child.kill();
    child.waitForFinished();
    // The name is the shell's or sleep's, depending on how far the child got.
    EXPECT_EQ(
        holders.filter(QRegularExpression(QStringLiteral("^pid %1 \\((sh|sleep)\\)$").arg(pid)))
            .size(),
        1)
        << holders.join(", ").toStdString();
}
