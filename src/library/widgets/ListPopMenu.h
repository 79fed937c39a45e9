#pragma once
// The file list's context menu (mLPop), with its "Send to" submenu: New Format
// (mConvert), Folder/Disk (mSendTo) and one entry per virtual folder (mVFItem,
// element 0 built at once and hidden, the others made as folders appear).
#include <QList>
#include <QMenu>
#include <QPair>

class ListPopMenu : public QMenu {
    Q_OBJECT
public:
    // Entries by their index in the menu (the others are separators).
    enum Entry {
        Play = 0,
        PlayExternal = 2,
        EnqueueExternal = 3,
        SendTo = 5,
        Delete = 7,
        Copy = 9,
        BrowseFolder = 10,
        FolderSeparator = 11,
        MoveUp = 12,
        MoveDown = 13,
        Properties = 15,
        EntryCount = 16
    };

    explicit ListPopMenu(QWidget* form);

    // mLPop(index); the Send-to entry is its submenu's action.
    QAction* entry(int index) const { return m_entries.value(index); }
    QMenu* sendToMenu() const { return m_sendTo; }
    QAction* mConvert() const { return m_convert; }
    QAction* mSendTo() const { return m_sendToFolder; }
    QAction* blkVFItem() const { return m_folderSeparator; }
    const QList<QAction*>& mVFItem() const { return m_folderItems; }

    // Entries 11-13 (separator, Move Up, Move Down): shown while a folder is
    // shown; Delete works there too.
    void setFolderEntriesShown(bool shown);
    // Entries 1-3: the external player's separator, Play and Enqueue.
    void setExternalPlayerEntriesShown(bool shown);
    // One mVFItem per folder (id, name), in the given order; none hides the
    // separator and element 0.
    void RebuildSendToFolders(const QList<QPair<qint32, QString>>& folders);
    // Properties can only be offered while someone answers the signal.
    void updatePropertiesEntry();

signals:
    void playRequested();
    void deleteRequested();
    void moveRequested(bool down);
    // An mVFItem was chosen: the selected files go into that folder.
    void addToFolderRequested(qint32 folderId);
    void propertiesRequested();

private:
    QList<QAction*> m_entries;
    QMenu* m_sendTo = nullptr;
    QAction* m_convert = nullptr;
    QAction* m_sendToFolder = nullptr;
    QAction* m_folderSeparator = nullptr;
    QList<QAction*> m_folderItems;
};
