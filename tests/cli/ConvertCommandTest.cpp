#include "cli/CliFixture.h"
#include "convert/ConvertTestAudio.h"
#include "core/Settings.h"
#include "support/AudioFixtures.h"

#include <taglib/asffile.h>
#include <taglib/mpegfile.h>

namespace {

class ConvertCommandTest : public CliTest {
protected:
    QString at(const char* name) const { return work() + QLatin1Char('/') + QLatin1String(name); }
};

TEST_F(ConvertCommandTest, EncodeThenDecodeRoundTrips) {
    ASSERT_TRUE(fixtures::WriteWav(at("in.wav"), 2.0));
    ProcessResult r = qvr({"encode", at("in.wav"), at("out.mp3"), "--preset", "6"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QLatin1String("100%"))) << r.err.toStdString();
    {
        TagLib::MPEG::File f(QFile::encodeName(at("out.mp3")).constData());
        ASSERT_TRUE(f.isValid());
        EXPECT_EQ(FrameBitrate(at("out.mp3")), 192);
    }
    r = qvr({"decode", at("out.mp3"), at("back.wav")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    convert::WavReader wav;
    ASSERT_TRUE(wav.open(at("back.wav")).ok());
    EXPECT_NEAR(wav.frames(), 88200, 1152);
}

TEST_F(ConvertCommandTest, EncodeWithoutPresetUsesTheStoredSettings) {
    ASSERT_TRUE(fixtures::WriteWav(at("in.wav"), 1.0));
    // The default settings: CBR 128 kbit/s, joint stereo.
    ProcessResult r = qvr({"encode", at("in.wav"), at("out.mp3")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    TagLib::MPEG::File f(QFile::encodeName(at("out.mp3")).constData());
    ASSERT_TRUE(f.isValid());
    EXPECT_EQ(FrameBitrate(at("out.mp3")), 128);
    EXPECT_EQ(f.audioProperties()->channelMode(), TagLib::MPEG::Header::JointStereo);
}

TEST_F(ConvertCommandTest, StoredSettingsAreCorrectedAndNotWrittenBack) {
    ASSERT_TRUE(fixtures::WriteWav(at("in.wav"), 1.0));
    ASSERT_TRUE(mainMod::WriteSetting(QStringLiteral("Encoder\\Mp3\\Bitrate"), "320"));
    ASSERT_TRUE(mainMod::WriteSetting(QStringLiteral("Encoder\\Mp3\\ChannelMode"), "3"));
    ProcessResult r = qvr({"encode", at("in.wav"), at("out.mp3")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(FrameBitrate(at("out.mp3")), 320);
    {
        TagLib::MPEG::File f(QFile::encodeName(at("out.mp3")).constData());
        EXPECT_EQ(f.audioProperties()->channels(), 1);
    }
    EXPECT_TRUE(mainMod::ReadSetting(QStringLiteral("Encoder\\Mp3\\VBRQuality")).isEmpty());

    // 100 is no bit rate of the list: the default 128 applies.
    ASSERT_TRUE(mainMod::WriteSetting(QStringLiteral("Encoder\\Mp3\\Bitrate"), "100"));
    r = qvr({"encode", at("in.wav"), at("out.mp3")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(FrameBitrate(at("out.mp3")), 128);
}

TEST_F(ConvertCommandTest, WmaByPresetAndFromTheStoredSettings) {
    ASSERT_TRUE(fixtures::WriteWav(at("in.wav"), 1.0));
    auto bitrate = [this] {
        TagLib::ASF::File f(QFile::encodeName(at("out.wma")).constData());
        return f.isValid() ? f.audioProperties()->bitrate() : -1;
    };
    ProcessResult r = qvr({"encode", at("in.wav"), at("out.wma"), "--preset", "2"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QLatin1String("100%"))) << r.err.toStdString();
    EXPECT_EQ(bitrate(), 64);

    // Default settings: CBR 128.
    r = qvr({"encode", at("in.wav"), at("out.wma")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(bitrate(), 128);

    // VBR at 256 is read as 192; quality-based VBR takes the quality.
    ASSERT_TRUE(mainMod::WriteSetting(QStringLiteral("Encoder\\Wma\\BitrateMode"), "1"));
    ASSERT_TRUE(mainMod::WriteSetting(QStringLiteral("Encoder\\Wma\\Bitrate"), "256"));
    r = qvr({"encode", at("in.wav"), at("out.wma")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(bitrate(), 192);
    ASSERT_TRUE(mainMod::WriteSetting(QStringLiteral("Encoder\\Wma\\Bitrate"), "0"));
    ASSERT_TRUE(mainMod::WriteSetting(QStringLiteral("Encoder\\Wma\\VBRQuality"), "0"));
    r = qvr({"encode", at("in.wav"), at("out.wma")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(bitrate(), 64);
}

TEST_F(ConvertCommandTest, FailuresSayWhyAndExitWithOne) {
    ASSERT_TRUE(fixtures::WriteBytes(at("junk.wav"), QByteArray(100, 'x')));
    ASSERT_TRUE(fixtures::WriteWav(at("in.wav"), 0.2));
    const QList<QStringList> runs = {
        {"encode", at("missing.wav"), at("out.mp3")},
        {"encode", at("junk.wav"), at("out.mp3")},
        {"encode", at("in.wav"), at("out.ogg")},
        {"encode", at("in.wav"), at("out.mp3"), "--preset", "99"},
        {"encode", at("in.wav"), at("out.wma"), "--preset", "0"},
        {"encode", at("junk.wav"), at("out.wma")},
        {"decode", at("missing.mp3"), at("out.wav")},
        {"decode", at("in.wav"), at("out.wav")},
        {"decode", at("junk.wav"), at("out.wma")},
    };
    for (const QStringList& args : runs) {
        const ProcessResult r = qvr(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(QLatin1String("qvr ")) || r.err.contains("qvr "))
            << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(at("out.mp3")));
    EXPECT_FALSE(QFile::exists(at("out.wma")));
    EXPECT_FALSE(QFile::exists(at("out.wav")));
}

} // namespace
