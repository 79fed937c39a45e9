// The conversion dialog driven with mouse and keys, and the main window's
// "New Format" entry.
#include "convert/widgets/frmConvert.h"
#include "components/MediaLibrary.h"
#include "convert/ConvertJob.h"
#include "convert/ConvertTestAudio.h"
#include "convert/ConvertTexts.h"
#include "core/AppInfo.h"
#include "core/LibraryPaths.h"
#include "core/Settings.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "lang/widgets/FormLang.h"
#include "library/widgets/FileListView.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/ListPopMenu.h"
#include "library/widgets/mainForm.h"
#include "support/AudioFixtures.h"
#include "support/ModalWindows.h"
#include "support/ScriptedDialogs.h"
#include "support/widgets/MainWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using convert::ConvertJob;

namespace {

// Chooses a list entry with the keyboard, as a user would.
void choose(QComboBox* list, int index) {
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(list->currentIndex(), index);
}

class FrmConvertTest : public ::testing::Test {
protected:
    FrmConvertTest() { settings = DefaultSettings(); }
    ~FrmConvertTest() override { mainMod::SetLang(nullptr); }

    QString at(const QString& name) const { return dir.path() + "/" + name; }
    void open(frmConvert& form) {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    static void click(QAbstractButton* button) {
        ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
    static void waitUntilHidden(frmConvert& form) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); }, 30000));
    }
    static clsMUI load(int lcid) {
        clsMUI lang;
        lang.SetLangFolder(mainMod::LangFolder());
        lang.SetLCID(lcid);
        return lang;
    }

    QTemporaryDir dir;
    AppSettings settings;
    ScriptedDialogs dialogs;
};

TEST_F(FrmConvertTest, TwoFilesTakeTheirOwnTitles) {
    ASSERT_TRUE(fixtures::WriteWav(at("a.wav")));
    ASSERT_TRUE(fixtures::WriteWav(at("b.wav")));
    frmConvert form(settings, nullptr);
    ASSERT_TRUE(form.AddFile(at("a.wav")));
    ASSERT_TRUE(form.AddFile(at("b.wav")));
    EXPECT_FALSE(form.AddFile(at("a.wav")));
    open(form);
    EXPECT_FALSE(form.opt[0]->isEnabled());
    EXPECT_FALSE(form.opt[0]->isChecked());
    EXPECT_EQ(form.fText[0]->text(), "{file title}");
    EXPECT_FALSE(form.fText[0]->isEnabled());
    EXPECT_EQ(form.fTitle->text(), "{multiple files}");
    EXPECT_FALSE(form.fTitle->isEnabled());
    EXPECT_TRUE(form.chk2->isChecked());
    EXPECT_FALSE(form.chk2->isEnabled());
    for (int i = 1; i < 5; ++i)
        EXPECT_TRUE(form.opt[i]->isEnabled()) << i;
    click(form.opt[1]);
    EXPECT_TRUE(form.fText[1]->isEnabled());

    choose(form.fType, 2); // WAV: no tags at all
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(form.opt[i]->isEnabled()) << i;
        EXPECT_FALSE(form.opt[i]->isChecked()) << i;
    }
    EXPECT_FALSE(form.fText[1]->isEnabled());
    choose(form.fType, 1);
    EXPECT_TRUE(form.opt[1]->isEnabled());
    EXPECT_FALSE(form.opt[0]->isEnabled());
}

TEST_F(FrmConvertTest, KeepTitleAndSourceFolderGovernDeleteOriginals) {
    ASSERT_TRUE(fixtures::WriteWav(at("Only One.wav")));
    frmConvert form(settings, nullptr);
    ASSERT_TRUE(form.AddFile(at("Only One.wav")));
    open(form);
    EXPECT_TRUE(form.opt[0]->isEnabled());
    EXPECT_EQ(form.fText[0]->text(), "Only One");
    EXPECT_TRUE(form.chk2->isEnabled());
    EXPECT_FALSE(form.fTitle->isEnabled());
    EXPECT_EQ(form.fTitle->text(), "Only One");
    // Both checked: the target could be the source itself.
    EXPECT_FALSE(form.chk6->isEnabled());
    EXPECT_FALSE(form.fPath->isEnabled());
    EXPECT_FALSE(form.btBrowse->isEnabled());

    click(form.chk2);
    EXPECT_TRUE(form.fTitle->isEnabled());
    EXPECT_TRUE(form.chk6->isEnabled());
    click(form.chk6);
    EXPECT_TRUE(form.chk6->isChecked());
    click(form.chk2);
    EXPECT_FALSE(form.chk6->isChecked());
    EXPECT_FALSE(form.chk6->isEnabled());

    click(form.chk1);
    EXPECT_TRUE(form.chk6->isEnabled());
    EXPECT_TRUE(form.fPath->isEnabled());
    dialogs.folders = {dir.path()};
    click(form.btBrowse);
    EXPECT_EQ(form.fPath->text(), dir.path() + "/");
}

