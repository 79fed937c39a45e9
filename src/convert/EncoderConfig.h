#pragma once
// Applying the user's encoding choices to an encoder just before it is used.
#include "core/AppSettings.h"

class lameEncoder;

namespace convert {

// VBR: preset -1 with the VBR quality; CBR: preset 12 with the bit rate at
// 44.1 kHz; the channel mode in both cases. Refused values are ignored.
void Configure(lameEncoder& encoder, const EncoderSettings& mp3);

// The stored MP3 choices, read and corrected as at start-up, without writing
// any defaults back.
EncoderSettings StoredMp3Settings();

} // namespace convert
