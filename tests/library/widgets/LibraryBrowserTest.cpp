// The library browser on a real library: tree, node queries, list, search,
// drops and album moves.
#include "library/widgets/LibraryBrowser.h"
#include "components/FileRecord.h"
#include "core/AppInfo.h"
#include "core/Shell.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "library/NodeKeys.h"
#include "library/widgets/FileListView.h"
#include "library/widgets/LibraryTreeWidget.h"
#include "library/widgets/ListPopMenu.h"
#include "library/widgets/mainForm.h"
#include "player/ExternalPlayer.h"
#include "support/LangFixtures.h"
#include "support/LibraryFixture.h"
#include "support/RecordingShell.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"
#include "util/widgets/Popups.h"
#include "util/widgets/popMsgClass.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>

namespace {

struct FileSpec {
    const char* name;
    const char* artist;
    const char* album;
    const char* title;
    const char* track;
    const char* year;
};

const FileSpec kFiles[] = {
    {"a1.mp3", "ABBA", "Arrival", "Dancing Queen", "2", "1976"},
    {"a2.mp3", "ABBA", "Arrival", "Money, Money, Money", "7", "1976"},
    {"a3.mp3", "abba", "Gold", "Chiquitita", "", "1979"},
    {"b1.mp3", "Sinéad O'Connor", "I Do Not Want", "Nothing Compares 2 U", "1", "1990"},
    {"c1.mp3", "", "", "Untitled", "", "1999"},
    {"c2.mp3", "  ", "Demos", "Sketch 1999", "3", ""},
    {"d1.mp3", "The Beatles", "Help!", "Yesterday", "13", "1965"},
};

class Browser : public LibraryTest {
protected:
    ScopedEnv config{"QUAVERO_CONFIG_DIR", m_dir.path() + "/cfg"};
    ScriptedDialogs dialogs;
    clsMUI english;
    popMsgClass popups;
    AppSettings settings = DefaultSettings();
    std::unique_ptr<mainForm> form;
    std::unique_ptr<LibraryBrowser> browser;

    void SetUp() override {
        LibraryTest::SetUp();
        ASSERT_TRUE(UseShippedLanguage(english));
        mainMod::SetPopups(&popups);
        for (const FileSpec& f : kFiles) {
            corpus::TagFields tags;
            tags.artist = QString::fromUtf8(f.artist);
            tags.album = QString::fromUtf8(f.album);
            tags.title = QString::fromUtf8(f.title);
            tags.track = QString::fromUtf8(f.track);
            tags.year = QString::fromUtf8(f.year);
            ASSERT_TRUE(fixtures::WriteMp3(music() + "/" + f.name, tags));
        }
        addMusicFolder();
        scan();
        for (ColumnSetting& c : settings.Columns)
            c.Show = true;
        form = std::make_unique<mainForm>(settings);
        form->EmptyArtistText = form->EmptyAlbumText = english.Text(141);
        browser = std::make_unique<LibraryBrowser>(*form, lib);
        browser->BuildColumns();
        browser->MakeTree();
    }
    void TearDown() override {
        browser.reset();
        form.reset();
        mainMod::SetPopups(nullptr);
        mainMod::SetLang(nullptr);
    }
    LibraryTreeWidget* tree() { return form->tv1; }
    void select(const QString& key) {
        QTreeWidgetItem* item = tree()->node(key);
        ASSERT_NE(item, nullptr) << NodeKeys::printable(key).toStdString();
        tree()->setCurrentItem(item);
    }
    QStringList listed(int section = 0) {
        QStringList out;
        for (int r = 0; r < browser->model().rowCount(); ++r)
            out << browser->model().text(r, section);
        return out;
    }
    QString unknown() const { return english.Text(141); }
};

} // namespace

