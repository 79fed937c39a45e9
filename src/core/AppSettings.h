#pragma once
// The in-memory copy of the settings catalogue, loaded once at start-up and
// saved once at shut-down.
#include <QList>
#include <QString>
#include <array>
#include <functional>

struct ColumnSetting {
    bool Show = false;
    int Width = 0; // twips
};

struct EncoderSettings {
    int Bitrate = 128; // kbit/s
    int BitrateMode = 0;
    int ChannelMode = 0;
    int VBRQuality = 0;
};

struct AppSettings {
    static constexpr int ColumnCount = 12;

    bool ShowToolBar = true;
    int Width = 10500;   // twips
    int Height = 7500;   // twips
    int WindowState = 0; // 0 normal, 2 maximised
    std::array<ColumnSetting, ColumnCount> Columns{};
    bool ShowLogo = true;
    bool ShowLibrary = true; // the library branch is always shown
    bool ShowFilters = true;
    bool ShowRatings = true;
    bool ShowVFolders = true;
    int TreeWidth = 3600; // twips
    bool MPVisible = false;
    bool MPDefaultPlayer = true;
    bool WinampMenu = true;
    EncoderSettings Mp3{128, 0, 1, 2};
    EncoderSettings Wma{128, 0, 0, 3};
    bool LibRefreshResults = true;
    bool NewAudioCD = true;
    bool CheckForUpdates = true;
    bool ShowLoadWindow = true;
    bool DefragDatabaseOnLoad = true;
};

// One row of the settings catalogue.
struct SettingRow {
    enum Handling { LoadSave, LoadOnly, Direct };
    QString path;
    QString defaultText;
    bool machineWide = false;
    Handling handling = LoadSave;
    // Sets the in-memory value from the text read (load rows).
    std::function<void(AppSettings&, const QString&)> load;
    // The in-memory value as stored text (load rows).
    std::function<QString(const AppSettings&)> text;
};

// Every row, in catalogue order.
const QList<SettingRow>& SettingsCatalogue();

// The settings as a first start has them: every row at its default.
AppSettings DefaultSettings();

// Reads every load row and applies the corrections. When the external-player
// menu flag is on afterwards, it becomes the answer of detectExternalPlayer
// (when one is given). The defaults it writes cost one rewrite per hive.
void LoadSettings(AppSettings& settings,
                  const std::function<bool()>& detectExternalPlayer = nullptr);
// Writes every save row, in one rewrite per hive.
void SaveSettings(AppSettings& settings);
// The corrections LoadSettings applies after reading.
void CorrectSettings(AppSettings& settings);

// The indexing engine's TCP port: the machine-wide setting when it is a number
// from 0 to 65535, else 7009.
quint16 IndexingEnginePort();
// The port a setting text stands for, by the same rule.
quint16 PortFromText(const QString& text);
