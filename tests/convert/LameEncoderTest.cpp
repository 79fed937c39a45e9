#include "convert/LameEncoder.h"
#include "convert/ConvertTestAudio.h"
#include "support/AudioFixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <taglib/mpegfile.h>
#include <taglib/xingheader.h>

namespace {

constexpr int FrameMs = 1152 * 1000 / 44100 + 1;

class LameEncoderTest : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    bool encode(lameEncoder& enc, const QString& in, const QString& out) {
        enc.SetInputFile(in);
        enc.SetOutputFile(out);
        return enc.Encode();
    }
    QTemporaryDir dir;
};

TEST_F(LameEncoderTest, CbrKeepsFormatBitRateAndDuration) {
    ASSERT_TRUE(fixtures::WriteWav(path("in.wav"), 3.0));
    lameEncoder enc;
    enc.SetEncPreset(12);
    enc.SetBitrate(192);
    enc.SetSampleRate(44100);
    ASSERT_TRUE(encode(enc, path("in.wav"), path("out.mp3"))) << enc.LastError().toStdString();
    TagLib::MPEG::File f(QFile::encodeName(path("out.mp3")).constData());
    ASSERT_TRUE(f.isValid());
    const auto* p = f.audioProperties();
    EXPECT_EQ(p->sampleRate(), 44100);
    EXPECT_EQ(p->channels(), 2);
    EXPECT_EQ(FrameBitrate(path("out.mp3")), 192);
    EXPECT_NEAR(p->lengthInMilliseconds(), 3000, 2 * FrameMs);
}

TEST_F(LameEncoderTest, VbrDurationComesFromTheWrittenBackTag) {
    ASSERT_TRUE(WriteToneWav(path("in.wav"), 6.0, 2, 44100, true));
    lameEncoder enc;
    enc.SetEncPreset(-1);
    enc.SetVBRMode(true);
    enc.SetVBRQuality(2);
    ASSERT_TRUE(encode(enc, path("in.wav"), path("out.mp3"))) << enc.LastError().toStdString();
    TagLib::MPEG::File f(QFile::encodeName(path("out.mp3")).constData());
    ASSERT_TRUE(f.isValid());
    const auto* xing = f.audioProperties()->xingHeader();
    ASSERT_NE(xing, nullptr);
    EXPECT_TRUE(xing->isValid());
    EXPECT_GT(xing->totalFrames(), 0u);
    EXPECT_NEAR(f.audioProperties()->lengthInMilliseconds(), 6000, 2 * FrameMs);
}

TEST_F(LameEncoderTest, ChannelModesReachTheStream) {
    ASSERT_TRUE(WriteToneWav(path("in.wav"), 1.0));
    const std::pair<int, TagLib::MPEG::Header::ChannelMode> modes[] = {
        {0, TagLib::MPEG::Header::Stereo},
        {1, TagLib::MPEG::Header::JointStereo},
        {2, TagLib::MPEG::Header::DualChannel},
        {3, TagLib::MPEG::Header::SingleChannel}};
    for (const auto& [mode, expected] : modes) {
        lameEncoder enc;
        enc.SetEncPreset(4);
        ASSERT_TRUE(enc.SetOutputChannelMode(mode));
        const QString out = path("out.mp3");
        ASSERT_TRUE(encode(enc, path("in.wav"), out)) << mode;
        TagLib::MPEG::File f(QFile::encodeName(out).constData());
        ASSERT_TRUE(f.isValid());
        EXPECT_EQ(f.audioProperties()->channelMode(), expected) << "mode " << mode;
        EXPECT_EQ(f.audioProperties()->channels(), mode == 3 ? 1 : 2) << "mode " << mode;
    }
}

TEST_F(LameEncoderTest, MonoInputAndOtherRates) {
    ASSERT_TRUE(WriteToneWav(path("in.wav"), 2.0, 1, 22050));
    lameEncoder enc;
    enc.SetEncPreset(2); // CBR 64
    enc.SetOutputChannelMode(0);
    ASSERT_TRUE(encode(enc, path("in.wav"), path("out.mp3"))) << enc.LastError().toStdString();
    TagLib::MPEG::File f(QFile::encodeName(path("out.mp3")).constData());
    ASSERT_TRUE(f.isValid());
    EXPECT_EQ(f.audioProperties()->channels(), 1);
    EXPECT_EQ(f.audioProperties()->sampleRate(), 22050);
    EXPECT_EQ(FrameBitrate(path("out.mp3")), 64);
    EXPECT_NEAR(f.audioProperties()->lengthInMilliseconds(), 2000, 2 * 1152 * 1000 / 22050);
}

