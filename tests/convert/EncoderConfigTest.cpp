#include "convert/EncoderConfig.h"
#include "convert/LameEncoder.h"
#include "convert/WmaEncoder.h"

#include <gtest/gtest.h>

namespace {

TEST(EncoderConfigTest, VbrAndCbrChoicesReachTheEncoder) {
    lameEncoder vbr;
    vbr.SetBitrate(320);
    convert::Configure(vbr, EncoderSettings{192, 1, 3, 7});
    EXPECT_EQ(vbr.EncPreset(), -1);
    EXPECT_TRUE(vbr.VBRMode());
    EXPECT_EQ(vbr.VBRQuality(), 7);
    EXPECT_EQ(vbr.OutputChannelMode(), 3);
    EXPECT_EQ(vbr.Bitrate(), 320); // left alone

    lameEncoder cbr;
    convert::Configure(cbr, EncoderSettings{256, 0, 2, 5});
    EXPECT_EQ(cbr.EncPreset(), 12);
    EXPECT_EQ(cbr.Bitrate(), 256);
    EXPECT_EQ(cbr.SampleRate(), 44100);
    EXPECT_EQ(cbr.OutputChannelMode(), 2);

    // A value the encoder refuses is ignored, the rest still applies.
    lameEncoder odd;
    convert::Configure(odd, EncoderSettings{128, 1, 9, 2});
    EXPECT_EQ(odd.OutputChannelMode(), 1);
    EXPECT_EQ(odd.VBRQuality(), 2);
    EXPECT_TRUE(odd.VBRMode());
}

TEST(EncoderConfigTest, WmaPresetFollowsModeAndBitRate) {
    const struct {
        int mode, bitrate, quality, preset;
    } rows[] = {{1, 0, 0, 15},   {1, 0, 4, 19},   {1, 48, 2, 9},   {1, 64, 2, 10}, {1, 96, 2, 11},
                {1, 128, 2, 12}, {1, 160, 2, 13}, {1, 192, 2, 14}, {0, 48, 3, 1},  {0, 64, 3, 2},
                {0, 96, 3, 3},   {0, 128, 3, 4},  {0, 160, 3, 5},  {0, 192, 3, 6}, {0, 256, 3, 7},
                {0, 320, 3, 8},  {0, 0, 3, 4},    {1, 320, 3, 12}};
    for (const auto& r : rows) {
        wmaEncoder enc;
        enc.SetBitrate(320);
        convert::Configure(enc, EncoderSettings{r.bitrate, r.mode, 1, r.quality});
        EXPECT_EQ(enc.EncPreset(), r.preset) << r.mode << " " << r.bitrate << " " << r.quality;
        EXPECT_EQ(enc.Bitrate(), 320); // only the preset is set
    }
}

TEST(EncoderConfigTest, TheEncoderTypeChoosesTheBlock) {
    AppSettings s;
    s.Mp3 = EncoderSettings{256, 0, 0, 2};
    s.Wma = EncoderSettings{0, 1, 0, 4};
    lameEncoder mp3;
    wmaEncoder wma;
    AudioEncoder& a = mp3;
    AudioEncoder& b = wma;
    convert::Configure(a, s);
    convert::Configure(b, s);
    EXPECT_EQ(mp3.EncPreset(), 12);
    EXPECT_EQ(mp3.Bitrate(), 256);
    EXPECT_EQ(wma.EncPreset(), 19);
}

TEST(EncoderConfigTest, DialogRulesForListsSliderAndStoredValues) {
    using namespace convert;
    EXPECT_EQ(BitrateChoices(Mp3Format, 0), (QList<int>{320, 256, 192, 160, 128, 96, 64, 48}));
    EXPECT_EQ(BitrateChoices(WmaFormat, 0), BitrateChoices(Mp3Format, 0));
    EXPECT_EQ(BitrateChoices(WmaFormat, 1), (QList<int>{0, 192, 160, 128, 96, 64, 48}));
    EXPECT_FALSE(BitrateListShown(Mp3Format, 1));
    EXPECT_TRUE(BitrateListShown(WmaFormat, 1));
    EXPECT_TRUE(SliderShown(Mp3Format, 1, 320));
    EXPECT_FALSE(SliderShown(Mp3Format, 0, 128));
    EXPECT_TRUE(SliderShown(WmaFormat, 1, 0));
    EXPECT_FALSE(SliderShown(WmaFormat, 1, 128));

    // MP3 stores 9 - position; WMA the position itself and channel mode 1.
    EXPECT_EQ(ChoiceFromDialog(Mp3Format, 1, 320, 2, 9).VBRQuality, 0);
    EXPECT_EQ(ChoiceFromDialog(Mp3Format, 1, 320, 2, 0).VBRQuality, 9);
    EXPECT_EQ(ChoiceFromDialog(Mp3Format, 1, 320, 2, 0).ChannelMode, 2);
    const EncoderSettings wma = ChoiceFromDialog(WmaFormat, 1, 0, 3, 4);
    EXPECT_EQ(wma.VBRQuality, 4);
    EXPECT_EQ(wma.ChannelMode, 1);
    EXPECT_EQ(wma.Bitrate, 0);
    EXPECT_EQ(WmaPreset(wma), 19);
    EXPECT_EQ(SliderPosition(Mp3Format, 2), 7);
    EXPECT_EQ(SliderPosition(WmaFormat, 3), 3);
}

} // namespace