TEST_F(Browser, TreeSeparatesLetterCaseAndGathersBlankTags) {
    QTreeWidgetItem* libraryRoot = tree()->node("_lib");
    ASSERT_NE(libraryRoot, nullptr);
    EXPECT_EQ(libraryRoot->text(0), "Library");
    QStringList artists;
    for (int i = 0; i < libraryRoot->childCount(); ++i)
        artists << libraryRoot->child(i)->text(0);
    EXPECT_EQ(artists, QStringList({unknown(), "ABBA", "abba", "Sinéad O'Connor", "The Beatles"}));

    QTreeWidgetItem* blank = tree()->node(NodeKeys::artistKey(unknown()));
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(blank->foreground(0).color(), QColor(0, 0, 255));
    EXPECT_EQ(blank->childCount(), 2) << "the blank album and Demos";
    QTreeWidgetItem* blankAlbum = tree()->node(NodeKeys::albumKey(unknown(), unknown()));
    ASSERT_NE(blankAlbum, nullptr);
    EXPECT_EQ(blankAlbum->foreground(0).color(), QColor(0, 0, 255));
    EXPECT_NE(tree()->node("_artABBA")->foreground(0).color(), QColor(0, 0, 255));

    // Filters: only the most-played node without saved filters; ratings 5..0.
    EXPECT_EQ(tree()->node("_fil")->childCount(), 1);
    EXPECT_EQ(tree()->node("_flt0")->text(0), english.Text(8));
    EXPECT_EQ(tree()->node("_rat")->child(0)->text(0), english.Text(9));
    EXPECT_EQ(tree()->node("_rat")->child(5)->data(0, LibraryTreeWidget::KeyRole), "_rte0");
    EXPECT_EQ(tree()->node("_cdl"), nullptr) << "no audio CDs";
}

TEST_F(Browser, BranchFlagsAndSingleBranchRebuilds) {
    settings.ShowRatings = false;
    browser->MakeTree();
    EXPECT_EQ(tree()->node("_rat"), nullptr);
    browser->MakeTree(TreeSection::Ratings);
    EXPECT_EQ(tree()->node("_rat"), nullptr) << "a section-3 build adds nothing";

    settings.ShowRatings = true;
    lib.VirtualFolders()->FindFolder("Party", true);
    QTreeWidgetItem* filters = tree()->node("_fil");
    browser->MakeTree(TreeSection::VirtualFolders);
    EXPECT_EQ(tree()->node("_fil"), filters) << "other branches stay as they are";
    ASSERT_EQ(tree()->node("_mfr")->childCount(), 1);
    EXPECT_EQ(tree()->node("_mfr")->child(0)->text(0), "Party");
    EXPECT_EQ(tree()->topLevelItem(0)->data(0, LibraryTreeWidget::KeyRole), "_lib");

    browser->setAudioCdSource([] { return QStringList{"CD-ROM 1", "CD-ROM 2"}; });
    browser->MakeTree(TreeSection::AudioCds);
    EXPECT_NE(tree()->node("_cdi2"), nullptr);
    browser->setAudioCdSource([] { return QStringList{"CD-ROM 1"}; });
    browser->MakeTree(TreeSection::AudioCds);
    EXPECT_NE(tree()->node("_cdi1"), nullptr);
    EXPECT_EQ(tree()->node("_cdi2"), nullptr);
    browser->setAudioCdSource(nullptr);
    browser->MakeTree(TreeSection::AudioCds);
    EXPECT_EQ(tree()->node("_cdl"), nullptr);
}

TEST_F(Browser, NodesListTheirFilesExactly) {
    select("_artABBA");
    EXPECT_EQ(listed(), QStringList({"a1.mp3", "a2.mp3"}));
    EXPECT_EQ(browser->list().mode(), ListMode::Library);
    select("_artabba");
    EXPECT_EQ(listed(), QStringList({"a3.mp3"}));
    select(NodeKeys::artistKey("Sinéad O'Connor"));
    EXPECT_EQ(listed(), QStringList({"b1.mp3"}));
    select(NodeKeys::albumKey(unknown(), unknown()));
    EXPECT_EQ(listed(), QStringList({"c1.mp3"}));
    EXPECT_EQ(form->statusPanel(3), " Album: " + unknown() + " by " + unknown());
    EXPECT_EQ(form->statusPanel(5), " 1 file");
    EXPECT_FALSE(form->statusPanel(4).isEmpty());

    lib.SetFileField(idOf("d1.mp3"), FileField::Rating, 0);
    lib.SetFileField(idOf("a1.mp3"), FileField::Rating, 4);
    select("_rte4");
    EXPECT_EQ(listed(), QStringList({"a1.mp3"}));
    EXPECT_EQ(browser->list().mode(), ListMode::Rating);

    // A node without a query leaves the list as it was.
    select("_lib");
    EXPECT_EQ(listed(), QStringList({"a1.mp3"}));
    EXPECT_EQ(form->statusPanel(3), " Library");
    EXPECT_EQ(tree()->property("tag").toString(), "Library");
}

