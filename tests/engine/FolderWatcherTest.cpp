// Live watching: bursts of changes become one set of folders, new folders are
// watched as they appear, other files are ignored, and the watch limit turns
// watching into periodic rescans.
#include "engine/FolderWatcher.h"
#include "engine/IndexEngineForm.h"
#include "support/AudioFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class FolderWatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path() + QStringLiteral("/music");
        ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/a/b")));
        QObject::connect(&watcher, &FolderWatcher::changed,
                         [this](const QStringList& f) { bursts << f; });
    }
    QList<QStringList> waitForBursts(int count, int ms = 5000) {
        YieldUntil([&] { return bursts.size() >= count; }, ms);
        return bursts;
    }
    QTemporaryDir dir;
    QString root;
    FolderWatcher watcher;
    QList<QStringList> bursts;
};

TEST_F(FolderWatcherTest, BurstOfChangesIsOneSetOfFolders) {
    watcher.setRoots({root});
    EXPECT_EQ(watcher.watchCount(), 3);
    ASSERT_TRUE(fixtures::WriteMp3(root + QStringLiteral("/one.mp3"), {}));
    ASSERT_TRUE(fixtures::WriteMp3(root + QStringLiteral("/a/b/two.mp3"), {}));
    ASSERT_TRUE(QFile::remove(root + QStringLiteral("/one.mp3")));
    const QList<QStringList> got = waitForBursts(1);
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0], (QStringList{root, root + QStringLiteral("/a/b")}));
    YieldUntil([] { return false; }, 2 * FolderWatcher::QuietMs);
    EXPECT_EQ(bursts.size(), 1);
}

TEST_F(FolderWatcherTest, NewFoldersAreWatchedAndOtherFilesIgnored) {
    watcher.setRoots({root});
    ASSERT_TRUE(fixtures::WriteBytes(root + QStringLiteral("/notes.txt"), "x"));
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/new")));
    ASSERT_EQ(waitForBursts(1).size(), 1);
    EXPECT_EQ(bursts[0], QStringList{root}); // the folder, not the text file
    EXPECT_EQ(watcher.watchCount(), 4);
    ASSERT_TRUE(fixtures::WriteWav(root + QStringLiteral("/new/x.wav")));
    ASSERT_EQ(waitForBursts(2).size(), 2);
    EXPECT_EQ(bursts[1], QStringList{root + QStringLiteral("/new")});
}

TEST_F(FolderWatcherTest, WatchLimitFallsBackToRescans) {
    FolderWatcher limited(nullptr, 2);
    int rescans = 0;
    QObject::connect(&limited, &FolderWatcher::rescanDue, [&rescans] { ++rescans; });
    limited.setRescanInterval(50);
    limited.setRoots({root});
    EXPECT_TRUE(limited.overLimit());
    EXPECT_EQ(limited.watchCount(), 0);
    EXPECT_TRUE(YieldUntil([&rescans] { return rescans >= 2; }, 5000));
}

} // namespace
