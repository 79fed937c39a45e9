#include "core/Settings.h"
#include "cli/Qvr.h"
#include "core/AppInfo.h"
#include "core/AppSettings.h"
#include "core/HiveFile.h"
#include "core/Registry.h"
#include "support/TestEnv.h"

using mainMod::ReadSetting;
using mainMod::WriteSetting;

namespace {
const QString kRoot = "Software\\Kestrel\\Quavero";
QString raw(const QString& key, const QString& name, qint32 root = Registry::CurrentUser) {
    return Registry::GetValue(root, kRoot + (key.isEmpty() ? QString() : "\\" + key), name);
}
} // namespace

class SettingsTest : public ConfigDirTest {};

TEST_F(SettingsTest, DefaultsAreWrittenOnFirstReadOnlyWhenNotEmpty) {
    EXPECT_EQ(mainMod::SettingsRoot(), kRoot);
    EXPECT_EQ(ReadSetting("Misc\\Mode", "7"), "7");
    EXPECT_EQ(raw("Misc", "Mode"), "7");
    EXPECT_EQ(ReadSetting("Misc\\Other"), "");
    EXPECT_TRUE(Registry::CreateKey(Registry::CurrentUser, kRoot + "\\Misc"));
    ASSERT_TRUE(WriteSetting("Misc\\Mode", "9"));
    EXPECT_EQ(ReadSetting("Misc\\Mode", "7"), "9") << "a stored value wins over the default";

    // A value directly under the root, and the machine-wide hive.
    ASSERT_TRUE(WriteSetting("LCID", "2070"));
    EXPECT_EQ(raw("", "LCID"), "2070");
    EXPECT_EQ(ReadSetting("IndexingEngine\\ServicePort", "7009", true), "7009");
    EXPECT_EQ(raw("IndexingEngine", "ServicePort", Registry::LocalMachine), "7009");
    EXPECT_EQ(raw("IndexingEngine", "ServicePort"), "") << "not in the user hive";
}

TEST_F(SettingsTest, NonStringValueReadsAsDefaultAndIsReplaced) {
    ASSERT_TRUE(Registry::CreateKey(Registry::CurrentUser, kRoot + "\\Tree"));
    Registry::SetRawValue(Registry::CurrentUser, kRoot + "\\Tree", RegValue::dword("Width", 5000));
    AppSettings s;
    LoadSettings(s);
    EXPECT_EQ(s.TreeWidth, 3600);
    EXPECT_EQ(raw("Tree", "Width"), "3600");
}

TEST_F(SettingsTest, NumberOrAcceptsOnlyNumbers) {
    EXPECT_EQ(mainMod::NumberOr("42", 1), 42);
    EXPECT_EQ(mainMod::NumberOr(" -3.5 ", 1), -3.5);
    EXPECT_EQ(mainMod::NumberOr("abc", 600), 600);
    EXPECT_EQ(mainMod::NumberOr("", 600), 600);
    EXPECT_EQ(mainMod::NumberOr("12abc", 600), 600);
    EXPECT_EQ(mainMod::NumberOr("inf", 600), 600);
}

TEST_F(SettingsTest, FirstLoadFillsTheStoreWithDefaults) {
    AppSettings s;
    LoadSettings(s);
    const AppSettings defaults = DefaultSettings();
    for (const SettingRow& row : SettingsCatalogue()) {
        if (row.handling == SettingRow::Direct) continue;
        EXPECT_EQ(row.text(defaults), row.text(s)) << row.path.toStdString();
        const QString key = row.path.section('\\', 0, -2);
        EXPECT_EQ(raw(key, row.path.section('\\', -1),
                      row.machineWide ? Registry::LocalMachine : Registry::CurrentUser),
                  row.defaultText)
            << row.path.toStdString();
    }
}

