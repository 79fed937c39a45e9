// qvr scan when things go wrong: a full disk, another scan of the same library.
#include "components/ScanLock.h"
#include "support/AudioFixtures.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <sys/mount.h>
#include <unistd.h>

namespace {

class QvrScanTest : public ::testing::Test {
protected:
    QvrScanTest() : data("QUAVERO_DATA_DIR", dir.path() + QStringLiteral("/data")) {}
    ~QvrScanTest() override {
        if (mounted) ::umount2(QFile::encodeName(mountPoint()).constData(), MNT_DETACH);
    }
    ProcessResult qvr(const QStringList& args) {
        return runTool(QStringLiteral(QVR_EXECUTABLE), args, 120000);
    }
    QString music() const { return dir.path() + QStringLiteral("/music"); }
    QString mountPoint() const { return dir.path() + QStringLiteral("/small"); }
    QString library() const { return dir.path() + QStringLiteral("/data/data.qvd"); }
    // n hard links to one small MP3: many files, little disk.
    void makeFiles(int n) {
        const QString source = dir.path() + QStringLiteral("/source.mp3");
        ASSERT_TRUE(fixtures::WriteMp3(source, fixtures::ArtistOnly("A")));
        for (int i = 0; i < n; ++i) {
            const QString to =
                music() + QStringLiteral("/%1/%2.mp3").arg(i / 500).arg(i, 5, 10, QLatin1Char('0'));
            if (i % 500 == 0) QDir().mkpath(QFileInfo(to).path());
            ASSERT_EQ(
                ::link(QFile::encodeName(source).constData(), QFile::encodeName(to).constData()),
                0);
        }
    }
    // The value of one output line "name\tN".
    static int count(const QString& out, const char* name) {
        for (const QString& line : out.split(QLatin1Char('\n')))
            if (line.section(QLatin1Char('\t'), 0, 0) == QLatin1String(name))
                return line.section(QLatin1Char('\t'), 1).toInt();
        return -1;
    }
    int storedRows(const QString& dbPath) {
        const ProcessResult r = qvr({"sql", "--db", dbPath, "select count(*) as n from files"});
        return r.exitCode == 0 ? r.out.section(QLatin1Char('\n'), 1, 1).toInt() : -1;
    }

    QTemporaryDir dir;
    ScopedEnv data;
    bool mounted = false;
};

} // namespace

TEST_F(QvrScanTest, BadLinksAreSkippedCountedAndNamed) {
    makeFiles(2);
    const QString loop = music() + QStringLiteral("/0/loop.mp3");
    ASSERT_EQ(::symlink("loop.mp3", QFile::encodeName(loop).constData()), 0);
    ProcessResult r = qvr({"scan", music()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "seen\t2\nadded\t2\nupdated\t0\nremoved\t0\nskipped\t1\n");
    EXPECT_TRUE(r.err.contains(QStringLiteral("qvr scan: skipped ") + loop + QStringLiteral(": ") +
                               QString::fromLocal8Bit(std::strerror(ELOOP))))
        << r.err.toStdString();
    ASSERT_TRUE(QFile::remove(music() + QStringLiteral("/0/00001.mp3")));
    r = qvr({"scan"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(count(r.out, "removed"), 1);
}

TEST_F(QvrScanTest, AnotherScanIsWaitedForOrRefusedWithNoWait) {
    makeFiles(10);
    ASSERT_EQ(qvr({"folders", "add", music()}).exitCode, 0);
    Result<std::unique_ptr<FileLock>> held = ScanLock::acquire(library(), "test holder");
    ASSERT_TRUE(held.ok()) << held.error().toStdString();
    const QString holder = QStringLiteral("(pid %1 test holder)").arg(::getpid());

    ProcessResult r = qvr({"scan", "--no-wait"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("another scan of this library is running ") + holder))
        << r.err.toStdString();
    EXPECT_EQ(storedRows(library()), 0);

    QProcess waiting;
    waiting.setReadChannel(QProcess::StandardError);
    waiting.start(QStringLiteral(QVR_EXECUTABLE), {"scan"});
    QString err;
    const QString message = QStringLiteral("waiting for another scan of this library ") + holder;
    for (int i = 0; i < 100 && !err.contains(message); ++i)
        if (waiting.waitForReadyRead(100)) err += QString::fromUtf8(waiting.readAllStandardError());
    EXPECT_TRUE(err.contains(message)) << err.toStdString();
    EXPECT_EQ(waiting.state(), QProcess::Running);
    held.value()->release();
    ASSERT_TRUE(waiting.waitForFinished(60000));
    EXPECT_EQ(waiting.exitCode(), 0);
    EXPECT_EQ(count(QString::fromUtf8(waiting.readAllStandardOutput()), "added"), 10);
}

TEST_F(QvrScanTest, FullDiskStopsTheScanWithCommittedCountsAndFailure) {
    QDir().mkpath(mountPoint());
    if (::mount("tmpfs", QFile::encodeName(mountPoint()).constData(), "tmpfs", 0, "size=640k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here: " << std::strerror(errno);
    mounted = true;
    makeFiles(6000);
    const QString db = mountPoint() + QStringLiteral("/data.qvd");
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUAVERO_BIN_DIR "/data.blk"), db));
    QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner);
    const ProcessResult r = qvr({"scan", "--db", db, music()});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QLatin1String("full"))) << r.err.toStdString();
    const int added = count(r.out, "added");
    EXPECT_GT(added, 0) << r.out.toStdString();
    EXPECT_LT(added, 6000);
    EXPECT_EQ(added, storedRows(db));
}

TEST_F(QvrScanTest, ConcurrentScansOfOneLibraryBothSucceed) {
    makeFiles(3000);
    // The library exists before the two scans start.
    ASSERT_EQ(qvr({"folders", "add", music()}).exitCode, 0);
    QProcess first, second;
    for (QProcess* p : {&first, &second})
        p->start(QStringLiteral(QVR_EXECUTABLE), {"scan"});
    int added = 0;
    for (QProcess* p : {&first, &second}) {
        ASSERT_TRUE(p->waitForFinished(120000));
        const QString out = QString::fromUtf8(p->readAllStandardOutput());
        const QString err = QString::fromUtf8(p->readAllStandardError());
        EXPECT_EQ(p->exitCode(), 0) << err.toStdString();
        EXPECT_FALSE(err.contains(QLatin1String("UNIQUE"))) << err.toStdString();
        added += count(out, "added");
    }
    EXPECT_EQ(added, 3000);
    EXPECT_EQ(storedRows(library()), 3000);
}
