// Virtual folders in the main window: the file list's context menu, Send to,
// New/Rename/Delete in the tree, and Delete and Move inside a folder, driven by
// the mouse and keyboard where the behaviour is about input.
#include "core/AppInfo.h"
#include "core/Shell.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "lang/widgets/FormLang.h"
#include "library/NodeKeys.h"
#include "library/widgets/FileListView.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/LibraryTreeWidget.h"
#include "library/widgets/ListPopMenu.h"
#include "library/widgets/mainForm.h"
#include "support/LangFixtures.h"
#include "support/LibraryFixture.h"
#include "support/RecordingShell.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"
#include "util/widgets/Popups.h"
#include "util/widgets/popMsgClass.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

namespace {

class FolderWindow : public LibraryTest {
protected:
    ScopedEnv config{"QUAVERO_CONFIG_DIR", m_dir.path() + "/cfg"};
    ScriptedDialogs dialogs;
    clsMUI english;
    popMsgClass popups;
    AppSettings settings = DefaultSettings();
    std::unique_ptr<mainForm> form;
    std::unique_ptr<LibraryBrowser> browser;
    qint32 mix = 0;

    void SetUp() override {
        LibraryTest::SetUp();
        ASSERT_TRUE(UseShippedLanguage(english));
        mainMod::SetPopups(&popups);
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"})
            ASSERT_TRUE(fixtures::WriteMp3(music() + "/" + name, fixtures::ArtistOnly("Band")));
        addMusicFolder();
        scan();
        mix = lib.VirtualFolders()->FindFolder("Mix", true);
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"})
            ASSERT_TRUE(lib.VirtualFolders()->AddFile(idOf(name), mix));
        form = std::make_unique<mainForm>(settings);
        form->EmptyArtistText = form->EmptyAlbumText = english.Text(141);
        browser = std::make_unique<LibraryBrowser>(*form, lib);
        FormLang::SetFormLang(english, form.get());
        browser->BuildColumns();
        browser->MakeTree();
        form->resize(900, 600);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void TearDown() override {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        browser.reset();
        form.reset();
        mainMod::SetPopups(nullptr);
        mainMod::SetLang(nullptr);
    }
    LibraryTreeWidget* tree() { return form->tv1; }
    FileListView* view() { return form->llist; }
    ListPopMenu* pop() { return browser->listPop(); }
    void select(const QString& key) {
        QTreeWidgetItem* item = tree()->node(key);
        ASSERT_NE(item, nullptr) << NodeKeys::printable(key).toStdString();
        tree()->setCurrentItem(item);
    }
    QStringList listed() {
        QStringList out;
        for (int r = 0; r < browser->model().rowCount(); ++r)
            out << browser->model().text(r, 0);
        return out;
    }
    QStringList folder(qint32 id) {
        QStringList out;
        for (const VirtualFolderStore::Member& m : lib.VirtualFolders()->Members(id))
            out << m.fullPath.section('/', -1);
        return out;
    }
    QPoint rowCentre(int row) {
        return view()->visualRect(browser->model().index(row, 0)).center();
    }
    void clickRow(int row, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, mods, rowCentre(row));
    }
    // A right click on a row; the menu that popped up, if any.
    QMenu* rightClickRow(int row) {
        QTest::mouseClick(view()->viewport(), Qt::RightButton, {}, rowCentre(row));
        QTest::qWait(20);
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }
    void clickEntry(QMenu* menu, QAction* entry) {
        ASSERT_TRUE(entry->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
        QTest::qWait(20);
    }
    // The line editor of a tree node being renamed, once it shows.
    QLineEdit* nodeEditor() {
        QLineEdit* editor = nullptr;
        (void)QTest::qWaitFor(
            [&] {
                for (QLineEdit* line : tree()->viewport()->findChildren<QLineEdit*>())
                    if (line->isVisible()) editor = line;
                return editor != nullptr;
            },
            2000);
        return editor;
    }
    QStringList visibleFolderItems() {
        QStringList out;
        for (QAction* a : pop()->mVFItem())
            if (a->isVisible()) out << a->text() + '=' + a->data().toString();
        return out;
    }
};

} // namespace

TEST_F(FolderWindow, RightClickShowsTheMenuWithEveryEntry) {
    ASSERT_NE(pop(), nullptr);
    const QList<QAction*> actions = pop()->actions();
    ASSERT_EQ(actions.size(), 16);
    for (int i : {1, 4, 6, 8, 11, 14})
        EXPECT_TRUE(actions[i]->isSeparator()) << i;
    const QStringList texts = {"Play",      "Play in Winamp", "Enqueue inWinamp", "Send to",
                               "Delete",    "Copy",           "Browse Folder",    "Move Up",
                               "Move Down", "Properties"};
    int t = 0;
    for (int i : {0, 2, 3, 5, 7, 9, 10, 12, 13, 15})
        EXPECT_EQ(actions[i]->text(), texts[t++]) << i;
    EXPECT_EQ(pop()->entry(ListPopMenu::SendTo)->menu(), pop()->sendToMenu());
    const QList<QAction*> sendTo = pop()->sendToMenu()->actions();
    ASSERT_GE(sendTo.size(), 4);
    EXPECT_EQ(sendTo[0], pop()->mConvert());
    EXPECT_EQ(sendTo[0]->text(), "New Format");
    EXPECT_EQ(sendTo[1]->text(), "Folder/Disk");
    EXPECT_EQ(sendTo[2], pop()->blkVFItem());
    EXPECT_EQ(sendTo[3], pop()->mVFItem().first());

    // In a library node: no Move entries; Delete takes files out of the library.
    select("_artBand");
    ASSERT_EQ(listed().size(), 4);
    QMenu* menu = rightClickRow(1);
    ASSERT_EQ(menu, pop()) << "the right click selects the row and pops the menu up";
    EXPECT_EQ(view()->selectedRows(), QList<int>({1}));
    EXPECT_FALSE(pop()->entry(ListPopMenu::MoveUp)->isVisible());
    EXPECT_FALSE(pop()->entry(ListPopMenu::MoveDown)->isVisible());
    EXPECT_FALSE(pop()->entry(ListPopMenu::FolderSeparator)->isVisible());
    EXPECT_TRUE(pop()->entry(ListPopMenu::Delete)->isEnabled());
    EXPECT_FALSE(pop()->entry(ListPopMenu::Properties)->isEnabled()) << "nobody answers it";
    for (int i : {ListPopMenu::PlayExternal, ListPopMenu::EnqueueExternal, ListPopMenu::Copy,
                  ListPopMenu::BrowseFolder}) {
        EXPECT_FALSE(pop()->entry(i)->isEnabled()) << i;
        EXPECT_TRUE(pop()->entry(i)->isVisible()) << i;
    }
    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    // In a folder: Move Up and Move Down appear; the external player follows its setting;
    // Properties works once the window answers it.
    settings.WinampMenu = false;
    QSignalSpy properties(pop(), &ListPopMenu::propertiesRequested);
    select(NodeKeys::virtualFolderKey(mix));
    menu = rightClickRow(0);
    ASSERT_EQ(menu, pop());
    EXPECT_TRUE(pop()->entry(ListPopMenu::MoveUp)->isVisible());
    EXPECT_TRUE(pop()->entry(ListPopMenu::MoveDown)->isVisible());
    EXPECT_TRUE(pop()->entry(ListPopMenu::Delete)->isEnabled());
    EXPECT_FALSE(pop()->entry(ListPopMenu::PlayExternal)->isVisible());
    EXPECT_FALSE(pop()->entry(ListPopMenu::PlayExternal - 1)->isVisible());
    EXPECT_TRUE(pop()->entry(ListPopMenu::Properties)->isEnabled());
    clickEntry(menu, pop()->entry(ListPopMenu::Properties));
    EXPECT_EQ(properties.count(), 1);

    // No selection, no menu.
    view()->clearSelection();
    QTest::mouseClick(view()->viewport(), Qt::RightButton, {},
                      QPoint(10, view()->viewport()->height() - 5));
    QTest::qWait(20);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(FolderWindow, PlayPlaysTheFocusedFile) {
    RecordingShell shell;
    settings.MPDefaultPlayer = false; // the desktop's player
    select("_artBand");
    QMenu* menu = rightClickRow(2);
    ASSERT_EQ(menu, pop());
    clickEntry(menu, pop()->entry(ListPopMenu::Play));
    EXPECT_EQ(shell.opened, QStringList({music() + "/c.mp3"}));
    EXPECT_EQ(lib.GetFileField(idOf("c.mp3"), FileField::PlayCount).toInt(), 1);
}

TEST_F(FolderWindow, SendToAddsTheSelectionInListOrder) {
    const qint32 other = lib.VirtualFolders()->FindFolder("Another", true);
    browser->MakeTree(TreeSection::VirtualFolders);
    EXPECT_EQ(visibleFolderItems(),
              QStringList({"Another=" + QString::number(other), "Mix=" + QString::number(mix)}));

    select("_artBand");
    clickRow(3);
    clickRow(1, Qt::ControlModifier);
    QMenu* menu = rightClickRow(1);
    ASSERT_EQ(menu, pop());
    EXPECT_EQ(view()->selectedRows(), QList<int>({1, 3})) << "the right click keeps the selection";
    clickEntry(menu, pop()->entry(ListPopMenu::SendTo));
    QMenu* sub = pop()->sendToMenu();
    ASSERT_TRUE(QTest::qWaitFor([sub] { return sub->isVisible(); }, 2000));
    clickEntry(sub, pop()->mVFItem().first());
    EXPECT_EQ(folder(other), QStringList({"b.mp3", "d.mp3"}));
    EXPECT_EQ(listed(), QStringList({"a.mp3", "b.mp3", "c.mp3", "d.mp3"})) << "the list stays";
    EXPECT_EQ(view()->selectedRows(), QList<int>({1, 3}));

    // Dropping onto a folder node adds too; a folder gone meanwhile takes nothing.
    emit tree()->filesDropped(NodeKeys::virtualFolderKey(other),
                              {QStringLiteral("k%1").arg(idOf("a.mp3"))});
    EXPECT_EQ(folder(other), QStringList({"b.mp3", "d.mp3", "a.mp3"}));
    emit tree()->filesDropped(NodeKeys::virtualFolderKey(9999),
                              {QStringLiteral("k%1").arg(idOf("a.mp3"))});

    // With the folders switched off in the View menu, Send to offers none.
    form->menus().mnuViewVFolders->trigger();
    ASSERT_FALSE(settings.ShowVFolders);
    EXPECT_TRUE(visibleFolderItems().isEmpty());
    EXPECT_FALSE(pop()->blkVFItem()->isVisible());
    browser->MakeTree();
    EXPECT_TRUE(visibleFolderItems().isEmpty());
    form->menus().mnuViewVFolders->trigger();
    EXPECT_EQ(visibleFolderItems().size(), 2);
}

TEST_F(FolderWindow, NewFolderIsNamedByTheCounterAndEditedInPlace) {
    lib.VirtualFolders()->FindFolder(english.Text(28), true);
    browser->MakeTree(TreeSection::VirtualFolders);
    QTreeWidgetItem* root = tree()->node("_mfr");
    ASSERT_NE(root, nullptr);
    tree()->scrollToItem(root);
    QTest::mouseClick(tree()->viewport(), Qt::RightButton, {},
                      tree()->visualItemRect(root).center());
    QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_EQ(menu, browser->popAction());
    QAction* newEntry = menu->actions().at(0);
    ASSERT_TRUE(newEntry->isVisible());
    ASSERT_TRUE(newEntry->isEnabled());
    // The offscreen platform hands no focus back to the window when a popup
    // closes (a desktop does): the menu goes first, then its entry runs.
    QTest::keyClick(menu, Qt::Key_Escape);
    QTest::qWait(50);
    newEntry->trigger();

    const qint32 id = lib.VirtualFolders()->FindFolder(english.Text(28) + "1", false);
    ASSERT_GT(id, 0) << "the base name is taken: the counter starts at 1";
    const QString key = NodeKeys::virtualFolderKey(id);
    EXPECT_EQ(tree()->selectedKey(), key);
    EXPECT_TRUE(visibleFolderItems().contains(english.Text(28) + "1=" + QString::number(id)));
    QLineEdit* editor = nodeEditor();
    ASSERT_NE(editor, nullptr) << "the new node is being edited";
    EXPECT_EQ(editor->text(), english.Text(28) + "1");
    editor->selectAll();
    QTest::keyClicks(editor, "  Road Trip ");
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::qWait(50);
    ASSERT_TRUE(lib.VirtualFolders()->SelectFolder(id));
    EXPECT_EQ(lib.VirtualFolders()->CurrentName(), "Road Trip");
    EXPECT_EQ(tree()->node(key)->text(0), "Road Trip") << "the name as stored";
    EXPECT_TRUE(form->statusPanel(3).endsWith(": Road Trip")) << form->statusPanel(3).toStdString();
    QStringList children;
    for (int i = 0; i < root->childCount(); ++i)
        children << root->child(i)->text(0);
    EXPECT_EQ(children, QStringList({"Mix", english.Text(28), "Road Trip"})) << "re-sorted";
    EXPECT_TRUE(visibleFolderItems().contains("Road Trip=" + QString::number(id)));

    // A name another folder has is refused: the node keeps the stored one.
    emit tree()->nodeRenamed(key, "Road Trip", "mix");
    EXPECT_EQ(tree()->node(key)->text(0), "Road Trip");

    // The menu's Rename edits in place as well.
    QTreeWidgetItem* node = tree()->node(key);
    QTest::mouseClick(tree()->viewport(), Qt::RightButton, {},
                      tree()->visualItemRect(node).center());
    menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_EQ(menu, browser->popAction());
    ASSERT_TRUE(menu->actions().at(3)->isVisible());
    QTest::keyClick(menu, Qt::Key_Escape);
    QTest::qWait(50);
    menu->actions().at(3)->trigger();
    editor = nodeEditor();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "Drive");
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::qWait(50);
    EXPECT_EQ(tree()->node(key)->text(0), "Drive");
}

TEST_F(FolderWindow, DeletingAFolderAsksNothingAndKeepsTheFiles) {
    select(NodeKeys::virtualFolderKey(mix));
    ASSERT_EQ(listed().size(), 4);
    ASSERT_TRUE(browser->preparePopAction());
    QAction* remove = browser->popAction()->actions().at(4);
    ASSERT_TRUE(remove->isVisible());
    ASSERT_TRUE(remove->isEnabled());
    remove->trigger();
    EXPECT_TRUE(dialogs.asked.isEmpty());
    EXPECT_EQ(tree()->node(NodeKeys::virtualFolderKey(mix)), nullptr);
    EXPECT_EQ(tree()->selectedKey(), "_mfr");
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_EQ(lib.VirtualFolders()->FolderCount(), 0);
    EXPECT_TRUE(visibleFolderItems().isEmpty()) << "the last folder's entry goes too";
    EXPECT_GT(idOf("a.mp3"), 0);
}

TEST_F(FolderWindow, DeleteKeyInsideAFolderOffersThreeChoices) {
    const qint32 other = lib.VirtualFolders()->FindFolder("Other", true);
    lib.VirtualFolders()->AddFile(idOf("b.mp3"), other);
    lib.VirtualFolders()->AddFile(idOf("d.mp3"), other);
    browser->MakeTree(TreeSection::VirtualFolders);
    select(NodeKeys::virtualFolderKey(mix));
    clickRow(1);
    clickRow(3, Qt::ControlModifier);

    dialogs.options = {-1};
    QTest::keyClick(view(), Qt::Key_Delete);
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].title, english.Text(22));
    EXPECT_EQ(dialogs.asked[0].text,
              QStringList({english.Text(23), english.Text(24), english.Text(25)}).join('\n'));
    EXPECT_EQ(folder(mix).size(), 4) << "Cancel does nothing";

    dialogs.options = {0};
    QTest::keyClick(view(), Qt::Key_Delete);
    EXPECT_EQ(folder(mix), QStringList({"a.mp3", "c.mp3"}));
    EXPECT_EQ(listed(), QStringList({"a.mp3", "c.mp3"})) << "the list is refilled";
    EXPECT_EQ(folder(other), QStringList({"b.mp3", "d.mp3"})) << "other folders keep them";
    EXPECT_GT(idOf("b.mp3"), 0) << "the library keeps them";

    // From the menu, choice 1: out of the library, still on disk.
    QMenu* menu = rightClickRow(0);
    ASSERT_EQ(menu, pop());
    dialogs.options = {1};
    clickEntry(menu, pop()->entry(ListPopMenu::Delete));
    EXPECT_EQ(idOf("a.mp3"), 0);
    EXPECT_TRUE(QFile::exists(music() + "/a.mp3"));
    EXPECT_EQ(listed(), QStringList({"c.mp3"}));
}

