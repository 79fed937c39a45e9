// The filter editor driven by mouse and keys on a real library, in basic and
// expert mode.
#include "core/AppInfo.h"
#include "filters/FilterCompiler.h"
#include "filters/FilterData.h"
#include "filters/FilterStore.h"
#include "filters/widgets/filterForm.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "support/LangFixtures.h"
#include "support/LibraryFixture.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace filters;

// Readable failures for texts.
static void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

class FilterEditor : public LibraryTest {
protected:
    ScriptedDialogs dialogs;
    clsMUI english;
    std::unique_ptr<filterForm> form;

    void SetUp() override {
        LibraryTest::SetUp();
        ASSERT_TRUE(UseShippedLanguage(english));
        addMusicFolder();
        const struct {
            const char* file;
            const char* artist;
            const char* year;
        } files[] = {{"help.mp3", "The Beatles", "1965"},
                     {"abba.mp3", "ABBA", "1976"},
                     {"queen.mp3", "Queen", "1980"}};
        for (const auto& f : files) {
            corpus::TagFields tags = fixtures::ArtistOnly(f.artist);
            tags.year = f.year;
            ASSERT_TRUE(fixtures::WriteMp3(music() + "/" + f.file, tags));
        }
        scan();
        form = open();
    }
    void TearDown() override {
        form.reset();
        mainMod::SetLang(nullptr);
    }

    std::unique_ptr<filterForm> open(qint32 id = 0) {
        auto f = std::make_unique<filterForm>(conn());
        if (id) f->loadFilter(id);
        f->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(f.get()));
        return f;
    }

    // Chooses the entry of the row's list with the keyboard, as a user does.
    void choose(int row, int entry) {
        QComboBox* list = form->cmbCondition[row];
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Home);
        for (int k = 0; k < entry; ++k)
            QTest::keyClick(list, Qt::Key_Down);
        ASSERT_EQ(list->currentIndex(), entry);
    }
    void type(QWidget* box, const QString& text) {
        box->setFocus();
        QTest::keyClicks(box, text);
    }
    // Moves the focus on with Tab, as leaving a box does.
    void leave(QWidget* box) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Tab);
        QApplication::processEvents();
    }
    QString lastPrompt() const {
        return dialogs.asked.isEmpty() ? QString() : dialogs.asked.last().text;
    }
    int rowsOf(const QString& statement) { return rows(statement, {"id"}).size(); }
};

} // namespace

TEST_F(FilterEditor, BasicModeSavesTheGridAndReopensIt) {
    choose(Row::Artist, 2); // contains
    EXPECT_EQ(QApplication::focusWidget(), form->fTxt[1]) << "the first value box takes the focus";
    type(form->fTxt[1], "beat");
    choose(Row::Year, 4); // between
    type(form->fTxt[3], "1960-1970");
    QTest::mouseClick(form->ckNOT[Row::Album], Qt::LeftButton); // hidden: the row is off
    EXPECT_EQ(form->fSQL->toPlainText(),
              "(MD_ARTIST LIKE \"%beat%\") AND (val(MD_YEAR)>=1960 AND val(MD_YEAR)<=1970)");

    QTest::mouseClick(form->testBUT, Qt::LeftButton);
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].text, english.Text(164));
    EXPECT_EQ(dialogs.asked[0].title, english.Text(165));
    EXPECT_EQ(dialogs.asked[0].style, Dialogs::Information);

    type(form->fltName, "  Sixties ");
    QTest::mouseClick(form->okBut, Qt::LeftButton);
    EXPECT_TRUE(form->saved());
    EXPECT_FALSE(form->isVisible());
    const auto saved = FindFilterByName(conn(), "Sixties");
    ASSERT_TRUE(saved && *saved);
    EXPECT_EQ((*saved)->id, form->filterId());
    EXPECT_EQ(rows((*saved)->qsql, {"md_artist"}), QStringList({"The Beatles"}));

    form = open(static_cast<qint32>((*saved)->id));
    EXPECT_EQ(form->fltName->text(), "Sixties");
    EXPECT_EQ(form->cmbCondition[Row::Artist]->currentIndex(), 2);
    EXPECT_EQ(form->fTxt[3]->text(), "1960-1970");
    EXPECT_FALSE(form->fTxt[3]->isHidden());
    EXPECT_EQ(form->statement(), (*saved)->qsql);
    EXPECT_FALSE(form->saved());
    // The README's picture of the editor: QUAVERO_FILTER_EDITOR_PNG=FILE.
    const QString picture = qEnvironmentVariable("QUAVERO_FILTER_EDITOR_PNG");
    if (!picture.isEmpty()) {
        QTest::mouseClick(form->swMode, Qt::LeftButton);
        form->adjustSize();
        QApplication::processEvents();
        EXPECT_TRUE(form->grab().save(picture));
    }
}

