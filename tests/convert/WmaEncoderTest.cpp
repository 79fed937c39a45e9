#include "convert/WmaEncoder.h"
#include "components/TagService.h"
#include "convert/AudioDecoder.h"
#include "convert/ConvertTestAudio.h"
#include "convert/LameEncoder.h"
#include "convert/WavFile.h"
#include "support/AudioFixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <taglib/asffile.h>

#include <cstdlib>

namespace {

constexpr int WmaFrame = 2048;

class WmaEncoderTest : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    bool encode(wmaEncoder& enc, const QString& in, const QString& out) {
        enc.SetInputFile(in);
        enc.SetOutputFile(out);
        return enc.Encode();
    }
    QTemporaryDir dir;
};

// The first and the last sample louder than a quiet threshold.
std::pair<qint64, qint64> loudRange(const QString& wavPath) {
    convert::WavReader r;
    if (!r.open(wavPath)) return {-1, -1};
    std::vector<int16_t> pcm;
    qint64 first = -1, last = -1, at = 0;
    while (const qint64 n = r.read(pcm, 8192)) {
        if (n < 0) return {-1, -1};
        for (qint64 i = 0; i < n; ++i)
            if (std::abs(pcm[static_cast<size_t>(i * r.channels())]) > 1500) {
                if (first < 0) first = at + i;
                last = at + i;
            }
        at += n;
    }
    return {first, last};
}

TEST_F(WmaEncoderTest, RoundTripKeepsFormatBitRateAndEveryLastSample) {
    // An odd length, so that the input ends in a partial frame.
    const double seconds = 2.7 + 777.0 / 44100;
    ASSERT_TRUE(WriteToneWav(path("in.wav"), seconds));
    const auto inFrames = static_cast<qint64>(seconds * 44100);
    wmaEncoder enc;
    ASSERT_TRUE(enc.SetEncPreset(4));
    ASSERT_TRUE(encode(enc, path("in.wav"), path("out.wma"))) << enc.LastError().toStdString();
    {
        TagLib::ASF::File f(QFile::encodeName(path("out.wma")).constData());
        ASSERT_TRUE(f.isValid());
        const auto* p = f.audioProperties();
        EXPECT_EQ(p->channels(), 2);
        EXPECT_EQ(p->sampleRate(), 44100);
        EXPECT_EQ(p->bitrate(), 128);
        EXPECT_EQ(p->codec(), TagLib::ASF::Properties::WMA2);
        // Never shorter than the input: a converted file must not look cut.
        EXPECT_GE(p->lengthInMilliseconds(), static_cast<int>(seconds * 1000));
        EXPECT_LE(p->lengthInMilliseconds(), seconds * 1000 + WmaFrame * 1000.0 / 44100 + 1);
    }
    AudioDecoder decoder;
    ASSERT_TRUE(decoder.DecodeWmaToWav(path("out.wma"), path("back.wav"), 600));
    // The tone fills the whole input: all of it, from the first to the last
    // sample, comes back, and at most one frame of silence after it.
    const auto [first, last] = loudRange(path("back.wav"));
    EXPECT_LE(first, 16);
    EXPECT_GE(last, inFrames - 16);
    convert::WavReader back;
    ASSERT_TRUE(back.open(path("back.wav")));
    EXPECT_GE(back.frames(), inFrames);
    EXPECT_LT(back.frames(), inFrames + WmaFrame);
}

TEST_F(WmaEncoderTest, MonoInputKeepsItsRateAndTheLowBitRate) {
    ASSERT_TRUE(WriteToneWav(path("in.wav"), 1.5, 1, 22050));
    wmaEncoder enc;
    ASSERT_TRUE(enc.SetEncPreset(2)); // CBR 64
    ASSERT_TRUE(encode(enc, path("in.wav"), path("out.wma"))) << enc.LastError().toStdString();
    TagLib::ASF::File f(QFile::encodeName(path("out.wma")).constData());
    ASSERT_TRUE(f.isValid());
    EXPECT_EQ(f.audioProperties()->channels(), 1);
    EXPECT_EQ(f.audioProperties()->sampleRate(), 22050);
    EXPECT_EQ(f.audioProperties()->bitrate(), 64);
    EXPECT_NEAR(f.audioProperties()->lengthInMilliseconds(), 1500, WmaFrame * 1000.0 / 22050);
}