TEST_F(Browser, ColumnsFormatAndSortByShownText) {
    select(NodeKeys::albumKey(unknown(), "Demos"));
    EXPECT_EQ(listed(1), QStringList({"  3"}));
    select("_artABBA");
    EXPECT_EQ(listed(1), QStringList({"  2", "  7"}));
    EXPECT_EQ(listed(11).first(), music() + "/");

    FileListItemModel& model = browser->model();
    browser->headerClicked(2); // title: no icon yet, keeps the ascending order
    EXPECT_EQ(model.sortOrder(), Qt::AscendingOrder);
    EXPECT_EQ(listed(2), QStringList({"Dancing Queen", "Money, Money, Money"}));
    EXPECT_EQ(model.headerData(2, Qt::Horizontal, FileListModel::SortIconRole), "down");
    browser->headerClicked(2);
    EXPECT_EQ(listed(2), QStringList({"Money, Money, Money", "Dancing Queen"}));
    EXPECT_EQ(model.headerData(2, Qt::Horizontal, FileListModel::SortIconRole), "up");
    browser->headerClicked(1); // another header: the order stays descending
    EXPECT_EQ(listed(1), QStringList({"  7", "  2"}));
    EXPECT_FALSE(model.headerData(2, Qt::Horizontal, FileListModel::SortIconRole).isValid());
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, FileListModel::SortIconRole), "up");
    EXPECT_EQ(model.rowOfKey(QStringLiteral("k%1").arg(idOf("a1.mp3"))), 1);
    EXPECT_EQ(model.tag(1), music() + "/a1.mp3");
}

TEST_F(Browser, VirtualFolderModeSurvivesLastQuery) {
    const qint32 folder = lib.VirtualFolders()->FindFolder("Mix", true);
    lib.VirtualFolders()->AddFile(idOf("d1.mp3"), folder);
    lib.VirtualFolders()->AddFile(idOf("a2.mp3"), folder);
    browser->MakeTree(TreeSection::VirtualFolders);
    bool shown = false;
    QObject::connect(browser.get(), &LibraryBrowser::virtualFolderEntriesShown,
                     [&](bool s) { shown = s; });
    select(NodeKeys::virtualFolderKey(folder));
    EXPECT_TRUE(shown);
    EXPECT_EQ(listed(), QStringList({"d1.mp3", "a2.mp3"})) << "in folder order";
    EXPECT_EQ(browser->list().mode(), ListMode::VirtualFolder);
    EXPECT_EQ(browser->list().virtualFolderId(), folder);
    browser->FillList(FileList::LastQuery, ListMode::Keep);
    EXPECT_EQ(browser->list().mode(), ListMode::VirtualFolder);
    EXPECT_EQ(listed(), QStringList({"d1.mp3", "a2.mp3"}));
}

