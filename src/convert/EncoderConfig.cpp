#include "convert/EncoderConfig.h"

#include "convert/LameEncoder.h"
#include "core/Settings.h"

namespace convert {

void Configure(lameEncoder& encoder, const EncoderSettings& mp3) {
    if (mp3.BitrateMode == 1) {
        encoder.SetEncPreset(-1);
        encoder.SetVBRMode(true);
        encoder.SetVBRQuality(mp3.VBRQuality);
    } else {
        encoder.SetEncPreset(12);
        encoder.SetBitrate(mp3.Bitrate);
        encoder.SetSampleRate(44100);
    }
    encoder.SetOutputChannelMode(mp3.ChannelMode);
}

EncoderSettings StoredMp3Settings() {
    AppSettings settings = DefaultSettings();
    for (const SettingRow& row : SettingsCatalogue()) {
        if (!row.path.startsWith(QLatin1String("Encoder\\Mp3\\")) || !row.load) continue;
        QString text = mainMod::ReadSetting(row.path, QString(), row.machineWide);
        row.load(settings, text.isEmpty() ? row.defaultText : text);
    }
    CorrectSettings(settings);
    return settings.Mp3;
}

} // namespace convert
