// The value chooser, the file-name pattern dialog, and the list's "Selected
// Items" entries driven by their keys on the real main window.
#include "components/AudioFile.h"
#include "components/MediaLibrary.h"
#include "core/AppInfo.h"
#include "core/LibraryPaths.h"
#include "editing/widgets/fnameForm.h"
#include "editing/widgets/selForm.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "lang/widgets/FormLang.h"
#include "library/widgets/FileListView.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/mainForm.h"
#include "support/AudioFixtures.h"
#include "support/ModalWindows.h"
#include "support/ScriptedDialogs.h"
#include "support/widgets/MainWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

clsMUI shipped(int lcid) {
    clsMUI lang;
    lang.SetLangFolder(mainMod::LangFolder());
    lang.SetLCID(lcid);
    return lang;
}

QPoint centreOf(QListWidget* list, int row) {
    return list->visualItemRect(list->item(row)).center();
}

} // namespace

TEST(SelFormWindow, TypedValueOrPickEnablesOk) {
    selForm form;
    form.setValues({"abc", "ABC"});
    form.show();
    EXPECT_FALSE(form.okBut->isEnabled());
    EXPECT_EQ(form.result(), 2);
    QTest::keyClicks(form.Value, "typed");
    EXPECT_TRUE(form.okBut->isEnabled());
    QTest::mouseClick(form.sList->viewport(), Qt::LeftButton, {}, centreOf(form.sList, 1));
    EXPECT_EQ(form.value(), "ABC");
    EXPECT_EQ(form.valueTag(), "1");
    QTest::mouseClick(form.sList->viewport(), Qt::LeftButton, {}, centreOf(form.sList, 0));
    QTest::mouseDClick(form.sList->viewport(), Qt::LeftButton, {}, centreOf(form.sList, 0));
    EXPECT_EQ(form.result(), 1);
    EXPECT_EQ(form.value(), "abc");
    EXPECT_FALSE(form.isVisible());
}

TEST(SelFormWindow, PickOnlyListKeepsOkDisabledUntilAPick) {
    selForm form;
    form.setChoices({{"(No genre)", 255}, {"Blues", 0}, {"Rock", 17}});
    form.show();
    EXPECT_FALSE(form.Value->isEnabled());
    EXPECT_EQ(form.valueTag(), "255");
    // Enter on the untouched list cannot confirm; the dialog stays.
    QTest::keyClick(form.okBut, Qt::Key_Return);
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.okBut->isEnabled());
    form.sList->setFocus();
    form.sList->setCurrentRow(0);
    QTest::keyClick(form.sList, Qt::Key_Down);
    QTest::keyClick(form.sList, Qt::Key_Down);
    EXPECT_EQ(form.value(), "Rock");
    EXPECT_EQ(form.valueTag(), "17");
    EXPECT_TRUE(form.okBut->isEnabled());
    QTest::keyClick(form.sList, Qt::Key_Escape);
    EXPECT_EQ(form.result(), 2);
    EXPECT_FALSE(form.isVisible());
}

TEST(FnameFormWindow, PatternWithoutTagsIsRefusedAndTheDialogStays) {
    ScriptedDialogs dialogs;
    fnameForm form;
    form.show();
    EXPECT_EQ(form.Result->text(), "%A - %N - %T");
    EXPECT_EQ(form.result(), 2);
    form.Result->selectAll();
    QTest::keyClicks(form.Result, "%t and %a");
    QTest::keyClick(form.Result, Qt::Key_Return);
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].title, "Tags missing");
    EXPECT_EQ(dialogs.asked[0].text,
              "You must use at least one of the available tags (%N, %T, %A, %B or %Y).");
    EXPECT_EQ(dialogs.asked[0].style & 0x70, Dialogs::Exclamation);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.result(), 2);
    QTest::keyClicks(form.Result, " %T");
    QTest::keyClick(form.Result, Qt::Key_Return);
    EXPECT_EQ(form.result(), 1);
    EXPECT_EQ(form.pattern(), "%t and %a %T");
}

TEST(BatchWindowTexts, NothingIsClippedInAnyLanguage) {
    for (int lcid : {1033, 1031, 2070}) {
        const clsMUI lang = shipped(lcid);
        ASSERT_EQ(lang.LCID(), lcid);
        selForm sel;
        fnameForm fname;
        for (QWidget* window : {static_cast<QWidget*>(&sel), static_cast<QWidget*>(&fname)}) {
            FormLang::SetFormLang(lang, window);
            window->show();
            QApplication::processEvents();
            for (QPushButton* b : window->findChildren<QPushButton*>())
                EXPECT_GE(b->width(), b->sizeHint().width()) << b->text().toStdString();
            for (QLabel* l : window->findChildren<QLabel*>())
                EXPECT_GE(l->height(), l->heightForWidth(l->width())) << l->text().toStdString();
        }
        if (lcid == 1031) {
            EXPECT_EQ(fname.windowTitle(), "Dateiname festlegen");
            EXPECT_EQ(fname.Result->text(), "%A - %N - %T");
            EXPECT_EQ(sel.cancelBUT->text(), "Abbrechen");
        }
    }
}