TEST_F(Browser, QuickSearchRules) {
    select("_artABBA");
    form->sText->setText("  ab ");
    form->sBut->click();
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].text, english.Text(31));
    EXPECT_EQ(listed().size(), 2) << "the list stays";

    form->sText->setText(" 1999 ");
    QTest::keyClick(form->sText, Qt::Key_Return);
    EXPECT_EQ(listed(), QStringList({"c1.mp3", "c2.mp3"})) << "the year, and a title";
    EXPECT_EQ(browser->list().mode(), ListMode::Search);
    EXPECT_EQ(form->sText->selectedText(), " 1999 ") << "the whole box is selected";
    EXPECT_EQ(form->statusPanel(3), english.Text(35, {"1999"}));
    ASSERT_FALSE(popups.forms().isEmpty());

    form->sText->setText("money queen");
    form->sBut->click();
    EXPECT_TRUE(listed().isEmpty()) << "words in the given order only";
    EXPECT_EQ(form->statusPanel(5), " " + english.Text(55));
    form->sText->setText("SINÉAD");
    form->sBut->click();
    EXPECT_EQ(listed(), QStringList({"b1.mp3"})) << "accented letters ignore case too";

    QTest::keyClick(form->llist, Qt::Key_F5); // repeats the search
    EXPECT_EQ(listed(), QStringList({"b1.mp3"}));
    EXPECT_EQ(browser->list().lastQuery(), "?SINÉAD");
}

TEST_F(Browser, SelectionReturnsToTheNearestAncestor) {
    select(NodeKeys::albumKey("ABBA", "Arrival"));
    ASSERT_EQ(listed().size(), 2);
    ASSERT_TRUE(conn().execute("delete from files where md_album='Arrival'").ok());
    browser->MakeTree(TreeSection::Library);
    EXPECT_EQ(tree()->selectedKey(), "_lib") << "ABBA has no files left";
    ASSERT_TRUE(conn().execute("delete from files where filename='a3.mp3'").ok());

    select(NodeKeys::albumKey("The Beatles", "Help!"));
    browser->MakeTree(TreeSection::All,
                      "_lib\\_artThe Beatles\\_albThe Beatles" + QString(QChar(0)) + "Rubber Soul");
    EXPECT_EQ(tree()->selectedKey(), "_artThe Beatles");
    EXPECT_TRUE(tree()->currentItem()->isExpanded());
    EXPECT_EQ(listed(), QStringList({"d1.mp3"}));
}

TEST_F(Browser, DropsOntoEachNodeKind) {
    const QString a3 = QStringLiteral("k%1").arg(idOf("a3.mp3"));
    const QString d1 = QStringLiteral("k%1").arg(idOf("d1.mp3"));
    const qint32 folder = lib.VirtualFolders()->FindFolder("Mix", true);
    browser->MakeTree(TreeSection::VirtualFolders);

    emit tree()->filesDropped(NodeKeys::virtualFolderKey(folder), {a3, d1});
    EXPECT_EQ(
        rows(QStringLiteral("select FL_ID from VFFILES where VF_ID=%1 order by FINDEX").arg(folder),
             {"FL_ID"}),
        QStringList({QString::number(idOf("a3.mp3")), QString::number(idOf("d1.mp3"))}));

    emit tree()->filesDropped("_rte5", {a3});
    EXPECT_EQ(lib.GetFileField(idOf("a3.mp3"), FileField::Rating).toInt(), 5);

    emit tree()->filesDropped("_artABBA", {a3});
    FileRecord record;
    ASSERT_TRUE(lib.GetFileRecord(music() + "/a3.mp3", record));
    EXPECT_EQ(record.artist, "ABBA");
    EXPECT_EQ(tree()->node("_artabba"), nullptr) << "the library branch was rebuilt";

    emit tree()->filesDropped(NodeKeys::albumKey("Sinéad O'Connor", "I Do Not Want"), {d1});
    ASSERT_TRUE(lib.GetFileRecord(music() + "/d1.mp3", record));
    EXPECT_EQ(record.artist, "Sinéad O'Connor");
    EXPECT_EQ(record.album, "I Do Not Want");
    EXPECT_NE(tree()->node(NodeKeys::albumKey("Sinéad O'Connor", "I Do Not Want")), nullptr);
    EXPECT_EQ(tree()->node("_artThe Beatles"), nullptr);
}

