#pragma once
// The scanner that fills table FILES from the media folders. Free of any UI:
// the media-library object runs it in a worker thread, and the indexing engine
// can run it in its own process. It walks the folders, re-reads only files
// whose size or modification time changed, reads tags on every core, writes in
// batched transactions on its own connection and reports through callbacks
// (called on the scanning thread). Scans of one library take turns (ScanLock).
#include "core/Database.h"
#include "core/Result.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

// Codes of the status callback.
enum ScanStatus : qint32 {
    ScanDone = 0,          // text: summary
    ScanFolder = 1,        // text: the folder being scanned
    ScanFolderMissing = 2, // a media folder does not exist or cannot be read; its rows stay
    ScanFolderLost = 3,    // a folder vanished or became unreadable during the scan
    ScanDatabaseError = 4, // writing failed; the scan stopped, committed rows stay
    ScanCancelled = 5,
};

// The counts of a refresh. Rows are counted once their transaction committed.
struct ScanCounts {
    qint32 seen = 0;    // audio files found in the scanned folders
    qint32 added = 0;   // rows added
    qint32 updated = 0; // rows re-read: size or time changed, or the file was moved/renamed
    qint32 removed = 0; // rows of files that are gone
    qint32 skipped = 0; // entries that could not be looked at (bad links...); their rows stay
    // ScanDone when the scan ran to its end; ScanCancelled or ScanDatabaseError when it stopped.
    qint32 outcome = ScanDone;
    bool finished() const { return outcome == ScanDone; }
};

class LibraryScanner {
public:
    struct Callbacks {
        std::function<void(float percent)> progress;
        std::function<void(qint32 code, const QString& text)> status;
        // Called before each folder is listed (optional; for detailed progress).
        std::function<void(const QString& folder)> folder;
        // An entry that was skipped, and why (optional).
        std::function<void(const QString& path, const QString& reason)> skipped;
        // Another scan of the library holds it; this one waits (optional).
        std::function<void(const QString& message)> waiting;
    };

    // Works on the given connection, which must belong to the calling thread.
    explicit LibraryScanner(db::Database& db);

    // Threads that read tags; 0 (the default) means one per core.
    void setReaderThreads(int count) { m_threads = count; }
    // Rows per transaction.
    void setBatchSize(int rows) { m_batch = rows > 0 ? rows : 1; }
    // Who scans, as other scans that wait for this one show it ("qvr scan").
    void setLockOwner(const QString& who) { m_owner = who; }
    // How long to wait for another scan of the library; 0: fail at once.
    void setLockWait(int milliseconds) { m_lockWaitMs = milliseconds; }
    // Reads every file again, not only those whose size or time changed.
    void setRereadAll(bool all) { m_rereadAll = all; }

    // Scans one folder, or with an empty text every media folder (table
    // MMFOLDERS); a whole refresh also drops rows of vanished files outside the
    // media folders. Returns the counts; a failure only when nothing could be done.
    Result<ScanCounts> run(const QString& folder, const Callbacks& callbacks,
                           const std::atomic<bool>* cancel = nullptr);
    // Scans the given folders at once (an empty list: every media folder).
    Result<ScanCounts> run(const QStringList& folders, const Callbacks& callbacks,
                           const std::atomic<bool>* cancel = nullptr);

    // Opens its own connection to the database file and scans.
    static Result<ScanCounts> runOnFile(const QString& databasePath, const QString& folder,
                                        const Callbacks& callbacks,
                                        const std::atomic<bool>* cancel = nullptr,
                                        int readerThreads = 0,
                                        const QString& lockOwner = QString());

private:
    db::Database& m_db;
    int m_threads = 0;
    int m_batch = 2000;
    QString m_owner = QStringLiteral("library scan");
    int m_lockWaitMs = 5 * 60 * 1000;
    bool m_rereadAll = false;
};
