#include "convert/EncoderConfig.h"

#include "convert/LameEncoder.h"
#include "convert/WmaEncoder.h"
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

int WmaPreset(const EncoderSettings& wma) {
    if (wma.BitrateMode == 1) {
        switch (wma.Bitrate) {
        case 0:
            return wma.VBRQuality + 15;
        case 48:
            return 9;
        case 64:
            return 10;
        case 96:
            return 11;
        case 160:
            return 13;
        case 192:
            return 14;
        default:
            return 12;
        }
    }
    switch (wma.Bitrate) {
    case 48:
        return 1;
    case 64:
        return 2;
    case 96:
        return 3;
    case 160:
        return 5;
    case 192:
        return 6;
    case 256:
        return 7;
    case 320:
        return 8;
    default:
        return 4;
    }
}

void Configure(wmaEncoder& encoder, const EncoderSettings& wma) {
    encoder.SetEncPreset(WmaPreset(wma));
}

void Configure(AudioEncoder& encoder, const AppSettings& settings) {
    if (auto* mp3 = qobject_cast<lameEncoder*>(&encoder))
        Configure(*mp3, settings.Mp3);
    else if (auto* wma = qobject_cast<wmaEncoder*>(&encoder))
        Configure(*wma, settings.Wma);
}

AppSettings StoredEncoderSettings() {
    AppSettings settings = DefaultSettings();
    for (const SettingRow& row : SettingsCatalogue()) {
        if (!row.path.startsWith(QLatin1String("Encoder\\")) || !row.load) continue;
        QString text = mainMod::ReadSetting(row.path, QString(), row.machineWide);
        row.load(settings, text.isEmpty() ? row.defaultText : text);
    }
    CorrectSettings(settings);
    return settings;
}

EncoderSettings StoredMp3Settings() {
    return StoredEncoderSettings().Mp3;
}

EncoderSettings StoredWmaSettings() {
    return StoredEncoderSettings().Wma;
}

QList<int> BitrateChoices(int format, int mode) {
    if (mode != 1 || format == Mp3Format) return {320, 256, 192, 160, 128, 96, 64, 48};
    return {0, 192, 160, 128, 96, 64, 48};
}

bool BitrateListShown(int format, int mode) {
    return !(format == Mp3Format && mode == 1);
}

bool SliderShown(int format, int mode, int bitrate) {
    if (mode != 1) return false;
    return format == Mp3Format || bitrate == 0;
}

int SliderMaximum(int format) {
    return format == Mp3Format ? 9 : 4;
}

int SliderPosition(int format, int quality) {
    const int max = SliderMaximum(format);
    const int q = qBound(0, quality, max);
    return format == Mp3Format ? max - q : q;
}

EncoderSettings ChoiceFromDialog(int format, int mode, int bitrate, int channelMode,
                                 int sliderPosition) {
    EncoderSettings s;
    s.BitrateMode = mode;
    s.Bitrate = bitrate;
    if (format == Mp3Format) {
        s.ChannelMode = channelMode;
        s.VBRQuality = 9 - sliderPosition;
    } else {
        s.ChannelMode = 1;
        s.VBRQuality = sliderPosition;
    }
    return s;
}

} // namespace convert