TEST_F(WmaEncoderTest, PresetsAndPropertiesPickTheBitRate) {
    ASSERT_TRUE(WriteToneWav(path("in.wav"), 0.5));
    const std::pair<int, int> cases[] = {{1, 48},   {8, 320}, {11, 96},
                                         {14, 192}, {15, 64}, {19, 192}};
    for (const auto& [preset, kbps] : cases) {
        wmaEncoder enc;
        ASSERT_TRUE(enc.SetEncPreset(preset));
        ASSERT_TRUE(encode(enc, path("in.wav"), path("out.wma"))) << preset;
        TagLib::ASF::File f(QFile::encodeName(path("out.wma")).constData());
        EXPECT_EQ(f.audioProperties()->bitrate(), kbps) << "preset " << preset;
    }
    wmaEncoder custom;
    ASSERT_TRUE(custom.SetEncPreset(-1));
    ASSERT_TRUE(custom.SetBitrate(160));
    ASSERT_TRUE(encode(custom, path("in.wav"), path("out.wma")));
    TagLib::ASF::File f(QFile::encodeName(path("out.wma")).constData());
    EXPECT_EQ(f.audioProperties()->bitrate(), 160);

    wmaEncoder refused;
    EXPECT_FALSE(refused.SetEncPreset(20));
    EXPECT_FALSE(refused.SetEncPreset(0));
    EXPECT_FALSE(refused.SetEncPreset(12 + 100));
    EXPECT_EQ(refused.EncPreset(), 4);
    EXPECT_FALSE(refused.SetVBRQuality(5));
    EXPECT_EQ(refused.VBRQuality(), 3);
    EXPECT_TRUE(refused.setProperty("EncPreset", 12));
    EXPECT_EQ(refused.EncPreset(), 12);
}

TEST_F(WmaEncoderTest, CompressedSourceEncodesDirectlyAndTakesTags) {
    // The conversion job hands a source MP3 straight to the WMA encoder.
    ASSERT_TRUE(WriteToneWav(path("in.wav"), 2.0));
    lameEncoder mp3;
    mp3.SetEncPreset(4);
    mp3.SetInputFile(path("in.wav"));
    mp3.SetOutputFile(path("in.mp3"));
    ASSERT_TRUE(mp3.Encode());
    wmaEncoder enc;
    ASSERT_TRUE(encode(enc, path("in.mp3"), path("out.wma"))) << enc.LastError().toStdString();
    ASSERT_TRUE(TagService::WriteFileTag(path("out.wma"), TagService::Title, "Tone").ok());
    ASSERT_TRUE(TagService::WriteFileTag(path("out.wma"), TagService::Artist, "Band").ok());
    TagLib::ASF::File f(QFile::encodeName(path("out.wma")).constData());
    ASSERT_TRUE(f.isValid());
    EXPECT_EQ(f.tag()->title(), "Tone");
    EXPECT_EQ(f.tag()->artist(), "Band");
    EXPECT_NEAR(f.audioProperties()->lengthInMilliseconds(), 2000, 2 * 1152 * 1000 / 44100);
}

TEST_F(WmaEncoderTest, BadInputsFailWithoutTouchingTheTarget) {
    ASSERT_TRUE(fixtures::WriteBytes(path("keep.wma"), "old"));
    ASSERT_TRUE(fixtures::WriteBytes(path("junk.wav"), QByteArray(5000, 'x')));
    ASSERT_TRUE(fixtures::WriteWav(path("good.wav"), 0.2));
    const QByteArray wav = fixtures::ReadBytes(path("good.wav"));
    ASSERT_TRUE(fixtures::WriteBytes(path("empty.wav"), wav.left(44)));
    ASSERT_TRUE(fixtures::WriteBytes(path("short.wav"), wav.left(20)));
    for (const char* in : {"missing.wav", "junk.wav", "empty.wav", "short.wav"}) {
        wmaEncoder enc;
        EXPECT_FALSE(encode(enc, path(in), path("keep.wma"))) << in;
        EXPECT_FALSE(enc.LastError().isEmpty()) << in;
        EXPECT_EQ(fixtures::ReadBytes(path("keep.wma")), QByteArray("old")) << in;
    }
    // A target that cannot be written.
    wmaEncoder enc;
    EXPECT_FALSE(encode(enc, path("good.wav"), path("no-such-folder/out.wma")));
    EXPECT_FALSE(enc.LastError().isEmpty());
}

TEST_F(WmaEncoderTest, AbortFromProgressStopsAndLeavesTheTargetAlone) {
    ASSERT_TRUE(fixtures::WriteWav(path("in.wav"), 20.0));
    ASSERT_TRUE(fixtures::WriteBytes(path("out.wma"), "old"));
    wmaEncoder enc;
    float last = 0;
    QObject::connect(&enc, &wmaEncoder::EncodingProgress, [&](float percent) {
        last = percent;
        if (percent > 20) enc.Abort();
    });
    EXPECT_FALSE(encode(enc, path("in.wav"), path("out.wma")));
    EXPECT_LT(last, 50);
    EXPECT_EQ(fixtures::ReadBytes(path("out.wma")), QByteArray("old"));

    QObject::disconnect(&enc, nullptr, nullptr, nullptr);
    QObject::connect(&enc, &wmaEncoder::EncodingProgress, [&](float p) { last = p; });
    EXPECT_TRUE(enc.Encode());
    EXPECT_FLOAT_EQ(last, 100.0f);
    EXPECT_TRUE(TagLib::ASF::File(QFile::encodeName(path("out.wma")).constData()).isValid());
}

} // namespace