TEST_F(SettingsTest, FlagReadingRules) {
    WriteSetting("Misc\\ShowLoadWindow", "false");
    WriteSetting("Misc\\CheckForUpdates", "0");
    WriteSetting("WMsg\\NewAudioCD", "true");
    WriteSetting("WMsg\\LibRefreshResults", "1");
    WriteSetting("List\\ShowLogo", "-1");
    WriteSetting("Tree\\ShowRatings", "yes"); // not numeric: the default (on)
    WriteSetting("Tree\\ShowFilters", "0");
    AppSettings s;
    LoadSettings(s);
    EXPECT_TRUE(s.ShowLoadWindow) << "only \"0\" switches the splash off";
    EXPECT_FALSE(s.CheckForUpdates);
    EXPECT_FALSE(s.NewAudioCD) << "only \"1\" switches it on";
    EXPECT_TRUE(s.LibRefreshResults);
    EXPECT_TRUE(s.ShowLogo);
    EXPECT_TRUE(s.ShowRatings);
    EXPECT_FALSE(s.ShowFilters);
    EXPECT_TRUE(s.ShowLibrary);
}

TEST_F(SettingsTest, LoadCorrectionsApplyInMemoryUntilSaved) {
    WriteSetting("List\\Columns\\C02Width", "abc");
    WriteSetting("Encoder\\Mp3\\Bitrate", "100");
    WriteSetting("Encoder\\Mp3\\BitrateMode", "3");
    WriteSetting("Encoder\\Mp3\\ChannelMode", "4");
    WriteSetting("Encoder\\Mp3\\VBRQuality", "10");
    WriteSetting("Encoder\\Wma\\Bitrate", "256");
    WriteSetting("Encoder\\Wma\\BitrateMode", "1");
    WriteSetting("Encoder\\Wma\\VBRQuality", "5");
    WriteSetting("MainWindow\\WindowState", "1");
    AppSettings s;
    LoadSettings(s);
    EXPECT_EQ(s.Columns[1].Width, 600);
    EXPECT_EQ(s.Mp3.Bitrate, 128);
    EXPECT_EQ(s.Mp3.BitrateMode, 0);
    EXPECT_EQ(s.Mp3.ChannelMode, 1);
    EXPECT_EQ(s.Mp3.VBRQuality, 2);
    EXPECT_EQ(s.Wma.Bitrate, 192);
    EXPECT_EQ(s.Wma.VBRQuality, 3);
    EXPECT_EQ(s.Wma.ChannelMode, 0);
    EXPECT_EQ(s.WindowState, 2);
    EXPECT_EQ(raw("Encoder\\Mp3", "Bitrate"), "100") << "corrections are not written at load";

    SaveSettings(s);
    EXPECT_EQ(raw("List\\Columns", "C02Width"), "600");
    EXPECT_EQ(raw("Encoder\\Mp3", "Bitrate"), "128");
    EXPECT_EQ(raw("Encoder\\Wma", "Bitrate"), "192");
    EXPECT_EQ(raw("MainWindow", "WindowState"), "2");
}

TEST_F(SettingsTest, WmaBitrateDependsOnTheModeAsRead) {
    struct Case {
        const char *rate, *mode;
        int expectRate, expectMode;
    } cases[] = {{"0", "0", 128, 0}, {"0", "1", 0, 1},     {"320", "0", 320, 0},
                 {"0", "7", 128, 0}, {"160", "1", 160, 1}, {"100", "1", 128, 1}};
    for (const Case& c : cases) {
        WriteSetting("Encoder\\Wma\\Bitrate", c.rate);
        WriteSetting("Encoder\\Wma\\BitrateMode", c.mode);
        AppSettings s;
        LoadSettings(s);
        EXPECT_EQ(s.Wma.Bitrate, c.expectRate) << c.rate << "/" << c.mode;
        EXPECT_EQ(s.Wma.BitrateMode, c.expectMode) << c.rate << "/" << c.mode;
    }
}

TEST_F(SettingsTest, SaveWritesLoadSaveRowsOnly) {
    AppSettings s;
    LoadSettings(s, [] { return false; });
    EXPECT_FALSE(s.WinampMenu) << "replaced by the detection result";
    s.WinampMenu = true;
    s.WindowState = 5;
    s.Columns[11] = {true, 2222};
    s.DefragDatabaseOnLoad = false;
    WriteSetting("PlayOptions\\WinampMenu", "0");
    SaveSettings(s);
    EXPECT_EQ(s.WindowState, 2);
    EXPECT_EQ(raw("PlayOptions", "WinampMenu"), "0") << "never written by SaveSettings";
    EXPECT_EQ(raw("List\\Columns", "C12Show"), "1");
    EXPECT_EQ(raw("List\\Columns", "C12Width"), "2222");
    EXPECT_EQ(raw("Misc", "DefragDatabaseOnLoad", Registry::LocalMachine), "0");
    EXPECT_EQ(raw("Misc", "LastDBDefrag"), "") << "direct rows are not touched";

    AppSettings again;
    LoadSettings(again);
    EXPECT_EQ(again.Columns[11].Width, 2222);
    EXPECT_FALSE(again.DefragDatabaseOnLoad);
}

