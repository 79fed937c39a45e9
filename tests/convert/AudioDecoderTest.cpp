#include "convert/AudioDecoder.h"
#include "convert/ConvertTestAudio.h"
#include "convert/LameEncoder.h"
#include "convert/WavFile.h"
#include "support/AudioFixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct WavFacts {
    int channels = 0;
    int rate = 0;
    qint64 frames = 0;
};

WavFacts readWav(const QString& path) {
    convert::WavReader r;
    if (!r.open(path)) return {};
    return {r.channels(), r.sampleRate(), r.frames()};
}

class AudioDecoderTest : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    QTemporaryDir dir;
    AudioDecoder decoder;
};

TEST_F(AudioDecoderTest, BothDecodersAreThere) {
    EXPECT_TRUE(decoder.Mp3DecoderAvailable());
    EXPECT_TRUE(decoder.WmaDecoderAvailable());
}

TEST_F(AudioDecoderTest, Mp3RoundTripKeepsFormatAndLength) {
    for (const bool vbr : {false, true}) {
        ASSERT_TRUE(WriteToneWav(path("in.wav"), 2.5, 2, 44100, true));
        lameEncoder enc;
        if (vbr) {
            enc.SetVBRMode(true);
            enc.SetVBRQuality(4);
        } else {
            enc.SetEncPreset(4);
        }
        enc.SetInputFile(path("in.wav"));
        enc.SetOutputFile(path("mid.mp3"));
        ASSERT_TRUE(enc.Encode());
        ASSERT_TRUE(decoder.DecodeMp3ToWav(path("mid.mp3"), path("out.wav"), 600))
            << decoder.LastError().toStdString();
        const WavFacts w = readWav(path("out.wav"));
        EXPECT_EQ(w.channels, 2);
        EXPECT_EQ(w.rate, 44100);
        // The encoder's delay and padding are trimmed again on decoding.
        EXPECT_NEAR(w.frames, qint64(2.5 * 44100), 1152) << (vbr ? "VBR" : "CBR");
    }
}

TEST_F(AudioDecoderTest, MonoMp3StaysMono) {
    ASSERT_TRUE(WriteToneWav(path("in.wav"), 1.0, 1, 32000));
    lameEncoder enc;
    enc.SetEncPreset(3);
    enc.SetInputFile(path("in.wav"));
    enc.SetOutputFile(path("mid.mp3"));
    ASSERT_TRUE(enc.Encode());
    ASSERT_TRUE(decoder.DecodeMp3ToWav(path("mid.mp3"), path("out.wav")));
    const WavFacts w = readWav(path("out.wav"));
    EXPECT_EQ(w.channels, 1);
    EXPECT_EQ(w.rate, 32000);
    EXPECT_NEAR(w.frames, 32000, 1152);
}

TEST_F(AudioDecoderTest, WmaRoundTrip) {
    ASSERT_TRUE(fixtures::WriteWma(path("in.wma"), fixtures::ArtistOnly(QStringLiteral("A"))));
    ASSERT_TRUE(fixtures::WriteWmaByFFmpeg(path("ff.wma"), {}));
    for (const char* in : {"in.wma", "ff.wma"}) {
        ASSERT_TRUE(decoder.DecodeWmaToWav(path(in), path("out.wav"), 600))
            << in << ": " << decoder.LastError().toStdString();
        const WavFacts w = readWav(path("out.wav"));
        EXPECT_EQ(w.channels, 2) << in;
        EXPECT_EQ(w.rate, 44100) << in;
        EXPECT_NEAR(w.frames, 22050, 2048) << in;
    }
}

TEST_F(AudioDecoderTest, WrongOrBrokenSourcesFailAndKeepTheTarget) {
    ASSERT_TRUE(fixtures::WriteBytes(path("keep.wav"), "old"));
    ASSERT_TRUE(fixtures::WriteBytes(path("junk.mp3"), QByteArray(3000, '\x5a')));
    ASSERT_TRUE(fixtures::WriteBytes(path("empty.wma"), {}));
    ASSERT_TRUE(fixtures::WriteMp3(path("real.mp3"), {}));
    ASSERT_TRUE(fixtures::WriteWma(path("real.wma"), {}));
    EXPECT_FALSE(decoder.DecodeMp3ToWav(path("missing.mp3"), path("keep.wav")));
    EXPECT_FALSE(decoder.DecodeMp3ToWav(path("junk.mp3"), path("keep.wav")));
    EXPECT_FALSE(decoder.DecodeWmaToWav(path("empty.wma"), path("keep.wav")));
    // Each operation takes only its own format.
    EXPECT_FALSE(decoder.DecodeMp3ToWav(path("real.wma"), path("keep.wav")));
    EXPECT_FALSE(decoder.DecodeWmaToWav(path("real.mp3"), path("keep.wav")));
    EXPECT_FALSE(decoder.LastError().isEmpty());
    EXPECT_EQ(fixtures::ReadBytes(path("keep.wav")), QByteArray("old"));
}

} // namespace
