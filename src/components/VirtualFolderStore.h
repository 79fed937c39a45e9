#pragma once
// Virtual folders: named, user-ordered lists of library files (tables VFOLDERS
// and VFFILES). Folders are enumerated (1-based) by name, letter case ignored.
// A file is at most once in a folder: adding it again changes nothing. Members
// keep positions 1..n in FINDEX; MoveFile places a file at a 1-based position
// and the others keep their relative order. Deleting a folder deletes its
// membership rows; a file that leaves the library leaves every folder.
#include <QList>
#include <QString>

namespace db {
class Database;
}

class VirtualFolderStore {
public:
    explicit VirtualFolderStore(db::Database* connection);

    // The id of the folder with that name (letter case ignored); with create a
    // missing folder is created. 0 when there is none (or it could not be made).
    qint32 FindFolder(const QString& name, bool create);
    // Makes the folder current; false when it does not exist.
    bool SelectFolder(qint32 folderId);
    // Renames the current folder; the name is trimmed. False when there is no
    // current folder, the name is blank or another folder has it.
    bool RenameCurrent(const QString& newName);
    QString CurrentName() const;
    qint32 CurrentId() const { return m_current; }
    // Deletes the current folder and its membership; the files stay in the library.
    void DeleteCurrent();

    // Appends the file to the folder; false when either does not exist.
    bool AddFile(qint32 fileId, qint32 folderId);
    bool RemoveFile(qint32 fileId, qint32 folderId);
    // Moves the file within the current folder to the 1-based position.
    bool MoveFile(qint32 fileId, qint32 position);

    // The first name no folder has: the base itself, else the base followed by
    // 1, 2, 3... ("X", "X1", "X2" taken -> "X3"). Names compare as FindFolder does.
    QString FreeName(const QString& base);
    // Creates a folder under FreeName(base); 0 when it could not be made.
    qint32 CreateNumbered(const QString& base, QString* name = nullptr);

    struct Member {
        qint32 fileId = 0;
        QString fullPath;
    };
    // The folder's files in FINDEX order.
    QList<Member> Members(qint32 folderId) const;
    bool Contains(qint32 folderId, qint32 fileId) const;

    // Where Move Up and Move Down take the focused row, given its 1-based
    // position among count rows and the number of selected rows; 0 when nothing
    // moves (several rows selected, the first row up, the last row down).
    static qint32 MoveUpTarget(qint32 position, qint32 count, qint32 selected);
    static qint32 MoveDownTarget(qint32 position, qint32 count, qint32 selected);

    qint32 FolderCount() const;
    QString FolderNameAt(qint32 index) const; // 1-based
    qint32 FolderIdAt(qint32 index) const;    // 1-based, 0 when out of range

private:
    bool renumber(qint32 folderId, const QList<qint64>& order);
    db::Database* m_db;
    qint32 m_current = 0;
};