TEST_F(Browser, AlbumsMoveBetweenArtists) {
    emit tree()->albumDropped(NodeKeys::albumKey("abba", "Gold"), "_artThe Beatles");
    FileRecord record;
    ASSERT_TRUE(lib.GetFileRecord(music() + "/a3.mp3", record));
    EXPECT_EQ(record.artist, "The Beatles");
    QTreeWidgetItem* moved = tree()->node(NodeKeys::albumKey("The Beatles", "Gold"));
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->parent(), tree()->node("_artThe Beatles"));
    EXPECT_EQ(moved->parent()->child(0), moved) << "children sorted: Gold before Help!";
    EXPECT_EQ(tree()->node("_artabba"), nullptr) << "the emptied artist goes";
    EXPECT_EQ(tree()->currentItem(), moved);

    // Onto an artist that already has the album: the dragged node goes.
    ASSERT_TRUE(
        fixtures::WriteMp3(music() + "/a4.mp3", {"ABBA", "Gold", "Waterloo", "", "", "", ""}));
    scan();
    browser->MakeTree(TreeSection::Library);
    emit tree()->albumDropped(NodeKeys::albumKey("The Beatles", "Gold"), "_artABBA");
    EXPECT_EQ(tree()->node(NodeKeys::albumKey("The Beatles", "Gold")), nullptr);
    EXPECT_NE(tree()->node(NodeKeys::albumKey("ABBA", "Gold")), nullptr);
    EXPECT_EQ(
        rows("select filename from files where md_album='Gold' order by filename", {"filename"}),
        QStringList({"a3.mp3", "a4.mp3"}));
    EXPECT_EQ(rows("select md_artist from files where filename='a3.mp3'", {"md_artist"}),
              QStringList({"ABBA"}));
}

TEST_F(Browser, RenamingArtistsAndFolders) {
    emit tree()->nodeRenamed("_artabba", "abba", "Abba Tribute");
    EXPECT_EQ(rows("select md_artist from files where filename='a3.mp3'", {"md_artist"}),
              QStringList({"Abba Tribute"}));
    EXPECT_NE(tree()->node("_artAbba Tribute"), nullptr);
    EXPECT_EQ(tree()->selectedKey(), "_artAbba Tribute");

    emit tree()->nodeRenamed(NodeKeys::albumKey(unknown(), "Demos"), "Demos", "Early Demos");
    EXPECT_NE(tree()->node(NodeKeys::albumKey(unknown(), "Early Demos")), nullptr);

    const qint32 folder = lib.VirtualFolders()->FindFolder("zz", true);
    lib.VirtualFolders()->FindFolder("mm", true);
    browser->MakeTree(TreeSection::VirtualFolders);
    emit tree()->nodeRenamed(NodeKeys::virtualFolderKey(folder), "zz", "aa");
    EXPECT_EQ(tree()->node("_mfr")->child(0)->text(0), "aa") << "re-sorted";

    select("_flt0");
    EXPECT_TRUE(browser->preparePopAction());
    const QList<QAction*> entries = browser->popAction()->actions();
    EXPECT_TRUE(entries[1]->isVisible()) << "Edit for filters";
    EXPECT_FALSE(entries[0]->isVisible());
    select("_lib");
    EXPECT_FALSE(browser->preparePopAction());
}

