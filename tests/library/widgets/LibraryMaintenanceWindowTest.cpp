// The Library menu, the media-folder editor, the clean-up, the library wizard
// and the preferences, driven as a user drives them.
#include "components/MediaLibrary.h"
#include "core/AppInfo.h"
#include "core/LibraryPaths.h"
#include "core/LibrarySchema.h"
#include "core/Settings.h"
#include "lang/Mui.h"
#include "library/widgets/LibraryTreeWidget.h"
#include "library/widgets/configForm.h"
#include "library/widgets/mainForm.h"
#include "library/widgets/mmFoldersForm.h"
#include "library/widgets/optionForm.h"
#include "library/widgets/wizForm.h"
#include "support/AudioFixtures.h"
#include "support/ScriptedDialogs.h"
#include "support/widgets/MainWindowFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using mainMod::ReadSetting;
using mainMod::WriteSetting;

namespace {

// Each test starts the window itself, on a new or an existing library: the
// library's "created" mark is cleared before start-up, not after.
class LibraryMenu : public StartedMainWindow {
protected:
    LibraryMenu() {
        WriteSetting("Misc\\CheckForUpdates", "0");
        mainMod::SetDatabaseCreated(false);
    }
    void SetUp() override {}
    QString music() const { return data.path() + "/Music"; }
    // Starts the window; with existing = true on a library made before, so that
    // no wizard comes up.
    void start(bool existing = true) {
        if (existing) {
            ASSERT_NO_FATAL_FAILURE(copyTemplateLibrary());
        }
        launch();
    }
    template <typename T> T* opened() {
        T* found = nullptr;
        const bool shown = QTest::qWaitFor(
            [&] {
                found = form->findChild<T*>();
                return found && found->isVisible();
            },
            3000);
        return shown ? found : nullptr;
    }
    static void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void writeMusic() {
        ASSERT_TRUE(fixtures::WriteMp3(music() + "/a.mp3", fixtures::ArtistOnly("Alpha")));
        ASSERT_TRUE(fixtures::WriteMp3(music() + "/Rock/b.mp3", fixtures::ArtistOnly("Beta")));
    }
    // Adds a folder in the media-folder editor and closes it.
    void addThroughEditor(const QString& folder) {
        form->menus().smLibrary[1]->trigger();
        mmFoldersForm* editor = opened<mmFoldersForm>();
        ASSERT_NE(editor, nullptr);
        dialogs.folders << folder;
        click(editor->addBUT);
        click(editor->closeBut);
    }
    bool refreshed() {
        return form->mLib2()->WaitForRefresh(20000) &&
               QTest::qWaitFor([&] { return !form->mLib2()->IsRefreshing(); }, 1000);
    }
};

} // namespace

TEST_F(LibraryMenu, EditorRefusesDuplicatesNestedFoldersAndAnUnconfirmedRoot) {
    start();
    QDir().mkpath(music() + "/Rock");
    form->menus().smLibrary[1]->trigger();
    mmFoldersForm* editor = opened<mmFoldersForm>();
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(editor->killBUT->isEnabled()) << "nothing to remove";
    EXPECT_FALSE(editor->Changed());

    dialogs.folders << music();
    click(editor->addBUT);
    ASSERT_EQ(editor->flist->topLevelItemCount(), 1);
    EXPECT_EQ(editor->flist->topLevelItem(0)->text(0), music() + "/");
    EXPECT_EQ(editor->flist->topLevelItem(0)->text(1), text(178)) << "never scanned";
    EXPECT_TRUE(editor->killBUT->isEnabled());
    EXPECT_TRUE(editor->Changed());
    EXPECT_TRUE(dialogs.asked.isEmpty());

    dialogs.folders << music() + "/";
    click(editor->addBUT);
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].text, text(94));
    EXPECT_EQ(dialogs.asked[0].title, text(96));
    EXPECT_EQ(dialogs.asked[0].style, Dialogs::OkOnly | Dialogs::Information);

    dialogs.folders << music() + "/Rock";
    click(editor->addBUT);
    ASSERT_EQ(dialogs.asked.size(), 2);
    EXPECT_EQ(dialogs.asked[1].text, form->lang()->Text(95, {music() + "/"}));

    // The root is asked about first; No leaves the list as it was.
    dialogs.folders << "/";
    dialogs.answers << Dialogs::No;
    click(editor->addBUT);
    ASSERT_EQ(dialogs.asked.size(), 3);
    EXPECT_EQ(dialogs.asked[2].text, text(92));
    EXPECT_EQ(dialogs.asked[2].style, Dialogs::YesNo | Dialogs::Question);
    EXPECT_EQ(editor->flist->topLevelItemCount(), 1);

    // A folder that is gone is refused by the store.
    dialogs.folders << data.path() + "/gone";
    click(editor->addBUT);
    ASSERT_EQ(dialogs.asked.size(), 4);
    EXPECT_EQ(dialogs.asked[3].text, text(97));
    EXPECT_EQ(dialogs.asked[3].style, Dialogs::OkOnly | Dialogs::Critical);

    // Cancelling the picker asks nothing.
    click(editor->addBUT);
    EXPECT_EQ(dialogs.asked.size(), 4);
    EXPECT_EQ(form->mLib2()->MediaFolders()->FolderCount(), 1);

    // Closing only hides it, so that the window can still read the flag.
    editor->close();
    EXPECT_FALSE(editor->isVisible());
}