TEST_F(SettingsTest, ServicePortFallsBackOutsideItsRange) {
    EXPECT_EQ(IndexingEnginePort(), 7009);
    WriteSetting("IndexingEngine\\ServicePort", "8123", true);
    EXPECT_EQ(IndexingEnginePort(), 8123);
    EXPECT_EQ(PortFromText("65536"), 7009);
    EXPECT_EQ(PortFromText("-1"), 7009);
    EXPECT_EQ(PortFromText("http"), 7009);
    EXPECT_EQ(PortFromText("0"), 0);
}

TEST_F(SettingsTest, CommandLineReadsWritesAndShowsEffectiveValues) {
    EXPECT_EQ(runTool(QVR_EXECUTABLE, {"settings", "set", "Encoder\\Mp3\\Bitrate", "100"}).exitCode,
              0);
    EXPECT_EQ(
        runTool(QVR_EXECUTABLE, {"settings", "set", "Misc\\DefragDatabaseOnLoad", "0", "--machine"})
            .exitCode,
        0);
    ProcessResult get = runTool(QVR_EXECUTABLE, {"settings", "get", "Encoder\\Mp3\\Bitrate"});
    EXPECT_EQ(get.exitCode, 0);
    EXPECT_EQ(get.out, "100\n");

    ProcessResult eff = runTool(QVR_EXECUTABLE, {"settings", "effective"});
    ASSERT_EQ(eff.exitCode, 0) << eff.err.toStdString();
    EXPECT_TRUE(eff.out.contains("Encoder\\Mp3\\Bitrate\t128\n"));
    EXPECT_TRUE(eff.out.contains("Misc\\DefragDatabaseOnLoad\t0\n"));
    EXPECT_TRUE(eff.out.contains("List\\Columns\\C01Show\t1\n"));
    EXPECT_TRUE(eff.out.contains("IndexingEngine\\ServicePort\t7009\n"));
    EXPECT_TRUE(eff.out.contains("CD-Rip\\FileName Format\t%N - %T\n"));
    EXPECT_EQ(eff.out.count('\n'), SettingsCatalogue().size());

    EXPECT_EQ(runTool(QVR_EXECUTABLE, {"settings", "delete", "Encoder\\Mp3\\Bitrate"}).exitCode, 0);
    EXPECT_EQ(runTool(QVR_EXECUTABLE, {"settings", "delete", "Encoder\\Mp3\\Bitrate"}).exitCode, 1);
    EXPECT_EQ(runTool(QVR_EXECUTABLE, {"settings", "frobnicate"}).exitCode, 2);
}

namespace {
quint64 rewrites(qint32 root) {
    return HiveFile::at(Registry::HivePath(root), Registry::RootName(root))->writeCount();
}
} // namespace

TEST_F(SettingsTest, DefaultsOfAFirstStartAreWrittenInOneRewritePerHive) {
    AppSettings s;
    LoadSettings(s);
    EXPECT_EQ(rewrites(Registry::CurrentUser), 1u);
    EXPECT_EQ(rewrites(Registry::LocalMachine), 1u);
    EXPECT_EQ(raw("Tree", "Width"), "3600");
    LoadSettings(s);
    EXPECT_EQ(rewrites(Registry::CurrentUser), 1u) << "nothing left to write";
    SaveSettings(s);
    EXPECT_EQ(rewrites(Registry::CurrentUser), 1u) << "every value already as saved";
    s.TreeWidth = 4000;
    s.ShowLogo = false;
    SaveSettings(s);
    EXPECT_EQ(rewrites(Registry::CurrentUser), 2u);

    // Outside a batch a default is still written at once.
    EXPECT_EQ(ReadSetting("Misc\\Fresh", "1"), "1");
    EXPECT_EQ(rewrites(Registry::CurrentUser), 3u);

    // The command line's first look at the settings also writes once per hive.
    ScopedEnv elsewhere("QUAVERO_CONFIG_DIR", configDir() + "/other");
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    ASSERT_EQ(qvr::run({"settings", "effective"}, {outStream, errStream}), 0);
    outStream.flush();
    EXPECT_EQ(out.count('\n'), SettingsCatalogue().size());
    EXPECT_EQ(rewrites(Registry::CurrentUser), 1u);
    EXPECT_EQ(rewrites(Registry::LocalMachine), 1u);
    EXPECT_EQ(raw("CD-Rip", "FileName Format"), "%N - %T") << "direct rows too";
}

