#pragma once
// The user's encoding choices: applying them to an encoder just before it is
// used, reading them from the store, and the rules of the settings dialog.
#include "core/AppSettings.h"

#include <QList>

class AudioEncoder;
class lameEncoder;
class wmaEncoder;

namespace convert {

enum EncoderFormat { Mp3Format = 0, WmaFormat = 1 };

// VBR: preset -1 with the VBR quality; CBR: preset 12 with the bit rate at
// 44.1 kHz; the channel mode in both cases. Refused values are ignored.
void Configure(lameEncoder& encoder, const EncoderSettings& mp3);
// Only the preset is set: VBR quality-based 15 + quality, VBR 48/64/96/160/192
// 9/10/11/13/14 (else 12), CBR 48/64/96/160 1/2/3/5, 192/256/320 6/7/8 (else 4).
void Configure(wmaEncoder& encoder, const EncoderSettings& wma);
int WmaPreset(const EncoderSettings& wma);
// The block of the encoder's own format (chosen by its type).
void Configure(AudioEncoder& encoder, const AppSettings& settings);

// The stored choices, read and corrected as at start-up, without writing any
// defaults back.
AppSettings StoredEncoderSettings();
EncoderSettings StoredMp3Settings();
EncoderSettings StoredWmaSettings();

// The settings dialog. The bit-rate list for a format and mode, in the order
// shown; 0 stands for the quality-based entry. For MP3 VBR the list keeps the
// CBR rates but is hidden (OK still stores its choice).
QList<int> BitrateChoices(int format, int mode);
bool BitrateListShown(int format, int mode);
// Whether the VBR slider shows for the mode and the chosen bit rate.
bool SliderShown(int format, int mode, int bitrate);
// The slider runs 0..9 for MP3 (quality 9 - position: right is better) and 0..4
// for WMA (the quality itself).
int SliderMaximum(int format);
int SliderPosition(int format, int quality);
// What OK stores for the dialog's selections; bitrate is the chosen entry's value.
EncoderSettings ChoiceFromDialog(int format, int mode, int bitrate, int channelMode,
                                 int sliderPosition);

} // namespace convert
