#pragma once
// lameEncoder: encodes a 16-bit PCM WAV file to MP3 with libmp3lame.
//
// EncPreset chooses the encoding; -1 and 12 leave it to the other properties
// (VBRMode with VBRQuality, or Bitrate), the others are fixed presets (see
// docs/architecture/convert.md). OutputChannelMode: 0 stereo, 1 joint stereo,
// 2 dual channel, 3 mono.
#include "convert/AudioEncoder.h"

class lameEncoder : public AudioEncoder {
    Q_OBJECT

public:
    explicit lameEncoder(QObject* parent = nullptr);

    // The settings a preset number stands for; false for an unknown number.
    struct Choice {
        bool vbr = false;
        int bitrate = 128;
        int quality = 2;
    };
    static bool PresetChoice(int preset, Choice& choice);

protected:
    bool acceptsPreset(int preset) const override;
    bool encode() override;
};
