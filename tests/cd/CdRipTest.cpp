#include "cd/clsRIP.h"
#include "convert/WavFile.h"
#include "support/CdImage.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Odd lengths: no track is a whole number of seconds or of 588-frame sectors.
const QList<int64_t> kFrames = {44100 * 3 + 123, 44100 * 2 + 587, 44100 * 4 + 1, 30001};

// The freedb id worked out from the image's layout, the way the format is
// documented: digit sums of the start seconds, the playing time, the count.
QString expectedId(const fixtures::CdImage& image) {
    int n = 0;
    for (const auto& t : image.tracks)
        for (int s = (t.startSector + 150) / 75; s > 0; s /= 10)
            n += s % 10;
    const int seconds =
        (image.totalSectors + 150) / 75 - (image.tracks.first().startSector + 150) / 75;
    const unsigned id =
        (unsigned(n % 255) << 24) | (unsigned(seconds) << 8) | unsigned(image.tracks.size());
    return QString::asprintf("%08x", id);
}

QString expectedQuery(const fixtures::CdImage& image) {
    QStringList parts{"cddb", "query", expectedId(image), QString::number(image.tracks.size())};
    for (const auto& t : image.tracks)
        parts << QString::number(t.startSector + 150);
    parts << QString::number((image.totalSectors + 150) / 75);
    return parts.join(' ');
}

std::vector<int16_t> readWav(const QString& path) {
    convert::WavReader wav;
    std::vector<int16_t> all;
    if (!wav.open(path).ok()) return all;
    EXPECT_EQ(wav.channels(), 2);
    EXPECT_EQ(wav.sampleRate(), 44100);
    std::vector<int16_t> block;
    while (wav.read(block, 4096) > 0)
        all.insert(all.end(), block.begin(), block.end());
    return all;
}

class CdRip : public ConfigDirTest {
protected:
    QString at(const char* name) const { return dir.path() + '/' + name; }
    cd::CdDrive drive(const fixtures::CdImage& image) const {
        return {QStringLiteral("image"), image.cuePath, true, {}};
    }
    QTemporaryDir dir;
};

TEST_F(CdRip, TableOfContentsMatchesTheImage) {
    for (const int dataSectors : {0, 450}) {
        SCOPED_TRACE(dataSectors);
        const auto image = fixtures::WriteCdImage(dir.path(), "disc", kFrames, dataSectors);
        clsRIP rip;
        ASSERT_TRUE(rip.ReadDrive(drive(image))) << rip.LastError().toStdString();
        EXPECT_EQ(rip.TrackCount(), kFrames.size()) << "the data track is no audio track";
        EXPECT_EQ(rip.DiscId(), expectedId(image));
        EXPECT_EQ(rip.CddbQuery(), expectedQuery(image));
        const int audioFrom = dataSectors > 0 ? 1 : 0;
        for (int i = 0; i < kFrames.size(); ++i) {
            const int seconds = image.tracks.at(audioFrom + i).sectors / 75;
            EXPECT_EQ(rip.TrackLength(i + 1),
                      QString::asprintf("%d:%02d", seconds / 60, seconds % 60));
        }
        EXPECT_EQ(rip.TrackLength(0), QString());
        EXPECT_EQ(rip.TrackLength(kFrames.size() + 1), QString());
        const int total = (image.totalSectors - image.tracks.first().startSector) / 75;
        EXPECT_EQ(rip.DiscLength(), QString::asprintf("%d:%02d", total / 60, total % 60));
    }
}

TEST_F(CdRip, LongDiscLengthKeepsCountingMinutes) {
    EXPECT_EQ(cd::LengthText(74 * 60 + 5), "74:05");
    EXPECT_EQ(cd::LengthText(59), "0:59");
}

TEST_F(CdRip, EveryTrackRipsBitExact) {
    const auto image = fixtures::WriteCdImage(dir.path(), "mixed", kFrames, 300, 7);
    clsRIP rip;
    ASSERT_TRUE(rip.ReadDrive(drive(image)));
    QList<int> started, completed;
    float last = 0;
    QObject::connect(&rip, &clsRIP::TrackStart, [&](int t) { started << t; });
    QObject::connect(&rip, &clsRIP::TrackProgress, [&](int, float p) {
        EXPECT_GE(p, last);
        last = p;
    });
    QObject::connect(&rip, &clsRIP::TrackComplete, [&](int t, bool ok) {
        EXPECT_TRUE(ok);
        completed << t;
    });
    for (int t = 1; t <= rip.TrackCount(); ++t) {
        SCOPED_TRACE(t);
        last = 0;
        const QString out = at("track.wav");
        ASSERT_TRUE(rip.RipTrack(t, out)) << rip.LastError().toStdString();
        EXPECT_FLOAT_EQ(last, 100.0f);
        const auto& want = image.tracks.at(t).samples; // track 0 is the data track
        const std::vector<int16_t> got = readWav(out);
        ASSERT_EQ(got.size(), want.size());
        EXPECT_TRUE(got == want) << "the ripped samples differ from the image's";
        // The padding of the last sector is silence; what precedes it is the noise.
        EXPECT_NE(got.at(0), 0);
    }
    EXPECT_EQ(started, (QList<int>{1, 2, 3, 4}));
    EXPECT_EQ(completed, started);
}

