#include "convert/EncoderConfig.h"
#include "convert/LameEncoder.h"

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

} // namespace
