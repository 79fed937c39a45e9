#include "cd/widgets/ripWizForm.h"
#include "core/Settings.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "lang/QtTranslations.h"
#include "lang/widgets/FormLang.h"
#include "support/CdImage.h"
#include "support/LangFixtures.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class RipWizard : public ConfigDirTest {
protected:
    RipWizard() {
        fixtures::WriteCdImage(images.path(), "disc", {44100 + 5, 30000, 44100 * 2});
        out = target.path() + '/';
        mainMod::WriteSetting("CD-Rip\\Last Rip Location", out);
        mainMod::WriteSetting("CD-Rip\\Create subfolder", "0");
        mainMod::WriteSetting("CD-Rip\\Output Format", "2");
    }
    void SetUp() override { ASSERT_TRUE(UseShippedLanguage(english)); }
    void TearDown() override { mainMod::SetLang(nullptr); }

    RipRequest request(QStringList titles = {"One", "Two", "Three"}) const {
        RipRequest r;
        r.artist = "Artist";
        r.album = "Album";
        r.year = "2003";
        r.genreText = "Jazz";
        r.drive = 1;
        for (int i = 0; i < titles.size(); ++i)
            r.tracks << RipTrackEntry{"  " + titles.at(i) + " ", i + 1};
        return r;
    }
    std::unique_ptr<ripWizForm> open(const RipRequest& r) {
        auto form = std::make_unique<ripWizForm>(settings, r);
        form->setImagesFolder(images.path());
        form->show();
        return form;
    }
    static void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    static QString status(ripWizForm& form, int row) {
        return form.llist->topLevelItem(row)->text(2);
    }
    static bool red(ripWizForm& form, int row) {
        return form.llist->topLevelItem(row)->foreground(0).color() == QColor(255, 0, 0);
    }

    QTemporaryDir images, target;
    QString out;
    AppSettings settings;
    ScriptedDialogs dialogs;
    clsMUI english;
};

TEST_F(RipWizard, ExistingFileKeepsNextDisabledUntilThePatternChanges) {
    writeFile(out + "02 - Two.wav", "mine");
    auto form = open(request());
    EXPECT_EQ(form->oFolder->text(), out);
    click(form->cmdNext);
    ASSERT_EQ(form->pages->currentIndex(), 1);
    EXPECT_EQ(form->llist->headerItem()->text(1), "Full Path");
    EXPECT_EQ(status(*form, 0), "Ready");
    EXPECT_EQ(status(*form, 1), "Error: the file already exists");
    EXPECT_TRUE(red(*form, 1));
    EXPECT_FALSE(red(*form, 0));
    EXPECT_FALSE(form->cmdNext->isEnabled());

    click(form->cmdBack);
    ASSERT_EQ(form->pages->currentIndex(), 0);
    form->fName->selectAll();
    QTest::keyClicks(form->fName, "%n %t");
    click(form->cmdNext);
    EXPECT_EQ(form->llist->topLevelItem(1)->text(0), "02 Two.wav") << "lower-case tags work";
    EXPECT_TRUE(form->cmdNext->isEnabled());
    EXPECT_EQ(readFile(out + "02 - Two.wav"), QByteArray("mine"));
}

TEST_F(RipWizard, EqualTitlesUnderTitlePatternAreBothMarked) {
    auto form = open(request({"Same", "Other", "same"}));
    form->fName->clear();
    QTest::keyClicks(form->fName, "%T");
    form->fName->setFocus();
    QTest::keyClick(form.get(), Qt::Key_Return); // the default button is Next
    ASSERT_EQ(form->pages->currentIndex(), 1);
    EXPECT_TRUE(red(*form, 0));
    EXPECT_FALSE(red(*form, 1));
    EXPECT_TRUE(red(*form, 2));
    EXPECT_EQ(status(*form, 2), "Error: two tracks get the same file name");
    EXPECT_FALSE(form->cmdNext->isEnabled());
}

TEST_F(RipWizard, RipsAndClosesWithTheSettingsWritten) {
    auto form = open(request());
    QString added;
    form->setAddToLibrary([&](const QString& folder) { added = folder; });
    QTest::mouseClick(form->chk1, Qt::LeftButton); // subfolder on
    EXPECT_FALSE(form->cmdSettings->isVisible()) << "WAV has no encoder settings";
    form->fType->setCurrentIndex(0);
    EXPECT_TRUE(form->cmdSettings->isVisible());
    form->fType->setCurrentIndex(2);
    click(form->cmdNext);
    QSignalSpy ended(form.get(), &ripWizForm::ripEnded);
    click(form->cmdNext);
    EXPECT_TRUE(form->fraProgress->isVisible());
    EXPECT_FALSE(form->cmdBack->isEnabled());
    ASSERT_TRUE(ended.wait(20000));
    const QString sub = out + "Artist - Album/";
    EXPECT_EQ(QDir(sub).entryList(QDir::Files),
              (QStringList{"01 - One.wav", "02 - Two.wav", "03 - Three.wav"}));
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(status(*form, row), "Done");
    EXPECT_FALSE(form->fraProgress->isVisible());
    EXPECT_EQ(form->pbOverall->value(), 3);
    EXPECT_FALSE(form->cmdBack->isEnabled());
    EXPECT_FALSE(form->cmdCancel->isEnabled());
    EXPECT_EQ(form->cmdNext->text(), "&Close");
    EXPECT_EQ(added, out) << "the output folder goes to the library";
    click(form->cmdNext);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(mainMod::ReadSetting("CD-Rip\\Create subfolder"), "1");
    EXPECT_EQ(mainMod::ReadSetting("CD-Rip\\Output Format"), "2");
    EXPECT_EQ(mainMod::ReadSetting("CD-Rip\\FileName Format"), "%N - %T");
}

