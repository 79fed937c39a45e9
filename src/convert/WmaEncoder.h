#pragma once
// wmaEncoder: encodes audio to WMA (wmav2 in ASF) with FFmpeg.
//
// The input is a WAV file, or any audio file FFmpeg reads (the conversion job
// hands over a source WMA or MP3 directly). EncPreset picks the bit rate (see
// docs/architecture/convert.md); -1 leaves it to VBRMode with VBRQuality or to
// Bitrate. FFmpeg's wmav2 has no VBR mode: VBR presets are encoded at the
// average bit rate they stand for. More than two channels are mixed to stereo.
#include "convert/AudioEncoder.h"

class wmaEncoder : public AudioEncoder {
    Q_OBJECT

public:
    explicit wmaEncoder(QObject* parent = nullptr);

    // The settings a preset number stands for; false for an unknown number.
    struct Choice {
        bool vbr = false;
        int bitrate = 128;
    };
    static bool PresetChoice(int preset, Choice& choice);
    // The bit rate that stands for a quality (0..4) in quality-based VBR.
    static int QualityBitrate(int quality);

protected:
    bool acceptsPreset(int preset) const override;
    int highestQuality() const override { return 4; }
    bool encode() override;
};