TEST_F(CdRip, BigEndianImagesRipToTheSameSamples) {
    // libcdio hands over a BIN's bytes as stored, whatever the CUE sheet declares.
    const auto image = fixtures::WriteCdImage(dir.path(), "motorola", {44100 + 3, 999}, 0, 3, true);
    clsRIP rip;
    ASSERT_TRUE(rip.ReadDrive(drive(image)));
    for (int t = 1; t <= 2; ++t) {
        ASSERT_TRUE(rip.RipTrack(t, at("be.wav")));
        EXPECT_TRUE(readWav(at("be.wav")) == image.tracks.at(t - 1).samples) << t;
    }
}

TEST_F(CdRip, AbortMidTrackLeavesNoFile) {
    const auto image = fixtures::WriteCdImage(dir.path(), "long", {44100 * 6 + 5});
    clsRIP rip;
    ASSERT_TRUE(rip.ReadDrive(drive(image)));
    float abortedAt = -1;
    QObject::connect(&rip, &clsRIP::TrackProgress, [&](int, float p) {
        if (abortedAt < 0 && p > 30) {
            abortedAt = p;
            rip.AbortRip();
        }
    });
    bool completedOk = true;
    QObject::connect(&rip, &clsRIP::TrackComplete, [&](int, bool ok) { completedOk = ok; });
    EXPECT_FALSE(rip.RipTrack(1, at("out.wav")));
    EXPECT_LT(abortedAt, 100);
    EXPECT_FALSE(completedOk);
    EXPECT_FALSE(QFile::exists(at("out.wav")));
    EXPECT_FALSE(rip.LastError().isEmpty());

    // An existing file stays as it was; the next rip runs to its end again.
    QFile keep(at("out.wav"));
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("mine");
    keep.close();
    abortedAt = 0; // no more aborts
    ASSERT_FALSE(rip.RipTrack(2, at("out.wav"))) << "there is no second track";
    EXPECT_EQ(readFile(at("out.wav")), QByteArray("mine"));
    EXPECT_TRUE(rip.RipTrack(1, at("out.wav")));
    EXPECT_EQ(readWav(at("out.wav")), image.tracks.at(0).samples);
}

TEST_F(CdRip, BrokenImagesFailWithoutACrash) {
    const auto image = fixtures::WriteCdImage(dir.path(), "gone", kFrames);
    ASSERT_TRUE(QFile::remove(image.binPath));
    clsRIP rip;
    EXPECT_FALSE(rip.ReadDrive(drive(image)));
    EXPECT_EQ(rip.TrackCount(), 0);
    EXPECT_EQ(rip.DiscId(), QString());
    EXPECT_FALSE(rip.RipTrack(1, at("x.wav")));
    EXPECT_FALSE(QFile::exists(at("x.wav")));

    writeFile(at("junk.cue"), "this is no cue sheet\n");
    EXPECT_FALSE(rip.ReadDrive({"junk", at("junk.cue"), true, {}}));
    rip.setImagesFolder(dir.path());
    EXPECT_FALSE(rip.ReadDisc(1)) << "neither image holds a readable disc";
    EXPECT_FALSE(rip.ReadDisc(0));
}

TEST_F(CdRip, ReadDiscCountsTheVirtualDrives) {
    const auto a = fixtures::WriteCdImage(dir.path(), "a", {44100});
    const auto b = fixtures::WriteCdImage(dir.path(), "b", {44100, 44100 * 2});
    clsRIP rip;
    rip.setImagesFolder(dir.path());
    ASSERT_TRUE(rip.ReadDisc(2));
    EXPECT_EQ(rip.TrackCount(), 2);
    ASSERT_TRUE(rip.ReadDisc(1));
    EXPECT_EQ(rip.TrackCount(), 1);
    EXPECT_FALSE(rip.ReadDisc(3));
    EXPECT_EQ(rip.TrackCount(), 0) << "a failed read forgets the earlier disc";
}

} // namespace