TEST_F(RipWizard, CancelAsksAndStopsTheRunningRip) {
    // MP3: the first track is still encoding when the window sees its progress.
    fixtures::WriteCdImage(images.path(), "disc", {44100 * 20, 44100 * 20});
    mainMod::WriteSetting("CD-Rip\\Output Format", "0");
    auto form = open(request({"Long", "Longer"}));
    click(form->cmdNext);
    QSignalSpy ended(form.get(), &ripWizForm::ripEnded);
    dialogs.answers = {Dialogs::No, Dialogs::Yes};
    bool asked = false;
    QObject::connect(form->pbTrack, &QProgressBar::valueChanged, form.get(), [&](int value) {
        if (asked || value < 5) return;
        asked = true;
        click(form->cmdCancel); // No: goes on
        click(form->cmdCancel); // Yes: stops
    });
    click(form->cmdNext);
    ASSERT_TRUE(ended.wait(20000));
    ASSERT_EQ(dialogs.asked.size(), 2);
    EXPECT_EQ(dialogs.asked.at(0).text, english.Text(105));
    EXPECT_EQ(dialogs.asked.at(0).title, english.Text(106));
    EXPECT_EQ(dialogs.asked.at(0).style, Dialogs::YesNo | Dialogs::Question);
    EXPECT_EQ(status(*form, 0), "Failed");
    EXPECT_NE(status(*form, 1), "Done");
    EXPECT_TRUE(QDir(out).entryList(QDir::Files | QDir::Hidden).isEmpty())
        << QDir(out).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString();
    EXPECT_EQ(form->cmdNext->text(), "&Close");
    EXPECT_FALSE(form->cmdCancel->isEnabled());
}

TEST_F(RipWizard, WindowGoneMidRipStopsTheJobAndLeavesNoFile) {
    fixtures::WriteCdImage(images.path(), "disc", {44100 * 20, 44100 * 20});
    mainMod::WriteSetting("CD-Rip\\Output Format", "0");
    auto form = open(request({"Long", "Longer"}));
    click(form->cmdNext);
    click(form->cmdNext);
    ASSERT_TRUE(form->ripping());
    form.reset();
    EXPECT_TRUE(QDir(out).entryList(QDir::Files | QDir::Hidden).isEmpty())
        << QDir(out).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString();
}

TEST_F(RipWizard, CancelBeforeRippingClosesOnYes) {
    auto form = open(request());
    dialogs.answers = {Dialogs::No};
    click(form->cmdCancel);
    EXPECT_TRUE(form->isVisible());
    QTest::keyClick(form.get(), Qt::Key_Escape); // asks as Cancel does; Yes
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(dialogs.asked.size(), 2);
}

TEST_F(RipWizard, BrowseAndDefault) {
    auto form = open(request());
    dialogs.folders = {target.path() + "/picked"};
    click(form->cmdBrowse);
    EXPECT_EQ(form->oFolder->text(), target.path() + "/picked/");
    form->fName->setText("x");
    click(form->cmdDefault);
    EXPECT_EQ(form->fName->text(), "%N - %T");
    form->oFolder->clear();
    click(form->cmdNext);
    EXPECT_EQ(form->pages->currentIndex(), 0) << "no folder, no target list";
    form->reject();
    EXPECT_EQ(mainMod::ReadSetting("CD-Rip\\Last Rip Location"), out)
        << "a folder that does not exist is not remembered";
}

TEST_F(RipWizard, LanguageSwitchReachesTheOpenWizardWithoutClipping) {
    auto form = open(request());
    clsMUI german;
    ASSERT_TRUE(UseShippedLanguage(german, 1031));
    QtTranslations::Use(1031);
    QApplication::processEvents();
    EXPECT_EQ(form->windowTitle(), "CD rippen");
    EXPECT_EQ(form->cmdBrowse->text(), "Durch&suchen...");
    form->adjustSize();
    QApplication::processEvents();
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->objectName().isEmpty()) continue;
        if (qobject_cast<QLabel*>(w) && static_cast<QLabel*>(w)->wordWrap()) continue;
        if (qobject_cast<QPushButton*>(w) || qobject_cast<QCheckBox*>(w) ||
            qobject_cast<QLabel*>(w)) {
            EXPECT_GE(w->width(), w->sizeHint().width()) << w->objectName().toStdString();
        }
    }
    click(form->cmdNext);
    EXPECT_EQ(form->llist->headerItem()->text(0), "Dateiname");
    EXPECT_EQ(status(*form, 0), "Bereit");
    QtTranslations::Use(1033);
    mainMod::SetLang(&english);
    QApplication::processEvents();
    EXPECT_EQ(status(*form, 0), "Ready");
}

} // namespace