TEST_F(LibraryMenu, RemovingAFolderKeepsOrDropsItsFiles) {
    writeMusic();
    start();
    addThroughEditor(music());
    ASSERT_TRUE(refreshed()) << "a changed folder list refreshes the library";
    ASSERT_EQ(count("files"), 2);
    EXPECT_EQ(artists(), QStringList({"Alpha", "Beta"}));

    form->menus().smLibrary[1]->trigger();
    mmFoldersForm* editor = opened<mmFoldersForm>();
    ASSERT_NE(editor, nullptr);
    EXPECT_NE(editor->flist->topLevelItem(0)->text(1), text(178)) << "scanned now";
    dialogs.answers << Dialogs::Yes << Dialogs::No;
    click(editor->killBUT);
    ASSERT_EQ(dialogs.asked.size(), 2);
    EXPECT_EQ(dialogs.asked[0].text, text(99));
    EXPECT_EQ(dialogs.asked[1].text, text(101));
    EXPECT_EQ(dialogs.asked[1].style, Dialogs::YesNo | Dialogs::Question | Dialogs::DefaultButton2);
    EXPECT_EQ(editor->flist->topLevelItemCount(), 0);
    EXPECT_FALSE(editor->killBUT->isEnabled()) << "the last folder went";
    EXPECT_TRUE(editor->Changed());
    EXPECT_EQ(count("files"), 2) << "the files stay";
    click(editor->closeBut);
    ASSERT_TRUE(refreshed());

    addThroughEditor(music());
    ASSERT_TRUE(refreshed());
    editor = (form->menus().smLibrary[1]->trigger(), opened<mmFoldersForm>());
    ASSERT_NE(editor, nullptr);
    dialogs.answers << Dialogs::Yes << Dialogs::Yes;
    click(editor->killBUT);
    EXPECT_EQ(count("files"), 0) << "the files left with their folder";
    EXPECT_TRUE(QFile::exists(music() + "/a.mp3")) << "but not the disk";

    // No to the first question changes nothing.
    click(editor->closeBut);
    ASSERT_TRUE(refreshed());
}

TEST_F(LibraryMenu, CleanUpChoicesKeepWhatTheyPromise) {
    writeMusic();
    start();
    addThroughEditor(music());
    ASSERT_TRUE(refreshed());
    ASSERT_GT(form->mLib2()->VirtualFolders()->FindFolder("Party", true), 0);
    ASSERT_EQ(count("files"), 2);

    // Cancel does nothing and asks nothing.
    form->menus().smLibrary[3]->trigger();
    optionForm* cancelled = opened<optionForm>();
    ASSERT_NE(cancelled, nullptr);
    click(cancelled->cancelBUT);
    EXPECT_EQ(count("files"), 2);
    EXPECT_TRUE(dialogs.asked.isEmpty());
    QTest::qWait(0);

    for (int choice : {0, 1}) {
        if (choice == 1) {
            ASSERT_TRUE(form->RefreshLibraryContents(false));
            ASSERT_TRUE(refreshed());
            ASSERT_EQ(count("files"), 2);
        }
        dialogs.asked.clear();
        form->menus().smLibrary[3]->trigger();
        optionForm* options = opened<optionForm>();
        ASSERT_NE(options, nullptr);
        EXPECT_EQ(options->windowTitle(), text(22));
        ASSERT_EQ(options->opt.size(), 3);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(options->opt[i]->text(), text(37 + i));
        click(options->opt[choice]);
        dialogs.answers << Dialogs::No; // no wizard
        click(options->okBut);
        ASSERT_EQ(dialogs.asked.size(), 1);
        EXPECT_EQ(dialogs.asked[0].text, text(40));
        EXPECT_EQ(count("files"), 0) << choice;
        EXPECT_EQ(count("vffiles"), 0) << choice;
        EXPECT_EQ(count("vfolders"), 1) << "the folder names stay (" << choice << ")";
        EXPECT_EQ(count("mmfolders"), choice == 0 ? 1 : 0);
        EXPECT_TRUE(artists().isEmpty()) << "the tree follows";
        EXPECT_EQ(form->wizard(), nullptr);
    }
}