TEST_F(FilterEditor, RowsShowTheirControlsAndColours) {
    choose(Row::Year, 4);
    EXPECT_EQ(form->fTxt[3]->maxLength(), 9);
    EXPECT_TRUE(form->lblRange[0]->isVisible());
    type(form->fTxt[3], "1965-1969");
    choose(Row::Year, 1);
    EXPECT_EQ(form->fTxt[3]->text(), "") << "a range does not survive a single value";
    EXPECT_EQ(form->fTxt[3]->maxLength(), 4);
    EXPECT_FALSE(form->lblRange[0]->isVisible());

    choose(Row::DateAdded, 4);
    EXPECT_TRUE(form->dtI[0]->isVisible());
    EXPECT_TRUE(form->dtF[0]->isVisible());
    EXPECT_TRUE(form->lblAnd[0]->isVisible());
    EXPECT_FALSE(form->dtDays[0]->isVisible());
    choose(Row::DateAdded, 5);
    EXPECT_FALSE(form->dtI[0]->isVisible());
    EXPECT_FALSE(form->dtF[0]->isVisible());
    EXPECT_TRUE(form->dtDays[0]->isVisible());

    QTest::mouseClick(form->ckNOT[Row::DateAdded], Qt::LeftButton);
    EXPECT_TRUE(form->cmbCondition[Row::DateAdded]->styleSheet().contains("rgb(255, 192, 192)"));
    QTest::mouseClick(form->ckNOT[Row::DateAdded], Qt::LeftButton);
    EXPECT_TRUE(form->cmbCondition[Row::DateAdded]->styleSheet().contains("white"));
    QTest::mouseClick(form->ckNOT[Row::DateAdded], Qt::LeftButton);
    choose(Row::DateAdded, 0);
    EXPECT_FALSE(form->ckNOT[Row::DateAdded]->isVisible());
    EXPECT_FALSE(form->ckNOT[Row::DateAdded]->isChecked()) << "{ignore} clears NOT";
    EXPECT_FALSE(form->dtDays[0]->isVisible());

    EXPECT_EQ(form->lblLogicNote->text(), english.Text(152));
    form->cmbLogic->setFocus();
    QTest::keyClick(form->cmbLogic, Qt::Key_Down);
    EXPECT_EQ(form->lblLogicNote->text(), english.Text(153));
}

TEST_F(FilterEditor, ValueChecksKeepTheFocusUntilCorrected) {
    choose(Row::BitRate, 3);
    type(form->qTxt, "0");
    leave(form->qTxt);
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].text, english.Text(161));
    EXPECT_EQ(dialogs.asked[0].title, english.Text(162));
    EXPECT_EQ(dialogs.asked[0].style, Dialogs::Exclamation);
    ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::focusWidget() == form->qTxt; }));
    QTest::mouseClick(form->testBUT, Qt::LeftButton);
    EXPECT_EQ(dialogs.asked.size(), 2) << "leaving the box checks it again; Test does not run";
    EXPECT_EQ(lastPrompt(), english.Text(161));
    QApplication::processEvents();
    QTest::keyClick(form->qTxt, Qt::Key_Return); // Save, the default button
    EXPECT_EQ(dialogs.asked.size(), 3) << "a box that keeps the focus is checked on Save";
    EXPECT_FALSE(form->saved());

    form->qTxt->clear();
    type(form->qTxt, "0128");
    leave(form->qTxt);
    EXPECT_EQ(form->qTxt->text(), "128");
    EXPECT_EQ(dialogs.asked.size(), 3);

    choose(Row::FileSize, 1);
    type(form->szTxt, "5-6");
    leave(form->szTxt);
    EXPECT_EQ(lastPrompt(), english.Text(161) + " (" + english.Text(163) + "=####)");
    form->szTxt->clear();
    type(form->szTxt, "2000");
    leave(form->szTxt);
    EXPECT_EQ(lastPrompt(), english.Text(161) + " (max value(s)=1023).");
    form->szTxt->clear();
    leave(form->szTxt);
    const int asked = dialogs.asked.size();

    choose(Row::Duration, 3);
    type(form->dTxt, "1:30");
    leave(form->dTxt);
    EXPECT_EQ(form->dTxt->text(), "01:30:00");
    EXPECT_EQ(dialogs.asked.size(), asked);
    EXPECT_EQ(form->fSQL->toPlainText(), "(val(bitrate/1000)>128) AND (duration>5400)");
}