TEST_F(LameEncoderTest, BadInputsFailWithoutTouchingTheTarget) {
    ASSERT_TRUE(fixtures::WriteBytes(path("keep.mp3"), "old"));
    ASSERT_TRUE(fixtures::WriteBytes(path("junk.wav"), QByteArray(5000, 'x')));
    QByteArray eightBit = fixtures::ReadBytes(path("keep.mp3"));
    ASSERT_TRUE(fixtures::WriteWav(path("good.wav"), 0.2));
    QByteArray wav = fixtures::ReadBytes(path("good.wav"));
    wav[34] = 8; // bits per sample
    ASSERT_TRUE(fixtures::WriteBytes(path("8bit.wav"), wav));
    ASSERT_TRUE(fixtures::WriteBytes(path("short.wav"), wav.left(20)));
    for (const char* in : {"missing.wav", "junk.wav", "8bit.wav", "short.wav"}) {
        lameEncoder enc;
        EXPECT_FALSE(encode(enc, path(in), path("keep.mp3"))) << in;
        EXPECT_FALSE(enc.LastError().isEmpty()) << in;
        EXPECT_EQ(fixtures::ReadBytes(path("keep.mp3")), eightBit) << in;
    }
}

TEST_F(LameEncoderTest, TruncatedDataChunkEncodesWhatIsThere) {
    ASSERT_TRUE(fixtures::WriteWav(path("in.wav"), 2.0));
    const QByteArray wav = fixtures::ReadBytes(path("in.wav"));
    ASSERT_TRUE(fixtures::WriteBytes(path("cut.wav"), wav.left(44 + 44100 * 4)));
    lameEncoder enc;
    enc.SetEncPreset(4);
    ASSERT_TRUE(encode(enc, path("cut.wav"), path("out.mp3")));
    TagLib::MPEG::File f(QFile::encodeName(path("out.mp3")).constData());
    EXPECT_NEAR(f.audioProperties()->lengthInMilliseconds(), 1000, 2 * FrameMs);
}

TEST_F(LameEncoderTest, AbortFromProgressStopsAndLeavesNoFile) {
    ASSERT_TRUE(fixtures::WriteWav(path("in.wav"), 20.0));
    lameEncoder enc;
    enc.SetEncPreset(4);
    float last = 0;
    QObject::connect(&enc, &lameEncoder::EncodingProgress, [&](float percent) {
        last = percent;
        if (percent > 20) enc.Abort();
    });
    EXPECT_FALSE(encode(enc, path("in.wav"), path("out.mp3")));
    EXPECT_LT(last, 50);
    EXPECT_FALSE(QFile::exists(path("out.mp3")));

    // The next run starts afresh and reports up to 100.
    QObject::disconnect(&enc, nullptr, nullptr, nullptr);
    QObject::connect(&enc, &lameEncoder::EncodingProgress, [&](float p) { last = p; });
    EXPECT_TRUE(enc.Encode());
    EXPECT_FLOAT_EQ(last, 100.0f);
}

TEST_F(LameEncoderTest, SettersRefuseValuesOutOfRange) {
    lameEncoder enc;
    EXPECT_FALSE(enc.SetEncPreset(99));
    EXPECT_EQ(enc.EncPreset(), -1);
    EXPECT_FALSE(enc.SetVBRQuality(10));
    EXPECT_FALSE(enc.SetOutputChannelMode(4));
    EXPECT_FALSE(enc.SetSampleRate(12345));
    EXPECT_FALSE(enc.SetBitrate(1000));
    EXPECT_TRUE(enc.setProperty("Bitrate", 256));
    EXPECT_EQ(enc.Bitrate(), 256);
    lameEncoder::Choice c;
    ASSERT_TRUE(lameEncoder::PresetChoice(17, c));
    EXPECT_TRUE(c.vbr);
    EXPECT_EQ(c.quality, 4);
}

} // namespace