TEST_F(Browser, DoubleClickPlaysAndCountsSelectionCommands) {
    RecordingShell shell;
    settings.MPDefaultPlayer = false;
    select("_artABBA");
    browser->playRow(1);
    EXPECT_EQ(shell.opened, QStringList({music() + "/a2.mp3"}));
    EXPECT_EQ(lib.GetFileField(idOf("a2.mp3"), FileField::PlayCount).toInt(), 1);
    EXPECT_TRUE(lib.GetFileField(idOf("a2.mp3"), FileField::LastPlayed).toDateTime().isValid());
    browser->MakeTree(TreeSection::Filters);
    select("_flt0");
    EXPECT_EQ(listed(), QStringList({"a2.mp3"})) << "most played";

    select(NodeKeys::artistKey(unknown()));
    form->llist->selectionModel()->select(browser->model().index(0, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    form->menus().mnuInvertSelection->trigger();
    EXPECT_EQ(form->llist->selectedRows(), QList<int>({1}));
    form->menus().mnuSelectAll->trigger();
    EXPECT_EQ(form->llist->selectedRows(), QList<int>({0, 1}));
}

namespace {

// The album node "Gold" of "abba", shown on screen so that mouse events land on it.
struct ShownTree {
    LibraryTreeWidget* tree;
    QTreeWidgetItem* gold;
    QPoint goldCentre() const { return tree->visualItemRect(gold).center(); }
    QLineEdit* editor() const {
        for (QLineEdit* line : tree->viewport()->findChildren<QLineEdit*>())
            if (line->isVisible()) return line;
        return nullptr;
    }
    bool editing() const { return editor() != nullptr; }
    void waitPastDoubleClick() const { QTest::qWait(QApplication::doubleClickInterval() + 150); }
};

} // namespace

TEST_F(Browser, RenamingStartsOnlyAsTheDesktopConventionsSay) {
    QSignalSpy renamed(tree(), &LibraryTreeWidget::nodeRenamed);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    select("_lib");
    QTreeWidgetItem* gold = tree()->node(NodeKeys::albumKey("abba", "Gold"));
    ASSERT_NE(gold, nullptr);
    tree()->scrollToItem(gold);
    const ShownTree shown{tree(), gold};

    // One click on an unselected node, then typing: the node is selected, nothing is renamed.
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, shown.goldCentre());
    shown.waitPastDoubleClick();
    EXPECT_EQ(tree()->currentItem(), gold);
    EXPECT_FALSE(shown.editing());
    QTest::keyClick(tree(), Qt::Key_Q);
    QTest::keyClick(tree(), Qt::Key_Return);
    QTest::qWait(50);
    EXPECT_EQ(renamed.count(), 0);
    EXPECT_EQ(rows("select md_album from files where filename='a3.mp3'", {"md_album"}),
              QStringList({"Gold"}));

    // A right click selects without editing either.
    QTreeWidgetItem* arrival = tree()->node(NodeKeys::albumKey("ABBA", "Arrival"));
    ASSERT_NE(arrival, nullptr);
    tree()->scrollToItem(arrival);
    QTimer::singleShot(300, [] {
        if (QWidget* menu = QApplication::activePopupWidget()) menu->close();
    });
    QTest::mouseClick(tree()->viewport(), Qt::RightButton, {},
                      tree()->visualItemRect(arrival).center());
    shown.waitPastDoubleClick();
    EXPECT_EQ(tree()->currentItem(), arrival);
    EXPECT_FALSE(shown.editing());
    tree()->scrollToItem(gold);

    // A second, slow click on the selected node edits it.
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, shown.goldCentre());
    shown.waitPastDoubleClick();
    EXPECT_FALSE(shown.editing());
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, shown.goldCentre());
    shown.waitPastDoubleClick();
    EXPECT_TRUE(shown.editing());
    QTest::keyClick(shown.editor(), Qt::Key_Escape);
    EXPECT_FALSE(shown.editing());
    EXPECT_EQ(renamed.count(), 0);

    // F2 edits the selected node; Enter hands the new text to the rename.
    QTest::keyClick(tree(), Qt::Key_F2);
    ASSERT_TRUE(shown.editing());
    QLineEdit* line = shown.editor();
    line->selectAll();
    QTest::keyClicks(line, "Gold Live");
    QTest::keyClick(line, Qt::Key_Return);
    QTest::qWait(50); // the delegate commits through a queued call
    ASSERT_EQ(renamed.count(), 1);
    EXPECT_EQ(renamed.first().at(0).toString(), NodeKeys::albumKey("abba", "Gold"));
    EXPECT_EQ(renamed.first().at(2).toString(), "Gold Live");
}

namespace {

// A library row whose file is a shell script that would leave a mark if it ran.
QString writeScript(const QString& path, const QString& mark) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(mark).toUtf8());
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                     QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    return path;
}

} // namespace