TEST_F(FilterEditor, ExpertModeTestsAndSavesTheHandWrittenText) {
    choose(Row::Artist, 1);
    type(form->fTxt[1], "ABBA");
    QTest::mouseClick(form->swMode, Qt::LeftButton);
    EXPECT_TRUE(form->sqlFrame->isVisible());
    EXPECT_EQ(form->swMode->text(), english.Text(149));
    EXPECT_EQ(form->fSQL->toPlainText(), "(MD_ARTIST=\"ABBA\")");

    form->fSQL->clear();
    type(form->fSQL, "MD_NOPE=1");
    QTest::mouseClick(form->testBUT, Qt::LeftButton);
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].text, english.Text(156));
    EXPECT_EQ(dialogs.asked[0].title, english.Text(155));
    EXPECT_EQ(dialogs.asked[0].style, Dialogs::Critical);

    // Text that would write is no filter, and the library stays as it was.
    form->fSQL->clear();
    type(form->fSQL, "1=1; delete from files");
    type(form->fltName, "Sneaky");
    QTest::mouseClick(form->okBut, Qt::LeftButton);
    EXPECT_EQ(lastPrompt(), english.Text(156));
    EXPECT_FALSE(form->saved());
    EXPECT_EQ(rowsOf("select * from files"), 3);
    EXPECT_EQ(rowsOf("select * from MFILTERS"), 0);

    form->fSQL->clear();
    type(form->fSQL, "  val(md_year)>1970  ");
    QTest::mouseClick(form->okBut, Qt::LeftButton);
    ASSERT_TRUE(form->saved());
    const auto saved = FindFilter(conn(), static_cast<qint32>(form->filterId()));
    ASSERT_TRUE(saved && *saved);
    EXPECT_EQ((*saved)->qsql, "select * from files where val(md_year)>1970");
    EXPECT_EQ(rowsOf((*saved)->qsql), 2);
    // FDATA keeps the basic grid, which opens again in basic mode.
    form = open(static_cast<qint32>((*saved)->id));
    EXPECT_FALSE(form->expertMode());
    EXPECT_EQ(form->fTxt[1]->text(), "ABBA");
    EXPECT_EQ(form->swMode->text(), english.Text(148));

    // A change in the grid overwrites the hand-written text.
    QTest::mouseClick(form->swMode, Qt::LeftButton);
    form->fSQL->setPlainText("anything");
    type(form->fTxt[1], "!");
    EXPECT_EQ(form->fSQL->toPlainText(), "(MD_ARTIST=\"ABBA!\")");
}

