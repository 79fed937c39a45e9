#pragma once
// The monitored media folders (table MMFOLDERS), enumerated 0-based in the
// order they were added. Paths are kept absolute, cleaned, with one trailing
// separator, in their own letter case.
#include <QDateTime>
#include <QList>
#include <QString>

namespace db {
class Database;
}

class MediaFolderStore {
public:
    explicit MediaFolderStore(db::Database* connection);

    qint32 FolderCount() const { return static_cast<qint32>(m_folders.size()); }
    qint32 FolderId(qint32 index) const;
    QString FolderPath(qint32 index) const;
    // Invalid when the folder was never scanned.
    QDateTime FolderLastScan(qint32 index) const;
    double FolderLastScanDays(qint32 index) const; // OLE days, 0 = never

    // Adds an existing folder; false when it does not exist, is no folder, is
    // listed already, or the database refused.
    bool Add(const QString& path);
    // Removes the folder; with removeFiles its files leave the library too.
    bool Remove(const QString& path, bool removeFiles);
    // Reads the folders again (after the table was changed directly).
    void Reload();

    // The form in which paths are stored.
    static QString Normalize(const QString& path);

    // Where a new folder would stand among the listed ones. Folders compare as
    // the file system does: case-sensitively, each with one trailing "/".
    struct Placement {
        enum Kind { New, Duplicate, Nested };
        Kind kind = New;
        QString path;      // the new folder as it would be stored
        QString container; // Nested: the listed folder that holds it
    };
    Placement Place(const QString& path) const;
    // The whole file system: adding it deserves a question first.
    static bool IsWholeDrive(const QString& normalizedPath);

private:
    struct Folder {
        qint32 id;
        QString path;
        double lastScan;
    };
    db::Database* m_db;
    QList<Folder> m_folders;
};
