// The tree's New, Edit and Delete on filter nodes: the editor opens, Delete
// asks first, and the filters branch follows.
#include "components/MediaLibrary.h"
#include "core/AppInfo.h"
#include "filters/FilterStore.h"
#include "filters/widgets/filterForm.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/LibraryTreeWidget.h"
#include "library/widgets/mainForm.h"
#include "support/LangFixtures.h"
#include "support/LibraryFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

class FilterNodes : public LibraryTest {
protected:
    ScopedEnv config{"QUAVERO_CONFIG_DIR", m_dir.path() + "/cfg"};
    ScriptedDialogs dialogs;
    clsMUI english;
    AppSettings settings = DefaultSettings();
    std::unique_ptr<mainForm> form;
    std::unique_ptr<LibraryBrowser> browser;

    void SetUp() override {
        LibraryTest::SetUp();
        ASSERT_TRUE(UseShippedLanguage(english));
        addMusicFolder();
        ASSERT_TRUE(fixtures::WriteMp3(music() + "/a.mp3", fixtures::ArtistOnly("A")));
        scan();
        form = std::make_unique<mainForm>(settings);
        browser = std::make_unique<LibraryBrowser>(*form, lib);
        browser->BuildColumns();
        browser->MakeTree();
    }
    void TearDown() override {
        browser.reset();
        form.reset();
        mainMod::SetLang(nullptr);
    }
    qint64 saveFilter(const QString& name) {
        const auto r = filters::SaveFilter(conn(), {0, name, QString(), "select * from files"},
                                           [](const QString&) { return false; });
        EXPECT_TRUE(r && r->outcome == filters::SaveOutcome::Saved);
        return r ? r->id : 0;
    }
    // Chooses the entry of the node's context menu.
    void command(const QString& key, int entry) {
        LibraryTreeWidget* tree = form->tv1;
        ASSERT_NE(tree->node(key), nullptr) << key.toStdString();
        tree->setCurrentItem(tree->node(key));
        ASSERT_TRUE(browser->preparePopAction());
        QAction* action = browser->popAction()->actions().at(entry);
        ASSERT_TRUE(action->isVisible() && action->isEnabled()) << entry;
        action->trigger();
    }
    // Runs the step on the editor once it is shown modally.
    void whenEditorOpens(std::function<void(filterForm&)> step) {
        QTimer::singleShot(0, [step] {
            auto* editor = qobject_cast<filterForm*>(QApplication::activeModalWidget());
            ASSERT_NE(editor, nullptr);
            step(*editor);
        });
    }
};

} // namespace

TEST_F(FilterNodes, NewAndEditOpenTheEditorAndRebuildTheBranch) {
    whenEditorOpens([](filterForm& editor) {
        EXPECT_EQ(editor.filterId(), 0);
        editor.cmbCondition[8]->setCurrentIndex(1);
        QTest::keyClicks(editor.fltName, "Only MP3");
        QTest::mouseClick(editor.okBut, Qt::LeftButton);
    });
    command("_fil", 0);
    const auto made = filters::FindFilterByName(conn(), "Only MP3");
    ASSERT_TRUE(made && *made);
    const QString key = "_flt" + QString::number((*made)->id);
    ASSERT_NE(form->tv1->node(key), nullptr);
    EXPECT_EQ(form->tv1->selectedKey(), key);
    EXPECT_EQ(form->tv1->node(key)->text(0), "Only MP3");

    whenEditorOpens([](filterForm& editor) {
        EXPECT_EQ(editor.fltName->text(), "Only MP3");
        editor.fltName->setText("MP3 only");
        QTest::mouseClick(editor.okBut, Qt::LeftButton);
    });
    command(key, 1);
    EXPECT_EQ(form->tv1->node(key)->text(0), "MP3 only") << "the id stays";

    // Closing without saving leaves the branch alone.
    whenEditorOpens([](filterForm& editor) { QTest::mouseClick(editor.closeBut, Qt::LeftButton); });
    command("_flt0", 1);
    EXPECT_EQ(form->tv1->node("_fil")->childCount(), 2);
}

TEST_F(FilterNodes, DeleteAsksFirst) {
    const qint64 id = saveFilter("Rock hits");
    browser->MakeTree();
    const QString key = "_flt" + QString::number(id);

    dialogs.answers = {Dialogs::No};
    command(key, 4);
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].text, english.Text(166, {"\"Rock hits\""}));
    EXPECT_EQ(dialogs.asked[0].title, english.Text(167));
    EXPECT_EQ(dialogs.asked[0].style, Dialogs::YesNo | Dialogs::Question);
    EXPECT_NE(form->tv1->node(key), nullptr);

    command(key, 4);
    EXPECT_EQ(form->tv1->node(key), nullptr);
    EXPECT_TRUE(rows("select * from MFILTERS", {"id"}).isEmpty());

    form->tv1->setCurrentItem(form->tv1->node("_flt0"));
    browser->preparePopAction();
    EXPECT_TRUE(browser->popAction()->actions().at(4)->isVisible());
    browser->popAction()->actions().at(4)->trigger();
    EXPECT_EQ(dialogs.asked.size(), 2) << "the most-played node is no saved filter";
}
