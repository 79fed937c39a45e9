#pragma once
// The media-library object: owns the library database connection of the UI
// thread, scans folders into FILES in a worker thread (with its own connection),
// reads and changes file records, and hands out the tag, virtual-folder and
// media-folder objects. Its signals are delivered on the thread that owns it.
#include "components/FileRecord.h"
#include "components/LibraryScanner.h"
#include "components/MediaFolderStore.h"
#include "components/TagService.h"
#include "components/VirtualFolderStore.h"
#include "core/Database.h"

#include <QObject>
#include <QVariant>

#include <atomic>
#include <memory>
#include <thread>

class MediaLibrary : public QObject {
    Q_OBJECT
public:
    explicit MediaLibrary(QObject* parent = nullptr);
    ~MediaLibrary() override; // cancels a running refresh and waits for it

    // Opens the database (creating missing tables); an empty path leaves it closed.
    // A library without write access opens read-only. OpenError() tells why an
    // open failed (missing, not a library, in use by another program).
    bool OpenLibrary(const QString& databasePath);
    bool IsOpen() const { return m_db.isOpen(); }
    bool IsReadOnly() const { return m_db.isReadOnly(); }
    const QString& OpenError() const { return m_openError; }
    void CloseLibrary();
    // Rebuilds the database file to its smallest size; it is open again
    // afterwards. Refused (false) while a refresh runs.
    bool Compact();
    // The connection on which the application runs its own SQL (UI thread).
    db::Database& Connection() { return m_db; }
    QString DatabasePath() const { return m_path; }

    // Starts a refresh of one folder, or of every media folder when the folder
    // is "". Returns at once (false when closed or already refreshing); the
    // signals follow. flags is reserved (0).
    bool RefreshLibrary(const QString& folder = QString(), int flags = 0);
    bool IsRefreshing() const { return m_refreshing; }
    // Asks a running refresh to stop; committed rows stay. RefreshComplete
    // still follows, with the counts reached.
    void CancelRefresh();
    // Runs the event loop until the refresh has ended (RefreshComplete was
    // emitted) or the time is up; true when it ended.
    bool WaitForRefresh(int timeoutMs = -1);

    // By id (decimal text) or full path. A path outside the library fills the
    // record from the file itself, with id 0. False when neither exists.
    bool GetFileRecord(const QString& file, FileRecord& record);
    bool GetFileRecord(qint32 id, FileRecord& record);
    // Field codes: see FileField. An invalid QVariant when there is no such row.
    QVariant GetFileField(qint32 id, int code);
    // Changes the row only (never the file). False for an unknown code, a
    // read-only field (0) or a missing row.
    bool SetFileField(qint32 id, int code, const QVariant& value);

    // Adds (or refreshes) the file's row; returns its id, 0 on failure.
    qint32 AddLibraryFile(const QString& fullPath);
    // Removes the row (and its virtual-folder rows); the file stays on disk.
    bool RemoveLibraryFile(const QString& id);
    // A picture in the file's folder (folder.jpg, folder.gif, album.jpg,
    // cover.jpg, any letter case), else the file's embedded picture saved to a
    // cache file, else "".
    QString CoverArtPath(qint32 id);

    TagService* Tags() { return &m_tags; }
    VirtualFolderStore* VirtualFolders() { return &m_vfolders; }
    MediaFolderStore* MediaFolders() { return &m_mfolders; }

signals:
    void RefreshComplete(qint32 seen, qint32 added, qint32 updated, qint32 removed);
    void RefreshProgress(float percent);
    void StatusUpdate(qint32 code, QString text);

private:
    void finishRefresh(ScanCounts counts);
    void stopWorker();
    db::Database m_db;
    QString m_openError;
    QString m_path;
    TagService m_tags;
    VirtualFolderStore m_vfolders;
    MediaFolderStore m_mfolders;
    std::thread m_worker;
    std::atomic<bool> m_cancel{false};
    bool m_refreshing = false;
};