TEST_F(LibraryMenu, ANewDatabaseIsUsedByTheWindowAtOnce) {
    writeMusic();
    start();
    addThroughEditor(music());
    ASSERT_TRUE(refreshed());
    ASSERT_GT(form->mLib2()->VirtualFolders()->FindFolder("Party", true), 0);

    form->menus().smLibrary[3]->trigger();
    optionForm* options = opened<optionForm>();
    ASSERT_NE(options, nullptr);
    click(options->opt[2]);
    dialogs.answers << Dialogs::Yes; // the wizard, please
    click(options->okBut);
    EXPECT_TRUE(form->mLib2()->IsOpen());
    EXPECT_FALSE(mainMod::DatabaseCreated());
    EXPECT_EQ(count("files"), 0);
    EXPECT_EQ(count("vfolders"), 0);
    EXPECT_EQ(count("mmfolders"), 0);
    EXPECT_EQ(count("id3_genres"), 148) << "made from the template";
    EXPECT_TRUE(artists().isEmpty());
    ASSERT_NE(form->wizard(), nullptr);
    form->wizard()->reject();

    // The window's own library, tree and events work on the new file; without an
    // engine folder the library refreshes itself.
    EXPECT_EQ(form->indexEngine(), nullptr);
    ASSERT_TRUE(form->mLib2()->MediaFolders()->Add(music()));
    ASSERT_TRUE(form->RefreshLibraryContents(true));
    ASSERT_TRUE(refreshed());
    EXPECT_EQ(count("files"), 2);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return artists() == QStringList({"Alpha", "Beta"});
        },
        3000))
        << artists().join(',').toStdString();
}

TEST(OptionForm, ReportsTheFirstChosenOptionOrZero) {
    optionForm options;
    options.AddOption("a");
    options.AddOption("b");
    options.SelectOption(5); // ignored
    EXPECT_EQ(options.SelectedIndex(), 0);
    options.SelectOption(1);
    EXPECT_EQ(options.SelectedIndex(), 1);
    options.show();
    QTest::mouseClick(options.okBut, Qt::LeftButton);
    EXPECT_EQ(options.result(), 1);
    EXPECT_FALSE(options.isVisible());

    optionForm none;
    none.AddOption("a");
    none.show();
    QTest::mouseClick(none.okBut, Qt::LeftButton);
    EXPECT_EQ(none.result(), 1);
    EXPECT_EQ(none.SelectedIndex(), 0) << "OK without a choice";
    optionForm cancelled;
    cancelled.show();
    QTest::mouseClick(cancelled.cancelBUT, Qt::LeftButton);
    EXPECT_EQ(cancelled.result(), 2);
}

