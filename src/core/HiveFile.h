#pragma once
// One hive on disk. Reads are served from a cache that is dropped whenever the
// file changes on disk; changes run under an inter-process lock on a fresh read
// and replace the file atomically, so two processes never lose each other's
// writes. Bad lines are skipped and reported; a file that had any is kept as
// NAME.corrupt before it is first rewritten. A file that cannot be read at all
// (over the size limit, no permission) reads as empty and is never rewritten.
#include "core/FileLock.h"
#include "core/RegistryHive.h"

#include <QMutex>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

// What the last read of a hive file found wrong with it.
struct HiveReport {
    QString path;
    QString unreadable;          // why the file was not read; it is not changed either
    QList<HiveProblem> problems; // the bad lines that were skipped
    qsizetype problemCount = 0;
    QString keptAs; // the copy made before the damaged file was rewritten

    bool clean() const { return unreadable.isEmpty() && problemCount == 0; }
};

class HiveFile {
public:
    enum class Change { Failed, Unchanged, Changed };
    using ChangeFn = std::function<Change(Hive&)>;

    HiveFile(QString path, QString rootName);

    // The hive as it is on disk now, with the changes of an open batch.
    Hive read();
    // Runs change on the current hive under the lock and writes the result when
    // it reports Changed. Fails when change failed or nothing could be written.
    // Inside a batch of the calling thread the change is applied to the cache at
    // once and written when the batch ends. whenFailed is the message for a
    // change that reports Failed.
    Status modify(const ChangeFn& change, const QString& whenFailed = QString());

    // Defers this thread's changes until the matching endBatch; false (and no
    // batch to end) when another thread has one open. Batches nest.
    bool beginBatch();
    // At the outermost end: under the lock, replays the deferred changes on a
    // fresh read and writes the file once.
    Status endBatch();

    HiveReport report();
    // How many times this process has replaced the file.
    quint64 writeCount();

    const QString& path() const { return m_path; }

    // The shared object for a file path, so that all users in the process share
    // one cache and one mutex.
    static std::shared_ptr<HiveFile> at(const QString& path, const QString& rootName);

private:
    struct Stamp {
        bool exists = false;
        quint64 dev = 0, ino = 0, size = 0;
        qint64 mtimeSec = 0, mtimeNsec = 0;
        bool operator==(const Stamp&) const = default;
    };
    Stamp currentStamp() const;
    void refreshLocked(); // with m_mutex held
    void replayPending(); // m_view = m_hive with the deferred changes
    Status notRead() const;
    Status lockFile(std::optional<FileLock>& lock) const;
    Status writeLocked(Hive working); // with m_mutex and the file lock held
    bool inOwnBatch() const;
    bool backupDamaged();

    QString m_path;
    QString m_rootName;
    QMutex m_mutex;
    bool m_cached = false;
    Stamp m_stamp;
    Hive m_hive; // as on disk
    HiveReport m_report;
    quint64 m_writes = 0;

    int m_batchDepth = 0;
    std::thread::id m_batchThread;
    QList<ChangeFn> m_pending; // deferred changes, in order
    Hive m_view;               // m_hive with m_pending applied
};