TEST_F(Browser, DoubleClickNeverStartsALibraryFileAsAProgram) {
    RecordingShell shell;
    settings.MPDefaultPlayer = false;
    // A listed song replaced by a script with the execute bit, and a real MP3
    // with mode 755, as vfat and NTFS mounts show every file.
    const QString mark = m_dir.path() + "/ran";
    QFile::remove(music() + "/a1.mp3");
    writeScript(music() + "/a1.mp3", mark);
    QFile(music() + "/a2.mp3")
        .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                        QFile::ExeOther);
    select("_artABBA");
    ASSERT_EQ(listed(), QStringList({"a1.mp3", "a2.mp3"}));

    browser->playRow(0);
    EXPECT_TRUE(shell.opened.isEmpty());
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_TRUE(dialogs.asked.first().text.contains("a1.mp3"));
    EXPECT_EQ(lib.GetFileField(idOf("a1.mp3"), FileField::PlayCount).toInt(), 0);

    browser->playRow(1);
    EXPECT_EQ(shell.opened, QStringList({music() + "/a2.mp3"}));
    EXPECT_EQ(lib.GetFileField(idOf("a2.mp3"), FileField::PlayCount).toInt(), 1);

    // The desktop shell itself hands xdg-open a URL and never runs the file.
    Shell::setCurrent(nullptr);
    const QString bin = m_dir.path() + "/bin";
    QDir().mkpath(bin);
    const QString args = m_dir.path() + "/xdg-open.args";
    {
        QFile f(bin + "/xdg-open");
        f.open(QIODevice::WriteOnly);
        // Written whole, then renamed: the test must never read it half-written.
        f.write(QStringLiteral("#!/bin/sh\nprintf '%s' \"$1\" > '%1.part' && mv '%1.part' '%1'\n")
                    .arg(args)
                    .toUtf8());
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ScopedEnv path("PATH", bin + ":" + qEnvironmentVariable("PATH"));
    ASSERT_TRUE(Shell::current().OpenDocument(music() + "/a1.mp3"));
    for (int i = 0; i < 500 && !QFile::exists(args); ++i)
        QTest::qWait(20);
    QFile got(args);
    ASSERT_TRUE(got.open(QIODevice::ReadOnly));
    EXPECT_EQ(got.readAll(), QUrl::fromLocalFile(music() + "/a1.mp3").toEncoded());
    EXPECT_FALSE(QFile::exists(mark)) << "the script ran";
    Shell::setCurrent(&shell);
}

TEST_F(Browser, DoubleClickPlaysInTheMicroPlayerByDefault) {
    RecordingShell shell;
    ASSERT_TRUE(settings.MPDefaultPlayer);
    ASSERT_TRUE(lib.SetFileField(idOf("a2.mp3"), FileField::Title, "  Padded  "));
    select("_artABBA");
    ASSERT_TRUE(form->MicroPlayer->isHidden());
    browser->playRow(1);
    EXPECT_TRUE(shell.opened.isEmpty()) << "not handed to the desktop";
    EXPECT_FALSE(form->MicroPlayer->isHidden());
    EXPECT_EQ(form->MicroPlayer->path(), music() + "/a2.mp3");
    EXPECT_EQ(form->MicroPlayer->title(), "Padded");
    EXPECT_EQ(lib.GetFileField(idOf("a2.mp3"), FileField::PlayCount).toInt(), 1);
    EXPECT_TRUE(lib.GetFileField(idOf("a2.mp3"), FileField::LastPlayed).toDateTime().isValid());
}

namespace {
class ProgramRecordingShell : public Shell {
public:
    ProgramRecordingShell() { Shell::setCurrent(this); }
    ~ProgramRecordingShell() override { Shell::setCurrent(nullptr); }
    QStringList opened;
    QList<QStringList> started;
    bool OpenDocument(const QString& path) override {
        opened << path;
        return true;
    }
    bool Execute(const QString& program, const QStringList& arguments) override {
        started << (QStringList{program} + arguments);
        return true;
    }
};
} // namespace