TEST_F(LibraryMenu, FirstStartRunsTheWizardThroughARealRefresh) {
    writeMusic();
    start(false);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->wizard() != nullptr; }, 3000))
        << "a new database brings up the wizard";
    EXPECT_FALSE(mainMod::DatabaseCreated()) << "only once";
    wizForm* wizard = form->wizard();
    EXPECT_TRUE(wizard->isVisible());
    EXPECT_EQ(wizard->step(), 0);
    EXPECT_TRUE(wizard->wFrame[0]->isVisible());
    const QColor current(0x00, 0x00, 0xFF), passed(0x40, 0x40, 0x40);
    EXPECT_EQ(wizard->lbl[0]->palette().color(QPalette::WindowText), current);

    click(wizard->nextBUT);
    EXPECT_EQ(wizard->step(), 1);
    EXPECT_FALSE(wizard->wFrame[0]->isVisible());
    EXPECT_TRUE(wizard->wFrame[1]->isVisible());
    EXPECT_EQ(wizard->lbl[0]->palette().color(QPalette::WindowText), passed);
    EXPECT_EQ(wizard->lbl[1]->palette().color(QPalette::WindowText), current);
    const QColor later = wizard->lbl[2]->palette().color(QPalette::WindowText);
    EXPECT_NE(later, current);

    // Without a new folder the wizard stays where it is.
    click(wizard->nextBUT);
    mmFoldersForm* editor = wizard->findChild<mmFoldersForm*>();
    ASSERT_NE(editor, nullptr);
    click(editor->closeBut);
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].text, text(137));
    EXPECT_EQ(dialogs.asked[0].style, Dialogs::OkOnly | Dialogs::Exclamation);
    EXPECT_EQ(wizard->step(), 1);

    QTest::qWait(0); // the editor is deleted
    click(wizard->nextBUT);
    editor = opened<mmFoldersForm>();
    ASSERT_NE(editor, nullptr);
    dialogs.folders << music();
    click(editor->addBUT);
    click(editor->closeBut);
    EXPECT_EQ(wizard->step(), 2);
    EXPECT_TRUE(wizard->wFrame[2]->isVisible());
    EXPECT_EQ(form->mLib2()->MediaFolders()->FolderCount(), 1);
    EXPECT_EQ(count("files"), 0) << "nothing is read before the user says so";

    // The scan: the wizard waits, disabled, for the end of the refresh.
    QStringList progress;
    QObject::connect(form->mLib2(), &MediaLibrary::RefreshProgress, wizard,
                     [&] { progress << wizard->scanPC->text(); });
    click(wizard->nextBUT);
    EXPECT_EQ(wizard->step(), 3);
    EXPECT_FALSE(wizard->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return wizard->step() == 4; }, 20000));
    EXPECT_EQ(count("files"), 2) << "the real files were read";
    EXPECT_TRUE(wizard->isEnabled());
    EXPECT_TRUE(wizard->wFrame[4]->isVisible());
    EXPECT_FALSE(wizard->closeBut->isVisible());
    EXPECT_EQ(wizard->nextBUT->text(), text(139));
    EXPECT_TRUE(wizard->nextBUT->isDefault());
    // Progress reads "... N% done" with text 21's words around the number.
    const QString tail = text(21, {"100"}).section("100", 1);
    for (const QString& shown : progress) {
        if (!shown.isEmpty()) {
            EXPECT_TRUE(shown.endsWith(tail)) << shown.toStdString();
        }
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return artists() == QStringList({"Alpha", "Beta"}); }, 3000));

    click(wizard->nextBUT);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->wizard() == nullptr; }, 3000));
}

TEST_F(LibraryMenu, PreferencesRoundTrip) {
    WriteSetting("List\\ShowLogo", "1");
    WriteSetting("WMsg\\NewAudioCD", "0");
    start();
    form->activateWindow();
    QTest::qWait(50);
    EXPECT_EQ(form->wizard(), nullptr) << "an existing library brings no wizard";
    ASSERT_TRUE(form->listLogo());
    form->menus().mnuPreferences->trigger();
    configForm* prefs = opened<configForm>();
    ASSERT_NE(prefs, nullptr);
    ASSERT_EQ(prefs->cfg_opt.size(), configForm::OptionCount);
    for (int i = 0; i < configForm::OptionCount; ++i)
        EXPECT_EQ(prefs->cfg_opt[i]->isChecked(), settings.*configForm::Setting(i)) << i;
    EXPECT_FALSE(prefs->cfg_opt[5]->isChecked());
    click(prefs->cfg_opt[5]);
    click(prefs->cfg_opt[6]);
    click(prefs->okBut);
    EXPECT_EQ(prefs->result(), 1);
    EXPECT_TRUE(prefs->LogoChanged());
    EXPECT_TRUE(settings.NewAudioCD);
    EXPECT_FALSE(settings.ShowLogo);
    EXPECT_EQ(ReadSetting("WMsg\\NewAudioCD"), "1") << "saved at once";
    EXPECT_EQ(ReadSetting("List\\ShowLogo"), "0");
    EXPECT_FALSE(form->listLogo()) << "the list background is redrawn";

    // Cancel keeps everything as it was.
    QTest::qWait(0);
    form->menus().mnuPreferences->trigger();
    prefs = opened<configForm>();
    ASSERT_NE(prefs, nullptr);
    EXPECT_FALSE(prefs->cfg_opt[6]->isChecked());
    click(prefs->cfg_opt[6]);
    click(prefs->cancelBUT);
    EXPECT_FALSE(settings.ShowLogo);
    EXPECT_EQ(ReadSetting("List\\ShowLogo"), "0");
    EXPECT_FALSE(form->listLogo());
}