namespace {

// The started main window over a library of twelve MP3 files, all listed.
class BatchMenus : public StartedMainWindow {
protected:
    QList<qint64> ids; // in list order

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartedMainWindow::SetUp());
        ASSERT_NO_FATAL_FAILURE(addMusic(12, [](int i) {
            fixtures::TagFields t;
            t.artist = i % 2 ? "Odd" : "even";
            t.title = QStringLiteral("Song %1").arg(i);
            t.track = QString::number(i);
            return t;
        }));
        // Listed in reverse name order, as a sort by the user would.
        ids = listAll("filename desc");
        ASSERT_EQ(ids.size(), 12);
        form->show();
        QApplication::setActiveWindow(form.get());
        form->llist->setFocus();
    }
    void keys(const char* sequence) {
        // The offscreen platform does not hand activation back after a dialog.
        QApplication::setActiveWindow(form.get());
        const QKeySequence k(QString::fromLatin1(sequence));
        QTest::keySequence(form->llist, k);
    }
};

} // namespace

TEST_F(BatchMenus, CtrlROffersTheListsArtistsAndWritesTheSelection) {
    selectRows({0, 2, 4});
    QStringList offered;
    whenShown<selForm>(
        [&](selForm& dialog) {
            for (int i = 0; i < dialog.sList->count(); ++i)
                offered << dialog.sList->item(i)->text();
            EXPECT_FALSE(dialog.okBut->isEnabled());
            QTest::keyClicks(dialog.Value, "  Someone  ");
            QTest::keyClick(dialog.Value, Qt::Key_Return);
        },
        form.get());
    keys("Ctrl+R");
    EXPECT_EQ(offered, (QStringList{"even", "Odd"}));
    for (int r = 0; r < 12; ++r)
        EXPECT_EQ(field(ids[r], FileField::Artist) == "Someone", r == 0 || r == 2 || r == 4) << r;
    // The list was refilled from the library: it shows the new artist.
    EXPECT_EQ(form->browser()->model().id(0), ids[0]);

    // The selection is kept for the next entry; Cancel changes nothing.
    EXPECT_EQ(form->llist->selectedRows(), (QList<int>{0, 2, 4}));
    bool asked = false;
    whenShown<selForm>(
        [&asked](selForm& dialog) {
            asked = true;
            QTest::keyClicks(dialog.Value, "Nobody");
            QTest::mouseClick(dialog.cancelBUT, Qt::LeftButton);
        },
        form.get());
    keys("Ctrl+B");
    EXPECT_TRUE(asked);
    for (qint64 id : ids)
        EXPECT_EQ(field(id, FileField::Album), QString());
}

TEST_F(BatchMenus, CtrlTNumbersAndCtrlGSetsAPickedGenre) {
    selectRows({11, 3, 7, 5});
    keys("Ctrl+T");
    EXPECT_EQ(field(ids[3], FileField::Track), "1");
    EXPECT_EQ(field(ids[5], FileField::Track), "2");
    EXPECT_EQ(field(ids[7], FileField::Track), "3");
    EXPECT_EQ(field(ids[11], FileField::Track), "4");
    EXPECT_EQ(field(ids[0], FileField::Track), "12");
    // The refilled list keeps the selection for the next entry.
    EXPECT_EQ(form->llist->selectedRows(), (QList<int>{3, 5, 7, 11}));

    whenShown<selForm>([](selForm& dialog) {
        EXPECT_FALSE(dialog.Value->isEnabled());
        EXPECT_FALSE(dialog.okBut->isEnabled());
        // Typing a name in the list moves to it, as a pick.
        QTest::keyClicks(dialog.sList, "Jazz");
        EXPECT_EQ(dialog.value(), "Jazz");
        EXPECT_TRUE(dialog.okBut->isEnabled());
        QTest::keyClick(dialog.sList, Qt::Key_Return);
    });
    QSignalSpy genreEntry(form->menus().smList2[3], &QAction::triggered);
    keys("Ctrl+G");
    EXPECT_EQ(genreEntry.count(), 1);
    EXPECT_EQ(field(ids[3], FileField::GenreText), "Jazz");
    EXPECT_EQ(field(ids[3], FileField::GenreNumber), "8");
    EXPECT_EQ(QString::fromStdString(ReadAudioFacts(field(ids[7], FileField::FullPath)).genre),
              "Jazz");
    EXPECT_NE(field(ids[0], FileField::GenreText), "Jazz");
}

TEST_F(BatchMenus, RenameEntryRenamesTheSelectionAndTheListShowsTheNewNames) {
    ASSERT_TRUE(form->mLib2()->SetFileField(static_cast<qint32>(ids[1]), FileField::Rating, 5));
    selectRows({1, 2});
    whenShown<fnameForm>(
        [](fnameForm& dialog) {
            EXPECT_TRUE(dialog.Result->hasSelectedText());
            QTest::keyClicks(dialog.Result, "%N %A");
            QTest::keyClick(dialog.Result, Qt::Key_Return);
        },
        form.get());
    ASSERT_EQ(form->llist->selectedRows(), (QList<int>{1, 2}));
    form->menus().smList2[8]->trigger();
    EXPECT_EQ(field(ids[1], FileField::FileName), "11 Odd.mp3");
    EXPECT_EQ(field(ids[2], FileField::FileName), "10 even.mp3");
    EXPECT_EQ(field(ids[1], FileField::Rating), "5");
    EXPECT_TRUE(QFile::exists(data.path() + "/music/11 Odd.mp3"));
    QStringList shown;
    for (int r = 0; r < form->browser()->model().rowCount(); ++r)
        shown << form->browser()->model().tag(r);
    EXPECT_TRUE(shown.contains(data.path() + "/music/10 even.mp3"));
}