TEST_F(SettingsTest, BatchedChangesAreReadBackAndMergedWithOtherWriters) {
    ASSERT_TRUE(WriteSetting("Misc\\Mode", "1"));
    const quint64 before = rewrites(Registry::CurrentUser);
    {
        Registry::Batch batch;
        ASSERT_TRUE(WriteSetting("Misc\\Mode", "2"));
        EXPECT_EQ(ReadSetting("Misc\\Mode"), "2") << "read back before the file is written";
        EXPECT_EQ(rewrites(Registry::CurrentUser), before);
        // Another process writes meanwhile; its value survives the batch's write.
        ASSERT_EQ(runTool(QVR_EXECUTABLE, {"settings", "set", "Misc\\Other", "theirs"}).exitCode,
                  0);
        EXPECT_EQ(ReadSetting("Misc\\Other"), "theirs");
        EXPECT_EQ(ReadSetting("Misc\\Mode"), "2");
        EXPECT_TRUE(WriteSetting("Misc\\Late", "3"));
        EXPECT_FALSE(Registry::SetValue(Registry::CurrentUser, kRoot + "\\Nowhere", "v", "x"))
            << "a missing key fails at once";
    }
    EXPECT_EQ(rewrites(Registry::CurrentUser), before + 1);
    const QString file = QString::fromUtf8(readFile(hivePath("HKEY_CURRENT_USER")));
    EXPECT_TRUE(file.contains("\"Mode\"=\"2\""));
    EXPECT_TRUE(file.contains("\"Other\"=\"theirs\""));
    EXPECT_TRUE(file.contains("\"Late\"=\"3\""));
}

TEST_F(SettingsTest, CommandLineRefusesBadNamesAndWarnsAboutBadLines) {
    ASSERT_EQ(runTool(QVR_EXECUTABLE, {"settings", "set", "Misc\\LCID", "1031"}).exitCode, 0);
    const ProcessResult bad = runTool(QVR_EXECUTABLE, {"settings", "set", "Misc\\a\nb", "x"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains("cannot write Misc\\a<U+000A>b: the name holds the control "
                                 "character U+000A"))
        << bad.err.toStdString();
    EXPECT_EQ(runTool(QVR_EXECUTABLE, {"settings", "get", "Misc\\LCID"}).out, "1031\n");

    // A damaged hive: the good values are read, the bad lines named on stderr.
    const QString path = hivePath("HKEY_CURRENT_USER");
    QByteArray damaged = readFile(path);
    damaged += "\"broken\n";
    writeFile(path, damaged);
    const ProcessResult get = runTool(QVR_EXECUTABLE, {"settings", "get", "Misc\\LCID"});
    EXPECT_EQ(get.out, "1031\n");
    EXPECT_TRUE(get.err.contains(QStringLiteral("warning: %1 line %2: bad value name; skipped")
                                     .arg(path)
                                     .arg(damaged.count('\n'))))
        << get.err.toStdString();
    const ProcessResult set = runTool(QVR_EXECUTABLE, {"settings", "set", "Misc\\Mode", "5"});
    EXPECT_EQ(set.exitCode, 0);
    EXPECT_TRUE(set.err.contains("the file as it was is kept as " + path + ".corrupt"))
        << set.err.toStdString();
    EXPECT_EQ(readFile(path + ".corrupt"), damaged);
    EXPECT_EQ(runTool(QVR_EXECUTABLE, {"settings", "get", "Misc\\LCID"}).err, "") << "clean now";
}
