#include "components/MediaLibrary.h"
#include "core/AppInfo.h"
#include "core/LibraryPaths.h"
#include "core/Registry.h"
#include "core/Settings.h"
#include "lang/Mui.h"
#include "library/widgets/mainForm.h"
#include "support/ScratchMount.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"
#include "util/widgets/Popups.h"
#include "util/widgets/popMsgClass.h"
#include "util/widgets/popMsgForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QToolBar>

using mainMod::ReadSetting;
using mainMod::WriteSetting;

class StartUp : public ConfigDirTest {
protected:
    QTemporaryDir data;
    ScriptedDialogs dialogs;
    AppSettings settings;

    StartUp() {
        WriteSetting("Misc\\ShowLoadWindow", "0");
        mainMod::SetDatabaseCreated(false);
    }
    mainForm::StartupOptions options(QStringList args = {}) const {
        return {args, {}, data.path() + "/", {}};
    }
    QString databaseFile() const { return data.path() + "/data.qvd"; }
};

TEST_F(StartUp, SettingsRoundTripThroughStartAndStop) {
    WriteSetting("MainWindow\\Width", "9000");
    WriteSetting("MainWindow\\Height", "6000");
    WriteSetting("MainWindow\\ShowToolBar", "0");
    WriteSetting("Misc\\LastDBDefrag", QDate::currentDate().toString("yyyy-MM-dd") + " 08:00:00");
    {
        mainForm form(settings);
        ASSERT_TRUE(form.StartUp(options()));
        EXPECT_TRUE(QFile::exists(databaseFile()));
        EXPECT_TRUE(mainMod::DatabaseCreated());
        EXPECT_TRUE(form.mLib2()->IsOpen());
        EXPECT_EQ(form.size(), QSize(600, 400));
        EXPECT_TRUE(form.toolbarBg->isHidden());
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(form.sizeHookInstalled());
        EXPECT_EQ(form.windowTitle(), "Quavero 0.1");
        EXPECT_EQ(form.EmptyArtistText, form.lang()->Text(141));
        EXPECT_EQ(form.menus().smLang.size(), form.lang()->AvailableLangCount());

        form.resize(800, 500);
        form.menus().mnuToolBar->trigger();
        form.close(); // the confirmation is answered Yes
        EXPECT_TRUE(form.isShutDown());
        EXPECT_EQ(form.mLib2(), nullptr);
        EXPECT_EQ(mainMod::Popups(), nullptr);
    }
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].style, Dialogs::YesNo | Dialogs::Question);
    EXPECT_EQ(ReadSetting("MainWindow\\Width"), "12000");
    EXPECT_EQ(ReadSetting("MainWindow\\Height"), "7500");
    EXPECT_EQ(ReadSetting("MainWindow\\ShowToolBar"), "1");
    EXPECT_TRUE(ReadSetting("Misc\\LastDBDefrag").endsWith("08:00:00")) << "no second compaction";
}

TEST_F(StartUp, AnsweringNoKeepsTheWindowOpen) {
    mainForm form(settings);
    ASSERT_TRUE(form.StartUp(options()));
    dialogs.answers << Dialogs::No;
    EXPECT_FALSE(form.close());
    EXPECT_FALSE(form.isShutDown());
    EXPECT_TRUE(form.mLib2()->IsOpen());
    form.Shutdown();
}

TEST_F(StartUp, MissingLanguageFilesEndStartUp) {
    QTemporaryDir emptyLang;
    mainForm form(settings);
    mainForm::StartupOptions o = options();
    o.langFolder = emptyLang.path() + "/";
    EXPECT_FALSE(form.StartUp(o));
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].text, "Language file(s) not found. Install or update this "
                                     "application to fix this issue.");
    EXPECT_EQ(dialogs.asked[0].title, "Quavero 0.1.0");
    EXPECT_EQ(dialogs.asked[0].style, Dialogs::Critical);
    EXPECT_FALSE(QFile::exists(databaseFile())) << "nothing after the language step ran";
    EXPECT_FALSE(form.isVisible());
}

TEST_F(StartUp, MissingTemplateEndsStartUpWithoutADatabase) {
    mainForm form(settings);
    mainForm::StartupOptions o = options();
    o.templatePath = data.path() + "/nowhere/data.blk";
    EXPECT_FALSE(form.StartUp(o));
    ASSERT_EQ(dialogs.asked.size(), 1);
    clsMUI english;
    english.SetLangFolder(mainMod::LangFolder());
    english.SetLCID(1033);
    // The reason follows the text, so that a user can act on it.
    EXPECT_TRUE(dialogs.asked[0].text.startsWith(english.Text(1) + "\n\n"));
    EXPECT_TRUE(dialogs.asked[0].text.contains("no library database"));
    EXPECT_EQ(dialogs.asked[0].title, english.Text(2));
    EXPECT_FALSE(QFile::exists(databaseFile()));
    EXPECT_EQ(form.mLib2(), nullptr);
}

