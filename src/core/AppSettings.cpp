#include "core/AppSettings.h"

#include "core/Registry.h"
#include "core/Settings.h"

#include <QStandardPaths>
#include <algorithm>
#include <cmath>

using mainMod::NumberOr;
using mainMod::ReadSetting;
using mainMod::WriteSetting;

namespace {

QString flagText(bool b) {
    return b ? QStringLiteral("1") : QStringLiteral("0");
}

int toInt(double v) {
    return static_cast<int>(std::clamp(std::nearbyint(v), -2147483648.0, 2147483647.0));
}

// A number: the text, or the default when it is not numeric.
SettingRow number(const QString& path, int def, int AppSettings::*member) {
    return {path,
            QString::number(def),
            false,
            SettingRow::LoadSave,
            [=](AppSettings& s, const QString& raw) { s.*member = toInt(NumberOr(raw, def)); },
            [=](const AppSettings& s) { return QString::number(s.*member); }};
}

SettingRow encoderNumber(const QString& path, int def, EncoderSettings AppSettings::*encoder,
                         int EncoderSettings::*member) {
    return {path,
            QString::number(def),
            false,
            SettingRow::LoadSave,
            [=](AppSettings& s, const QString& raw) {
                (s.*encoder).*member = toInt(NumberOr(raw, def));
            },
            [=](const AppSettings& s) { return QString::number((s.*encoder).*member); }};
}

enum class FlagRule { NonZero, ExactlyOne, UnlessZero };

bool readFlag(const QString& raw, bool def, FlagRule rule) {
    switch (rule) {
    case FlagRule::ExactlyOne:
        return raw == QLatin1String("1");
    case FlagRule::UnlessZero:
        return raw != QLatin1String("0");
    case FlagRule::NonZero:
        break;
    }
    return NumberOr(raw, def ? 1 : 0) != 0;
}

SettingRow flag(const QString& path, bool def, bool AppSettings::*member,
                FlagRule rule = FlagRule::NonZero, bool machineWide = false,
                SettingRow::Handling handling = SettingRow::LoadSave) {
    return {path,
            flagText(def),
            machineWide,
            handling,
            [=](AppSettings& s, const QString& raw) { s.*member = readFlag(raw, def, rule); },
            [=](const AppSettings& s) { return flagText(s.*member); }};
}

SettingRow direct(const QString& path, const QString& def, bool machineWide = false) {
    return {path, def, machineWide, SettingRow::Direct, nullptr, nullptr};
}

QList<SettingRow> buildCatalogue() {
    static const int widths[AppSettings::ColumnCount] = {1400, 600,  1400, 1200, 1200, 1200,
                                                         800,  1200, 1200, 1200, 1400, 1400};
    static const bool shown[AppSettings::ColumnCount] = {true,  false, true, true,  true,  false,
                                                         false, false, true, false, false, false};
    QList<SettingRow> rows;
    rows << flag(QStringLiteral("MainWindow\\ShowToolBar"), true, &AppSettings::ShowToolBar)
         << number(QStringLiteral("MainWindow\\Width"), 10500, &AppSettings::Width)
         << number(QStringLiteral("MainWindow\\Height"), 7500, &AppSettings::Height)
         << number(QStringLiteral("MainWindow\\WindowState"), 0, &AppSettings::WindowState);
    for (int i = 0; i < AppSettings::ColumnCount; ++i) {
        const int def = widths[i];
        rows << SettingRow{
            QStringLiteral("List\\Columns\\C%1Width").arg(i + 1, 2, 10, QLatin1Char('0')),
            QString::number(def),
            false,
            SettingRow::LoadSave,
            [=](AppSettings& s, const QString& raw) {
                s.Columns[i].Width = toInt(NumberOr(raw, def));
            },
            [=](const AppSettings& s) { return QString::number(s.Columns[i].Width); }};
    }
    for (int i = 0; i < AppSettings::ColumnCount; ++i) {
        const bool def = shown[i];
        rows << SettingRow{
            QStringLiteral("List\\Columns\\C%1Show").arg(i + 1, 2, 10, QLatin1Char('0')),
            flagText(def),
            false,
            SettingRow::LoadSave,
            [=](AppSettings& s, const QString& raw) {
                s.Columns[i].Show = readFlag(raw, def, FlagRule::NonZero);
            },
            [=](const AppSettings& s) { return flagText(s.Columns[i].Show); }};
    }
    rows << flag(QStringLiteral("List\\ShowLogo"), true, &AppSettings::ShowLogo)
         << flag(QStringLiteral("Tree\\ShowFilters"), true, &AppSettings::ShowFilters)
         << flag(QStringLiteral("Tree\\ShowRatings"), true, &AppSettings::ShowRatings)
         << flag(QStringLiteral("Tree\\ShowVFolders"), true, &AppSettings::ShowVFolders)
         << number(QStringLiteral("Tree\\Width"), 3600, &AppSettings::TreeWidth)
         << flag(QStringLiteral("PlayOptions\\MPVisible"), false, &AppSettings::MPVisible)
         << flag(QStringLiteral("PlayOptions\\MPDefaultPlayer"), true,
                 &AppSettings::MPDefaultPlayer)
         << flag(QStringLiteral("PlayOptions\\WinampMenu"), true, &AppSettings::WinampMenu,
                 FlagRule::NonZero, false, SettingRow::LoadOnly);
    const auto mp3 = &AppSettings::Mp3;
    const auto wma = &AppSettings::Wma;
    rows << encoderNumber(QStringLiteral("Encoder\\Mp3\\Bitrate"), 128, mp3,
                          &EncoderSettings::Bitrate)
         << encoderNumber(QStringLiteral("Encoder\\Mp3\\BitrateMode"), 0, mp3,
                          &EncoderSettings::BitrateMode)
         << encoderNumber(QStringLiteral("Encoder\\Mp3\\ChannelMode"), 1, mp3,
                          &EncoderSettings::ChannelMode)
         << encoderNumber(QStringLiteral("Encoder\\Mp3\\VBRQuality"), 2, mp3,
                          &EncoderSettings::VBRQuality)
         << encoderNumber(QStringLiteral("Encoder\\Wma\\Bitrate"), 128, wma,
                          &EncoderSettings::Bitrate)
         << encoderNumber(QStringLiteral("Encoder\\Wma\\BitrateMode"), 0, wma,
                          &EncoderSettings::BitrateMode)
         << encoderNumber(QStringLiteral("Encoder\\Wma\\VBRQuality"), 3, wma,
                          &EncoderSettings::VBRQuality)
         << flag(QStringLiteral("WMsg\\LibRefreshResults"), true, &AppSettings::LibRefreshResults,
                 FlagRule::ExactlyOne)
         << flag(QStringLiteral("WMsg\\NewAudioCD"), true, &AppSettings::NewAudioCD,
                 FlagRule::ExactlyOne)
         << flag(QStringLiteral("Misc\\CheckForUpdates"), true, &AppSettings::CheckForUpdates,
                 FlagRule::UnlessZero)
         << flag(QStringLiteral("Misc\\ShowLoadWindow"), true, &AppSettings::ShowLoadWindow,
                 FlagRule::UnlessZero)
         << flag(QStringLiteral("Misc\\DefragDatabaseOnLoad"), true,
                 &AppSettings::DefragDatabaseOnLoad, FlagRule::UnlessZero, true)
         << direct(QStringLiteral("Misc\\LCID"), QString())
         << direct(QStringLiteral("LCID"), QString())
         << direct(QStringLiteral("Misc\\LastDBDefrag"), QString())
         << direct(QStringLiteral("Misc\\LastUpdateCheck"), QString())
         << direct(QStringLiteral("IndexingEngine\\ServicePort"), QStringLiteral("7009"), true)
         << direct(QStringLiteral("CD-Rip\\Last Rip Location"),
                   QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
         << direct(QStringLiteral("CD-Rip\\Create subfolder"), QStringLiteral("1"))
         << direct(QStringLiteral("CD-Rip\\Add2Library"), QStringLiteral("1"))
         << direct(QStringLiteral("CD-Rip\\FileName Format"), QStringLiteral("%N - %T"))
         << direct(QStringLiteral("CD-Rip\\Output Format"), QStringLiteral("0"));
    return rows;
}

template <size_t N> int oneOf(int value, const int (&allowed)[N], int fallback) {
    return std::find(std::begin(allowed), std::end(allowed), value) != std::end(allowed) ? value
                                                                                         : fallback;
}

int within(int value, int low, int high, int fallback) {
    return value >= low && value <= high ? value : fallback;
}

} // namespace

const QList<SettingRow>& SettingsCatalogue() {
    static const QList<SettingRow> rows = buildCatalogue();
    return rows;
}

void CorrectSettings(AppSettings& s) {
    static const int mp3Rates[] = {48, 64, 96, 128, 160, 192, 256, 320};
    static const int wmaRates[] = {0, 48, 64, 96, 128, 160, 192, 256, 320};
    if (s.WindowState != 0) s.WindowState = 2;
    s.Mp3.Bitrate = oneOf(s.Mp3.Bitrate, mp3Rates, 128);
    s.Mp3.BitrateMode = within(s.Mp3.BitrateMode, 0, 1, 0);
    s.Mp3.ChannelMode = within(s.Mp3.ChannelMode, 0, 3, 1);
    s.Mp3.VBRQuality = within(s.Mp3.VBRQuality, 0, 9, 2);
    s.Wma.Bitrate = oneOf(s.Wma.Bitrate, wmaRates, 128);
    // The bit rate is checked against the mode as it was read.
    if (s.Wma.BitrateMode != 1 && s.Wma.Bitrate == 0) s.Wma.Bitrate = 128;
    if (s.Wma.BitrateMode == 1 && s.Wma.Bitrate > 192) s.Wma.Bitrate = 192;
    s.Wma.BitrateMode = within(s.Wma.BitrateMode, 0, 1, 0);
    s.Wma.VBRQuality = within(s.Wma.VBRQuality, 0, 4, 3);
    s.Wma.ChannelMode = 0;
    s.ShowLibrary = true;
}

AppSettings DefaultSettings() {
    AppSettings settings;
    for (const SettingRow& row : SettingsCatalogue())
        if (row.load) row.load(settings, row.defaultText);
    CorrectSettings(settings);
    return settings;
}

void LoadSettings(AppSettings& settings, const std::function<bool()>& detectExternalPlayer) {
    // The defaults a first start writes go to each hive in one rewrite.
    Registry::Batch batch;
    for (const SettingRow& row : SettingsCatalogue()) {
        if (row.handling == SettingRow::Direct) continue;
        row.load(settings, ReadSetting(row.path, row.defaultText, row.machineWide));
    }
    batch.commit();
    CorrectSettings(settings);
    if (settings.WinampMenu && detectExternalPlayer) settings.WinampMenu = detectExternalPlayer();
}

void SaveSettings(AppSettings& settings) {
    settings.WindowState = settings.WindowState != 0 ? 2 : 0;
    Registry::Batch batch;
    for (const SettingRow& row : SettingsCatalogue()) {
        if (row.handling != SettingRow::LoadSave) continue;
        WriteSetting(row.path, row.text(settings), row.machineWide);
    }
}

quint16 PortFromText(const QString& text) {
    bool ok = false;
    const int port = text.trimmed().toInt(&ok);
    return ok && port >= 0 && port <= 65535 ? static_cast<quint16>(port) : 7009;
}

quint16 IndexingEnginePort() {
    return PortFromText(
        ReadSetting(QStringLiteral("IndexingEngine\\ServicePort"), QStringLiteral("7009"), true));
}
