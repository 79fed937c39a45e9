#pragma once
// The library browser of the main window: the tree (tv1), the query behind
// each node, the file list (llist) and the quick search (sText, sBut).
#include "library/FileList.h"
#include "library/LibraryTree.h"
#include "library/widgets/FileListView.h"

#include <QObject>
#include <functional>

class ListPopMenu;
class MediaLibrary;
class QMenu;
class QTreeWidgetItem;
class mainForm;

class LibraryBrowser : public QObject {
    Q_OBJECT
public:
    LibraryBrowser(mainForm& form, MediaLibrary& library);
    ~LibraryBrowser() override;

    // The names of the drives holding audio CDs (the CD watcher's, when there is one).
    void setAudioCdSource(std::function<QStringList()> drives) { m_audioCds = std::move(drives); }
    // Re-reads the texts of the current language (after a language switch).
    void refreshTexts();
    // After a language switch: every text the browser composed is composed again
    // (tree captions, stand-ins, headers, status panels).
    void LanguageChanged();

    // Tree (LibraryBrowser_tree.cpp). section: TreeSection; reselectPath: node
    // keys joined by "\" from the top; empty = the selected node.
    void MakeTree(int section = TreeSection::All, const QString& reselectPath = QString());
    void NodeSelected(QTreeWidgetItem* item);
    QMenu* popAction() const { return m_popAction; }
    // Shows or hides the context-menu entries for the selected node; true when
    // any is shown.
    bool preparePopAction();
    // Rebuilds the virtual-folder entries of the list's "Send to" menu.
    void RebuildSendToFolders();

    // Virtual folders (LibraryBrowser_folders.cpp): the tree's New and Delete,
    // and the list's context menu (mLPop).
    void NewFolder();
    void DeleteFolder(qint32 folderId);
    ListPopMenu* listPop() const { return m_listPop; }
    // Pops the list's menu up at the point when an item is selected.
    void showListPop(const QPoint& globalPos);
    // Adds the selected files, in list order, to the folder.
    void AddSelectedToFolder(qint32 folderId);
    // Delete of the selected files. While a folder is shown: out of this folder,
    // the library, or the disk too; elsewhere: out of the library, or the disk too.
    void DeleteSelected();
    // Move Up / Move Down of the focused file in the shown folder.
    void MoveFocused(bool down);

    // List (LibraryBrowser_list.cpp).
    FileList::Outcome FillList(const QString& query, int mode);
    void BuildColumns();
    void CaptureColumnWidths();
    void ClearSortIcons();
    void headerClicked(int section);
    // Plays the file of a row and counts the play.
    void playRow(int row);
    FileList& list() { return m_list; }
    FileListItemModel& model() { return m_model; }

    // Quick search: the search box's text, or the message when it is too short.
    void RunSearch();

    const TreeTexts& texts() const { return m_texts; }

signals:
    // The list menu's entries for virtual folders apply (or not) to the node.
    void virtualFolderEntriesShown(bool shown);
    // The virtual folders changed: the "Send to" menu follows.
    void sendToFoldersChanged(const QList<QPair<qint32, QString>>& folders);

private:
    void buildPopAction();
    // New, Edit and Delete of the filter nodes (LibraryBrowser_filters.cpp).
    void connectFilterActions();
    void editFilter(qint32 id);
    void deleteFilter(qint32 id);
    void connectList();
    void connectFolderActions();
    // Starts editing a node's text once the context menu has closed.
    void editWhenMenuClosed(const QString& key);
    void buildListPop();
    void onFilesDropped(const QString& targetKey, const QStringList& fileKeys);
    void onAlbumDropped(const QString& albumKey, const QString& artistKey);
    void reportUnwritten(int failed);
    void onNodeRenamed(const QString& key, const QString& oldText, const QString& newText);
    QString tagValue(const QString& text, const QString& emptyText) const;
    void setStatusDescription(QTreeWidgetItem* item);
    void showListStatus();
    QString langText(int number, const QStringList& args = {}) const;

    mainForm& m_form;
    MediaLibrary& m_library;
    FileListItemModel m_model;
    FileList m_list;
    TreeTexts m_texts;
    FileList::Outcome m_lastOutcome;
    QString m_searchText;
    QMenu* m_popAction = nullptr;
    ListPopMenu* m_listPop = nullptr;
    std::function<QStringList()> m_audioCds;
};