TEST_F(FolderWindow, DeleteOutsideAFolderOffersTheLibraryOrTheDisk) {
    select("_artBand");
    clickRow(0);
    clickRow(1, Qt::ControlModifier);

    dialogs.options = {-1};
    QTest::keyClick(view(), Qt::Key_Delete);
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].title, english.Text(22));
    EXPECT_EQ(dialogs.asked[0].text, QStringList({english.Text(24), english.Text(25)}).join('\n'));
    EXPECT_EQ(listed().size(), 4) << "Cancel does nothing";

    // Choice 0: out of the library (and its folders), still on disk; the tree follows.
    dialogs.options = {0};
    QTest::keyClick(view(), Qt::Key_Delete);
    EXPECT_EQ(idOf("a.mp3"), 0);
    EXPECT_EQ(idOf("b.mp3"), 0);
    EXPECT_TRUE(QFile::exists(music() + "/a.mp3"));
    EXPECT_EQ(folder(mix), QStringList({"c.mp3", "d.mp3"}));
    EXPECT_EQ(listed(), QStringList({"c.mp3", "d.mp3"}));

    // Choice 1 from the menu: off the disk too. A file already gone from the disk
    // still leaves the library.
    ASSERT_TRUE(QFile::remove(music() + "/d.mp3"));
    clickRow(0);
    clickRow(1, Qt::ControlModifier);
    QMenu* menu = rightClickRow(1);
    ASSERT_EQ(menu, pop());
    dialogs.options = {1};
    clickEntry(menu, pop()->entry(ListPopMenu::Delete));
    EXPECT_EQ(idOf("c.mp3"), 0);
    EXPECT_EQ(idOf("d.mp3"), 0);
    EXPECT_FALSE(QFile::exists(music() + "/c.mp3"));
    EXPECT_TRUE(QFile::exists(music() + "/b.mp3")) << "only the chosen files go";
    EXPECT_TRUE(listed().isEmpty());
}