TEST_F(FilterEditor, SaveRulesAskAndKeepTheEditorOpen) {
    choose(Row::FileType, 1); // MP3
    type(form->fltName, "ab ");
    QTest::mouseClick(form->okBut, Qt::LeftButton);
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].text, english.Text(157));
    EXPECT_EQ(dialogs.asked[0].title, english.Text(158));
    EXPECT_TRUE(form->isVisible());

    type(form->fltName, "c");
    QTest::mouseClick(form->okBut, Qt::LeftButton);
    ASSERT_TRUE(form->saved());
    const qint64 first = form->filterId();

    // Another new filter under the same name: asked, and "No" changes nothing.
    form = open();
    choose(Row::FileType, 2); // WAV
    type(form->fltName, "ab c");
    dialogs.answers = {Dialogs::No};
    QTest::mouseClick(form->okBut, Qt::LeftButton);
    EXPECT_EQ(dialogs.asked.last().text, english.Text(159, {"\"ab c\""}));
    EXPECT_EQ(dialogs.asked.last().style, Dialogs::YesNo | Dialogs::Exclamation);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->saved());
    EXPECT_EQ(rows("select * from MFILTERS", {"id", "qsql"}),
              QStringList({QString::number(first) + "|select * from files where (type=\"MP3\")"}));

    // Renaming the filter being edited keeps its id.
    form = open(static_cast<qint32>(first));
    form->fltName->clear();
    type(form->fltName, "Only MP3");
    QTest::mouseClick(form->okBut, Qt::LeftButton);
    ASSERT_TRUE(form->saved());
    EXPECT_EQ(form->filterId(), first);
    EXPECT_EQ(rows("select * from MFILTERS", {"id", "descript"}),
              QStringList({QString::number(first) + "|Only MP3"}));
}

TEST_F(FilterEditor, AfternoonPickerIsStoredAsTheNextDay) {
    choose(Row::DateAdded, 1); // equals
    const QDateTime afternoon(QDate(2026, 3, 2), QTime(15, 0));
    form->dtI[0]->setDateTime(afternoon);
    type(form->fltName, "Added on 2 March");
    QTest::mouseClick(form->okBut, Qt::LeftButton);
    ASSERT_TRUE(form->saved());
    const auto saved = FindFilter(conn(), static_cast<qint32>(form->filterId()));
    ASSERT_TRUE(saved && *saved);
    EXPECT_TRUE((*saved)->qsql.endsWith("))=#2026-03-02#)")) << (*saved)->qsql.toStdString();
    const qint64 march3 = PickerDayNumber(QDateTime(QDate(2026, 3, 3), QTime(0, 0)));
    EXPECT_TRUE((*saved)->fdata.contains(QString("dtI*0") + QChar(0) + QString::number(march3)));
    EXPECT_EQ(rowsOf((*saved)->qsql), 0);

    form = open(static_cast<qint32>((*saved)->id));
    EXPECT_EQ(form->dtI[0]->date(), QDate(2026, 3, 3));
    EXPECT_TRUE(form->dtI[0]->isVisible());
}

TEST_F(FilterEditor, HostileStoredGridOpensWhatItCan) {
    const QChar nul(0);
    const QString fdata =
        QStringList{"cmbCondition*1" + QString(nul) + "2", "fTxt*1" + QString(nul) + "ABBA",
                    "cmbCondition*3" + QString(nul) + "1", "fTxt*3" + QString(nul) + "1965-1969",
                    "ckNOT*99" + QString(nul) + "1",       "cmbCondition*4" + QString(nul) + "77",
                    "fltName" + QString(nul) + "renamed",  "okBut" + QString(nul) + "1",
                    "a line without the separator"}
            .join("\r\n");
    const auto r = SaveFilter(conn(), {0, "Odd one", fdata, "select * from files"},
                              [](const QString&) { return false; });
    ASSERT_TRUE(r && r->outcome == SaveOutcome::Saved);

    form = open(static_cast<qint32>(r->id));
    EXPECT_EQ(form->fltName->text(), "Odd one");
    EXPECT_EQ(form->cmbCondition[Row::Artist]->currentIndex(), 2);
    EXPECT_EQ(form->fTxt[1]->text(), "ABBA");
    EXPECT_EQ(form->fTxt[3]->text(), "1965-1969") << "a stored text is not cut to the row's length";
    EXPECT_EQ(form->cmbCondition[Row::Genre]->currentIndex(), -1);
    EXPECT_EQ(form->fSQL->toPlainText(), "(MD_ARTIST LIKE \"%ABBA%\") AND (val(MD_YEAR)=1965)");
}

TEST_F(FilterEditor, CloseLeavesTheLibraryAlone) {
    choose(Row::Title, 2);
    type(form->fltName, "Unsaved");
    QTest::mouseClick(form->closeBut, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->saved());
    EXPECT_EQ(rowsOf("select * from MFILTERS"), 0);
}
