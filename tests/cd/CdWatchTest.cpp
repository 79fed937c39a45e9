#include "cd/CDSniff.h"
#include "core/Settings.h"
#include "support/CdImage.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class CdWatch : public ConfigDirTest {
protected:
    QString images() const { return dir.path() + QStringLiteral("/cd-images"); }
    QString elsewhere() const { return dir.path() + QStringLiteral("/elsewhere"); }
    QTemporaryDir dir;
};

TEST_F(CdWatch, NoDrivesAndNoImagesMeanNoCds) {
    CDSniff sniff(images());
    EXPECT_EQ(sniff.AudioCdCount(), 0);
    EXPECT_EQ(sniff.AudioCdDrive(0), QString());
    EXPECT_TRUE(sniff.StartWatching(10));
    EXPECT_FALSE(sniff.StartWatching(10)) << "already watching";
    EXPECT_EQ(sniff.AudioCdCount(), 0);
    sniff.StopWatching();
}

TEST_F(CdWatch, ImagesInTheFolderComeAndGo) {
    fixtures::WriteCdImage(images(), "already", {44100});
    CDSniff sniff(images());
    QSignalSpy in(&sniff, &CDSniff::AudioCdIN);
    QSignalSpy out(&sniff, &CDSniff::AudioCdOUT);
    ASSERT_TRUE(sniff.StartWatching(3600 * 1000));
    EXPECT_EQ(sniff.AudioCdCount(), 1);
    EXPECT_EQ(in.count(), 0) << "a disc present at the start is no insertion";
    EXPECT_EQ(sniff.AudioCdDrive(0), "already.cue");

    const auto added = fixtures::WriteCdImage(images(), "added", {30000, 40000});
    sniff.Poll();
    EXPECT_EQ(in.count(), 1);
    EXPECT_EQ(out.count(), 0);
    EXPECT_EQ(sniff.AudioCdCount(), 2);
    EXPECT_EQ(sniff.AudioCdDrive(0), "added.cue") << "images go by name";
    EXPECT_EQ(sniff.AudioCdDrive(1), "already.cue");

    sniff.Poll();
    EXPECT_EQ(in.count(), 1) << "nothing changed, nothing reported";

    ASSERT_TRUE(QFile::remove(added.cuePath));
    sniff.Poll();
    EXPECT_EQ(out.count(), 1);
    EXPECT_EQ(sniff.AudioCdCount(), 1);

    // Another disc written over an image is a removal and an insertion.
    fixtures::WriteCdImage(images(), "already", {44100 * 2, 1000});
    sniff.Poll();
    EXPECT_EQ(out.count(), 2);
    EXPECT_EQ(in.count(), 2);
}

TEST_F(CdWatch, TheSettingNamesMoreImages) {
    const auto one = fixtures::WriteCdImage(elsewhere(), "one", {44100});
    const auto two = fixtures::WriteCdImage(elsewhere(), "two", {44100, 100});
    const auto dataOnly = fixtures::WriteCdImage(elsewhere(), "data", {}, 600);
    fixtures::WriteCdImage(images(), "folder", {5000});
    ASSERT_TRUE(mainMod::WriteSetting(QStringLiteral("CD-Rip\\VirtualDrives"),
                                      two.cuePath + ";" + dataOnly.cuePath + "; ;" + one.cuePath +
                                          ";" + two.cuePath + ";" + elsewhere() + "/missing.cue"));
    CDSniff sniff(images());
    ASSERT_EQ(sniff.AudioCdCount(), 3) << "a disc without audio, a missing file and a "
                                          "repeated one do not count";
    EXPECT_EQ(sniff.AudioCdDrive(0), "two.cue");
    EXPECT_EQ(sniff.AudioCdDrive(1), "one.cue");
    EXPECT_EQ(sniff.AudioCdDrive(2), "folder.cue");

    // Not watching: every question looks again.
    ASSERT_TRUE(QFile::remove(one.binPath));
    EXPECT_EQ(sniff.AudioCdCount(), 2) << "an image whose BIN went is no disc";
}

TEST_F(CdWatch, TheTimerPolls) {
    CDSniff sniff(images());
    QSignalSpy in(&sniff, &CDSniff::AudioCdIN);
    QSignalSpy out(&sniff, &CDSniff::AudioCdOUT);
    ASSERT_TRUE(sniff.StartWatching(20));
    const auto image = fixtures::WriteCdImage(images(), "late", {44100});
    EXPECT_TRUE(in.wait(5000));
    EXPECT_EQ(sniff.AudioCdCount(), 1);
    ASSERT_TRUE(QFile::remove(image.cuePath));
    EXPECT_TRUE(out.wait(5000));
    EXPECT_EQ(sniff.AudioCdCount(), 0);

    sniff.StopWatching();
    fixtures::WriteCdImage(images(), "unseen", {44100});
    EXPECT_FALSE(in.wait(200)) << "no events after StopWatching";
}

} // namespace
