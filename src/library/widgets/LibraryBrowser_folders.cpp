// Virtual folders in the windows: New, Delete and the Send-to entries from the
// tree's menu, and the file list's context menu (mLPop) with adding, removing
// and moving the files of a folder.
#include "components/FolderMemberRemoval.h"
#include "components/MediaLibrary.h"
#include "core/Dialogs.h"
#include "library/NodeKeys.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/LibraryTreeWidget.h"
#include "library/widgets/ListPopMenu.h"
#include "library/widgets/mainForm.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTimer>

namespace {

// The folder of the selected tree node; 0 for any other node.
qint32 selectedFolderId(const QString& key) {
    if (NodeKeys::prefixOf(key) != NodeKeys::VirtualFolderPrefix) return 0;
    return NodeKeys::idOf(key).toInt();
}

} // namespace

void LibraryBrowser::connectFolderActions() {
    const QList<QAction*> a = m_popAction->actions();
    connect(a[0], &QAction::triggered, this, [this] {
        if (m_form.tv1->selectedKey() == NodeKeys::VirtualFolders) NewFolder();
    });
    connect(a[4], &QAction::triggered, this, [this] {
        if (const qint32 id = selectedFolderId(m_form.tv1->selectedKey())) DeleteFolder(id);
    });
}

void LibraryBrowser::NewFolder() {
    QString name;
    const qint32 id = m_library.VirtualFolders()->CreateNumbered(langText(28), &name);
    if (id == 0) return;
    LibraryTreeWidget* tree = m_form.tv1;
    const QString key = NodeKeys::virtualFolderKey(id);
    TreeNode node;
    node.key = key;
    node.parentKey = NodeKeys::VirtualFolders;
    node.text = name;
    node.image = QStringLiteral("myf_close");
    node.selectedImage = QStringLiteral("myf_open");
    tree->addNodes({node});
    QTreeWidgetItem* item = tree->node(key);
    if (!item) return;
    tree->setCurrentItem(item);
    tree->scrollToItem(item);
    editWhenMenuClosed(key); // the user types the name at once
    RebuildSendToFolders();
}

void LibraryBrowser::editWhenMenuClosed(const QString& key) {
    // Started from the context menu, an editor opened at once would lose the focus
    // the closing menu hands back, and that ends the edit.
    QTimer::singleShot(0, this, [this, key] {
        QTreeWidgetItem* item = m_form.tv1->node(key);
        if (!item || !(item->flags() & Qt::ItemIsEditable)) return;
        // The typing goes to the tree's window, whoever had the focus before.
        m_form.activateWindow();
        m_form.tv1->setFocus(Qt::OtherFocusReason);
        m_form.tv1->editItem(item);
    });
}

void LibraryBrowser::DeleteFolder(qint32 folderId) {
    VirtualFolderStore& store = *m_library.VirtualFolders();
    if (!store.SelectFolder(folderId)) return;
    store.DeleteCurrent();
    MakeTree(TreeSection::VirtualFolders);
    FillList(QString(), ListMode::Keep);
}

void LibraryBrowser::buildListPop() {
    m_listPop = new ListPopMenu(&m_form);
    connect(this, &LibraryBrowser::virtualFolderEntriesShown, m_listPop,
            &ListPopMenu::setFolderEntriesShown);
    connect(this, &LibraryBrowser::sendToFoldersChanged, m_listPop,
            &ListPopMenu::RebuildSendToFolders);
    connect(m_listPop, &ListPopMenu::playRequested, this, [this] {
        const QModelIndex focused = m_form.llist->currentIndex();
        if (focused.isValid()) playRow(focused.row());
    });
    connect(m_listPop, &ListPopMenu::addToFolderRequested, this,
            &LibraryBrowser::AddSelectedToFolder);
    connect(m_listPop, &ListPopMenu::deleteRequested, this, &LibraryBrowser::DeleteSelected);
    connect(m_listPop, &ListPopMenu::moveRequested, this, &LibraryBrowser::MoveFocused);
    FileListView* view = m_form.llist;
    connect(view, &FileListView::contextMenuRequested, this, &LibraryBrowser::showListPop);
    connect(view, &FileListView::deleteRequested, this, &LibraryBrowser::DeleteSelected);
    // A branch switched off in the View menu takes its Send-to entries along.
    connect(&m_form, &mainForm::treeBranchRemoved, this, [this](const QString& key) {
        if (key == NodeKeys::VirtualFolders) RebuildSendToFolders();
    });
}

void LibraryBrowser::showListPop(const QPoint& globalPos) {
    m_listPop->setExternalPlayerEntriesShown(m_form.settings().WinampMenu);
    m_listPop->updatePropertiesEntry();
    if (!m_form.llist->selectedRows().isEmpty()) m_listPop->popup(globalPos);
}

void LibraryBrowser::AddSelectedToFolder(qint32 folderId) {
    VirtualFolderStore& store = *m_library.VirtualFolders();
    for (int row : m_form.llist->selectedRows())
        store.AddFile(static_cast<qint32>(m_model.id(row)), folderId);
}

void LibraryBrowser::DeleteSelected() {
    const QList<int> rows = m_form.llist->selectedRows();
    if (rows.isEmpty()) return;
    const bool inFolder = m_list.mode() == ListMode::VirtualFolder;
    QStringList choices;
    for (int text : inFolder ? QList<int>{23, 24, 25} : QList<int>{24, 25})
        choices << langText(text);
    const int choice = Dialogs::current().ChooseOption(langText(22), choices);
    if (choice < 0) return;
    QList<FolderMemberRemoval::Item> items;
    for (int row : rows)
        items.append({static_cast<qint32>(m_model.id(row)), m_model.tag(row)});
    // Outside a folder the two choices are the folder dialog's last two.
    FolderMemberRemoval::Remove(m_library,
                                inFolder ? static_cast<qint32>(m_list.virtualFolderId()) : 0, items,
                                inFolder ? choice : choice + 1);
    if (inFolder) {
        FillList(FileList::LastQuery, ListMode::Keep);
    } else if (m_list.mode() == ListMode::Search) {
        FillList(FileList::LastQuery, ListMode::Search);
    } else {
        // Artists, albums and counts may have gone with the files.
        MakeTree(TreeSection::All);
        FillList(FileList::LastQuery, ListMode::Keep);
    }
}

void LibraryBrowser::MoveFocused(bool down) {
    FileListView* view = m_form.llist;
    const QModelIndex focused = view->currentIndex();
    if (!focused.isValid()) return;
    const qint32 position = focused.row() + 1;
    const qint32 count = m_model.rowCount();
    const qint32 selected = static_cast<qint32>(view->selectedRows().size());
    const qint32 target = down ? VirtualFolderStore::MoveDownTarget(position, count, selected)
                               : VirtualFolderStore::MoveUpTarget(position, count, selected);
    if (target == 0) return;
    const qint32 folder = selectedFolderId(m_form.tv1->selectedKey());
    VirtualFolderStore& store = *m_library.VirtualFolders();
    if (folder == 0 || !store.SelectFolder(folder)) return;
    if (!store.MoveFile(static_cast<qint32>(m_model.id(focused.row())), target)) return;
    FillList(FileList::LastQuery, ListMode::Keep);
    const QModelIndex moved = m_model.index(target - 1, 0);
    view->selectionModel()->setCurrentIndex(moved, QItemSelectionModel::ClearAndSelect |
                                                       QItemSelectionModel::Rows);
}