TEST_F(Browser, ListMenuHandsTheSelectedFilesOutInListOrder) {
    ProgramRecordingShell shell;
    ExternalPlayer::SetWinampPath("/opt/amp/amp.exe");
    form->connectPlayActions(browser.get());
    ListPopMenu* pop = browser->listPop();
    select("_artABBA");
    ASSERT_EQ(listed(), QStringList({"a1.mp3", "a2.mp3"}));
    form->llist->selectAllRows();
    const QString a1 = music() + "/a1.mp3", a2 = music() + "/a2.mp3";

    ASSERT_TRUE(pop->entry(ListPopMenu::EnqueueExternal)->isEnabled());
    pop->entry(ListPopMenu::EnqueueExternal)->trigger();
    EXPECT_EQ(shell.started, QList<QStringList>({{"/opt/amp/amp.exe", "/ADD", a1},
                                                 {"/opt/amp/amp.exe", "/ADD", a2}}));
    shell.started.clear();
    pop->entry(ListPopMenu::PlayExternal)->trigger();
    EXPECT_EQ(shell.started,
              QList<QStringList>({{"/opt/amp/amp.exe", a1}, {"/opt/amp/amp.exe", a2}}));
    ExternalPlayer::SetWinampPath(QString());

    pop->entry(ListPopMenu::Copy)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->urls(),
              QList<QUrl>({QUrl::fromLocalFile(a1), QUrl::fromLocalFile(a2)}));

    form->llist->setCurrentIndex(browser->model().index(1, 0));
    pop->entry(ListPopMenu::BrowseFolder)->trigger();
    EXPECT_EQ(shell.opened, QStringList({music() + "/"}));

    // The tree's Send To: every file of the node, into a subfolder named after it.
    const QString disk = m_dir.path() + "/disk";
    QDir().mkpath(disk);
    form->llist->clearSelection();
    dialogs.answers = {Dialogs::Yes};
    dialogs.folders = {disk};
    browser->popAction()->actions().at(6)->trigger();
    EXPECT_TRUE(QFile::exists(disk + "/ABBA/a1.mp3"));
    EXPECT_TRUE(QFile::exists(disk + "/ABBA/a2.mp3"));
}

TEST_F(Browser, RenamingReachesPaddedTagsAndCountsFilesThatCannotTakeTags) {
    ASSERT_TRUE(fixtures::WriteMp3(music() + "/p1.mp3", fixtures::ArtistOnly(" ABBA  ")));
    ASSERT_TRUE(fixtures::WriteWav(music() + "/w1.wav"));
    scan();
    // A WAV file whose row names the artist (as RIFF INFO tags would).
    ASSERT_TRUE(conn().execute("update files set md_artist='ABBA' where filename='w1.wav'"));
    browser->MakeTree();
    ASSERT_NE(tree()->node("_artABBA"), nullptr);

    emit tree()->nodeRenamed("_artABBA", "ABBA", "ABBA Live");
    EXPECT_EQ(rows("select filename from files where md_artist='ABBA Live' order by filename",
                   {"filename"}),
              QStringList({"a1.mp3", "a2.mp3", "p1.mp3"}));
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].text, english.Text(909, {"1"}));
    EXPECT_EQ(rows("select md_artist from files where filename='w1.wav'", {"md_artist"}),
              QStringList({"ABBA"}));
    // The file itself has the new name, so a rescan keeps it.
    MediaLibrary fresh;
    FileRecord record;
    ASSERT_TRUE(fresh.GetFileRecord(music() + "/p1.mp3", record));
    EXPECT_EQ(record.artist, "ABBA Live");
}

TEST_F(Browser, DragPictureIsAnIconAndTheCountNotTheRows) {
    select("_artABBA");
    const QIcon icon = browser->model().index(0, 0).data(Qt::DecorationRole).value<QIcon>();
    ASSERT_FALSE(icon.isNull());
    const QPixmap one = FileListView::dragPicture(icon, 1, form->llist->font());
    const QPixmap many = FileListView::dragPicture(icon, 1234, form->llist->font());
    // Far narrower than a row of twelve columns, and no taller than the icon.
    EXPECT_LE(one.width(), 64);
    EXPECT_LE(many.width(), 100);
    EXPECT_GT(many.width(), one.width()) << "the count is drawn";
    EXPECT_LE(many.height(), 32);
}