TEST_F(FrmConvertTest, StartRefusesABadNameAndAMissingFolder) {
    ASSERT_TRUE(fixtures::WriteWav(at("s.wav")));
    frmConvert form(settings, nullptr);
    ASSERT_TRUE(form.AddFile(at("s.wav")));
    open(form);
    click(form.chk2);
    form.fTitle->selectAll();
    QTest::keyClicks(form.fTitle, "bad/name");
    click(form.nextBUT);
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].text, "Invalid filename.");
    EXPECT_EQ(dialogs.asked[0].title, "Save As");
    EXPECT_EQ(dialogs.asked[0].style & 0x70, Dialogs::Exclamation);
    EXPECT_TRUE(form.Frame1->isVisible());

    form.fTitle->selectAll();
    QTest::keyClicks(form.fTitle, "good");
    click(form.chk1);
    QTest::keyClicks(form.fPath, at("nowhere"));
    click(form.nextBUT);
    ASSERT_EQ(dialogs.asked.size(), 2);
    EXPECT_EQ(dialogs.asked[1].text, "Invalid target folder.");
    EXPECT_EQ(dialogs.asked[1].title, "Save To");
    EXPECT_TRUE(form.Frame1->isVisible());
    EXPECT_TRUE(form.nextBUT->isEnabled());
}

TEST_F(FrmConvertTest, RunShowsEachRowAndEndsWithItsMessage) {
    ASSERT_TRUE(fixtures::WriteWav(at("a.wav")));
    ASSERT_TRUE(fixtures::WriteWav(at("b.wav")));
    ASSERT_TRUE(QDir().mkpath(at("out")));
    frmConvert form(settings, nullptr);
    ASSERT_TRUE(form.AddFile(at("a.wav")));
    ASSERT_TRUE(form.AddFile(at("b.wav")));
    open(form);
    choose(form.fType, 1);
    click(form.chk1);
    QTest::keyClicks(form.fPath, at("out"));
    click(form.nextBUT);
    EXPECT_TRUE(form.Frame2->isVisible());
    EXPECT_FALSE(form.Frame1->isVisible());
    waitUntilHidden(form);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    ASSERT_EQ(form.llist->topLevelItemCount(), 2);
    const QTreeWidgetItem* row = form.llist->topLevelItem(1);
    EXPECT_EQ(row->text(0), "b.wav");
    EXPECT_EQ(row->text(1), "b.wma");
    EXPECT_EQ(row->toolTip(1), at("out") + "/b.wma");
    EXPECT_EQ(row->text(2), "completed");
    EXPECT_EQ(row->foreground(0).color(), QColor(64, 64, 64));
    EXPECT_EQ(form.pbTotal->value(), 100);
    EXPECT_TRUE(QFileInfo::exists(at("out/a.wma")));
    ASSERT_FALSE(dialogs.asked.isEmpty());
    EXPECT_EQ(dialogs.asked.last().text, "Conversion completed.");
    EXPECT_EQ(dialogs.asked.last().title, "Success");
    EXPECT_FALSE(form.LibraryChanged()); // no library given
}