TEST_F(FolderWindow, MoveUpAndDownFollowTheFocusedRow) {
    select(NodeKeys::virtualFolderKey(mix));
    ASSERT_EQ(listed(), QStringList({"a.mp3", "b.mp3", "c.mp3", "d.mp3"}));

    // Move Down of position 2 from the menu: the file goes to 3 and stays selected.
    QMenu* menu = rightClickRow(1);
    ASSERT_EQ(menu, pop());
    clickEntry(menu, pop()->entry(ListPopMenu::MoveDown));
    EXPECT_EQ(listed(), QStringList({"a.mp3", "c.mp3", "b.mp3", "d.mp3"}));
    EXPECT_EQ(folder(mix), listed());
    EXPECT_EQ(view()->selectedRows(), QList<int>({2}));
    EXPECT_EQ(view()->currentIndex().row(), 2);

    menu = rightClickRow(2);
    clickEntry(menu, pop()->entry(ListPopMenu::MoveUp));
    EXPECT_EQ(listed(), QStringList({"a.mp3", "b.mp3", "c.mp3", "d.mp3"}));
    EXPECT_EQ(view()->selectedRows(), QList<int>({1}));

    // The edges and a selection of two do nothing.
    clickRow(0);
    browser->MoveFocused(false);
    clickRow(3);
    browser->MoveFocused(true);
    clickRow(1);
    clickRow(2, Qt::ControlModifier);
    browser->MoveFocused(true);
    browser->MoveFocused(false);
    EXPECT_EQ(folder(mix), QStringList({"a.mp3", "b.mp3", "c.mp3", "d.mp3"}));
}

TEST_F(FolderWindow, TheMenuFollowsTheLanguage) {
    clsMUI german;
    german.SetLangFolder(mainMod::LangFolder());
    german.SetLCID(1031);
    ASSERT_EQ(german.LCID(), 1031);
    FormLang::SetFormLang(german, form.get());
    EXPECT_EQ(pop()->sendToMenu()->title(), german.TextObj("mainForm.mLPop(5).Caption"));
    EXPECT_EQ(visibleFolderItems(), QStringList({"Mix=" + QString::number(mix)}))
        << "folder names are no language texts";
}