TEST_F(LibraryMenu, TheNewWindowsSpeakTheChosenLanguage) {
    start();
    QAction* deutsch = nullptr;
    for (QAction* entry : form->menus().smLang)
        if (entry->data().toString() == "1031") deutsch = entry;
    ASSERT_NE(deutsch, nullptr);
    deutsch->trigger();
    ASSERT_EQ(form->lang()->LCID(), 1031);

    form->menus().smLibrary[1]->trigger();
    mmFoldersForm* editor = opened<mmFoldersForm>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->windowTitle(), "Medienordner");
    EXPECT_EQ(editor->addBUT->text(), "&Hinzufügen...");
    EXPECT_EQ(editor->flist->headerItem()->text(1), "Letzte Suche");
    click(editor->closeBut);

    form->ShowWizard();
    wizForm* wizard = opened<wizForm>();
    ASSERT_NE(wizard, nullptr);
    EXPECT_EQ(wizard->windowTitle(), "Bibliotheksassistent");
    EXPECT_EQ(wizard->nextBUT->text(), "&Weiter >");
    wizard->reject();

    form->menus().mnuPreferences->trigger();
    configForm* prefs = opened<configForm>();
    ASSERT_NE(prefs, nullptr);
    EXPECT_EQ(prefs->cfg_opt[7]->text(), "Einmal täglich nach Updates suchen");
    click(prefs->cancelBUT);
}

// The wizard on its own: what it does when the refresh cannot start, and that
// only the refresh it waits for moves it on.
TEST(WizardAlone, GoesOnWhenTheRefreshCannotStartAndIgnoresOtherRefreshes) {
    ScriptedDialogs dialogs;
    db::Database closed;
    MediaFolderStore folders(&closed);
    QList<bool> asked;
    wizForm wizard(folders, [&](bool force) {
        asked << force;
        return false;
    });
    wizard.show();
    wizard.LibRefreshComplete(); // someone else's refresh
    EXPECT_EQ(wizard.step(), 0);
    QTest::mouseClick(wizard.nextBUT, Qt::LeftButton);
    wizard.LibRefreshComplete();
    wizard.RefreshProgress(50);
    EXPECT_EQ(wizard.step(), 1);
    EXPECT_TRUE(wizard.scanPC->text().isEmpty());
}

TEST(WizardAlone, AFailedStartDoesNotLeaveItWaiting) {
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    ASSERT_TRUE(LibrarySchema::createTemplate(dir.path() + "/data.qvd").ok());
    MediaLibrary library;
    ASSERT_TRUE(library.OpenLibrary(dir.path() + "/data.qvd"));
    QList<bool> asked;
    wizForm wizard(*library.MediaFolders(), [&](bool force) {
        asked << force;
        return false;
    });
    wizard.show();
    QTest::mouseClick(wizard.nextBUT, Qt::LeftButton);
    QTest::mouseClick(wizard.nextBUT, Qt::LeftButton);
    mmFoldersForm* editor = wizard.findChild<mmFoldersForm*>();
    ASSERT_NE(editor, nullptr);
    dialogs.folders << dir.path();
    QTest::mouseClick(editor->addBUT, Qt::LeftButton);
    QTest::mouseClick(editor->closeBut, Qt::LeftButton);
    ASSERT_EQ(wizard.step(), 2);

    QTest::mouseClick(wizard.nextBUT, Qt::LeftButton);
    EXPECT_EQ(asked, QList<bool>{true}) << "a forced refresh";
    EXPECT_EQ(wizard.step(), 4);
    EXPECT_TRUE(wizard.isEnabled());
}