TEST_F(StartUp, DevModeSkipsTheSizeHookAndSaysSo) {
    mainForm form(settings);
    ASSERT_TRUE(form.StartUp(options({"devmode"})));
    EXPECT_TRUE(form.devMode());
    EXPECT_FALSE(form.sizeHookInstalled());
    ASSERT_NE(form.popups(), nullptr);
    ASSERT_EQ(form.popups()->forms().size(), 1);
    EXPECT_EQ(form.popups()->forms()[0]->MText(), "Running on DEVELOPER MODE!");
    EXPECT_EQ(form.popups()->forms()[0]->mTitle(), "Warning");
    form.Shutdown();

    mainForm other(settings);
    ASSERT_TRUE(other.StartUp(options({"DevMode"})));
    EXPECT_FALSE(other.devMode()) << "the switch is matched case-sensitively";
    EXPECT_TRUE(other.sizeHookInstalled());
    other.Shutdown();
}

TEST_F(StartUp, SplashFollowsTheSettingAndStaysOneSecond) {
    int shown = 0;
    {
        mainForm form(settings);
        QObject::connect(&form, &mainForm::splashShown, [&] { ++shown; });
        ASSERT_TRUE(form.StartUp(options()));
        form.Shutdown();
    }
    EXPECT_EQ(shown, 0) << "Misc\\ShowLoadWindow is 0";

    WriteSetting("Misc\\ShowLoadWindow", "false"); // only "0" switches it off
    mainForm form(settings);
    QObject::connect(&form, &mainForm::splashShown, [&] { ++shown; });
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(form.StartUp(options()));
    EXPECT_GE(timer.elapsed(), 1000);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(form.splash(), nullptr);
    EXPECT_TRUE(form.isVisible());
    form.Shutdown();
    EXPECT_EQ(shown, 2) << "the stop shows it too";
}

TEST_F(StartUp, DailyCompaction) {
    WriteSetting("Misc\\LastDBDefrag", "not a date");
    mainForm form(settings);
    ASSERT_TRUE(form.StartUp(options()));
    EXPECT_TRUE(
        ReadSetting("Misc\\LastDBDefrag").startsWith(QDate::currentDate().toString("yyyy-MM-dd")));
    EXPECT_TRUE(form.mLib2()->IsOpen()) << "open again after compaction";
    form.Shutdown();

    // A date without a time is a date too: no second compaction on the same day.
    const QString today = QDate::currentDate().toString("yyyy-MM-dd");
    for (const QString& stored : {today, QDate::currentDate().toString("M/d/yyyy")}) {
        WriteSetting("Misc\\LastDBDefrag", stored);
        mainForm again(settings);
        ASSERT_TRUE(again.StartUp(options()));
        EXPECT_EQ(ReadSetting("Misc\\LastDBDefrag"), stored);
        again.Shutdown();
    }
}

TEST_F(StartUp, ALibraryWithoutWriteAccessOpensAndSaysSo) {
    const QString folder = data.path() + "/ro";
    ScratchMount disk(folder, 8 << 20);
    if (!disk.ok()) GTEST_SKIP() << disk.why().toStdString();
    mainForm::StartupOptions o = options();
    o.dataFolder = folder + "/";
    {
        mainForm first(settings);
        ASSERT_TRUE(first.StartUp(o));
        first.Shutdown();
    }
    ASSERT_TRUE(disk.makeReadOnly());
    mainForm form(settings);
    ASSERT_TRUE(form.StartUp(o)) << "reading needs no write access";
    EXPECT_TRUE(form.mLib2()->IsReadOnly());
    EXPECT_EQ(form.statusPanel(2), form.lang()->Text(920, {folder + "/data.qvd"}));
    EXPECT_TRUE(dialogs.asked.isEmpty());
    form.Shutdown();
}

TEST_F(StartUp, DamagedSettingsAreReportedAndTheGoodOnesKept) {
    writeFile(hivePath("HKEY_CURRENT_USER"),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Kestrel\\Quavero\\MainWindow]\r\n"
              "\"Width\"=\"9000\"\r\n"
              "this line is damaged\r\n"
              "\"Height\"=\"6000\"\r\n"
              "[HKEY_CURRENT_USER\\Software\\Kestrel\\Quavero\\Misc]\r\n"
              "\"ShowLoadWindow\"=\"0\"\r\n");
    mainForm form(settings);
    ASSERT_TRUE(form.StartUp(options()));
    EXPECT_EQ(form.size(), QSize(600, 400)) << "9000 x 6000 twips, read past the bad line";
    ASSERT_NE(mainMod::Popups(), nullptr);
    QStringList texts;
    for (const popMsgForm* popup : mainMod::Popups()->forms())
        texts << popup->MText();
    EXPECT_TRUE(
        texts.join('\n').contains(form.lang()->Text(921, {hivePath("HKEY_CURRENT_USER"), "1"})))
        << texts.join('\n').toStdString();
    form.Shutdown();
}