TEST_F(FrmConvertTest, CancelAnsweredNoThenYes) {
    for (const char* name : {"1.wav", "2.wav"})
        ASSERT_TRUE(WriteToneWav(at(name), 20.0));
    frmConvert form(settings, nullptr);
    ASSERT_TRUE(form.AddFile(at("1.wav")));
    ASSERT_TRUE(form.AddFile(at("2.wav")));
    open(form);
    dialogs.answers = {Dialogs::No, Dialogs::Yes};
    click(form.nextBUT);
    ASSERT_NE(form.job(), nullptr);
    int asks = 0;
    QObject::connect(form.job(), &ConvertJob::currentProgress, &form, [&](int percent) {
        if ((percent == 1 && asks == 0) || (percent == 3 && asks == 1)) {
            ++asks;
            QTest::mouseClick(form.cancelBUT, Qt::LeftButton);
        }
    });
    waitUntilHidden(form);
    EXPECT_EQ(asks, 2);
    ASSERT_GE(dialogs.asked.size(), 3);
    EXPECT_EQ(dialogs.asked[0].text, "Cancel conversion process?");
    EXPECT_EQ(dialogs.asked[0].title, "Cancel");
    EXPECT_EQ(dialogs.asked[0].style, Dialogs::YesNo | Dialogs::Question);
    EXPECT_EQ(dialogs.asked.last().text, "Conversion canceled.");
    EXPECT_EQ(dialogs.asked.last().title, "Canceled");
    EXPECT_EQ(form.llist->topLevelItem(0)->text(2), "canceled");
    EXPECT_EQ(form.llist->topLevelItem(0)->foreground(0).color(), QColor(255, 0, 0));
    EXPECT_EQ(form.llist->topLevelItem(1)->text(2), "ready");
    EXPECT_FALSE(form.cancelBUT->isEnabled());
    EXPECT_FALSE(QFileInfo::exists(at("1.mp3")));
}

TEST_F(FrmConvertTest, EveryLanguageFitsAndNamesTheStates) {
    for (const int lcid : {1033, 1031, 2070}) {
        clsMUI lang = load(lcid);
        ASSERT_EQ(lang.LCID(), lcid);
        for (int n = 981; n <= 988; ++n)
            EXPECT_FALSE(lang.Text(n).isEmpty()) << lcid << " " << n;
        mainMod::SetLang(&lang);
        EXPECT_EQ(convert::StateText(convert::RowState::Completed),
                  lang.TextObj("frmConvert.State(completed)"));
        EXPECT_EQ(convert::TitleText("Save As"), lang.TextObj("frmConvert.Title(SaveAs)"));
        frmConvert form(settings, nullptr);
        open(form);
        EXPECT_EQ(form.windowTitle(), lang.TextObj("frmConvert.Caption"));
        EXPECT_EQ(form.chk5->text(), lang.TextObj("frmConvert.chk5.Caption"));
        for (QWidget* w : form.findChildren<QWidget*>()) {
            if (!w->isVisible() || !(qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)))
                continue;
            EXPECT_GE(w->width(), w->sizeHint().width())
                << lcid << " " << w->objectName().toStdString();
        }
        EXPECT_GE(form.fraTags->width(), form.fraTags->sizeHint().width());
        mainMod::SetLang(nullptr);
    }
}

// The started main window over a library of three MP3 files, listed by name.
class NewFormatEntry : public StartedMainWindow {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartedMainWindow::SetUp());
        ASSERT_NO_FATAL_FAILURE(
            addMusic({"a.mp3", "b.mp3", "c.mp3"}, fixtures::ArtistOnly("Band")));
        ASSERT_EQ(listAll("filename").size(), 3);
        form->show();
    }
};

TEST_F(NewFormatEntry, QueuesTheSelectionInListOrderAndRefreshesAfterAConversion) {
    QAction* entry = form->browser()->listPop()->mConvert();
    ASSERT_TRUE(entry->isEnabled());
    selectRows({2, 0});
    QStringList queued;
    whenShown<frmConvert>([&](frmConvert& dialog) {
        for (const convert::ConvertItem& item : dialog.queue().Items())
            queued << item.FileName;
        choose(dialog.fType, 2);
        dialog.nextBUT->click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }, 30000));
    });
    entry->trigger();
    EXPECT_EQ(queued, QStringList({"a.mp3", "c.mp3"}));
    EXPECT_TRUE(QFileInfo::exists(music() + "/a.wav"));
    EXPECT_TRUE(QFileInfo::exists(music() + "/a.mp3"));
    FileRecord record;
    ASSERT_TRUE(form->mLib2()->GetFileRecord(music() + "/c.wav", record));
    EXPECT_GT(record.id, 0);
    EXPECT_EQ(dialogs.asked.last().text, "Conversion completed.");
}

} // namespace
