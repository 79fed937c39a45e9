#pragma once
// One hive on disk. Reads are served from a cache that is dropped whenever the
// file changes on disk; changes run under an inter-process lock on a fresh read
// and replace the file atomically, so two processes never lose each other's
// writes. An unreadable file reads as empty and is kept as NAME.corrupt before
// it is first rewritten.
#include "core/RegistryHive.h"

#include <QMutex>
#include <functional>
#include <memory>

class HiveFile {
public:
    enum class Change { Failed, Unchanged, Changed };

    HiveFile(QString path, QString rootName);

    // The hive as it is on disk now.
    Hive read();
    // Runs change on the current hive under the lock and writes the result when
    // it reports Changed. Returns false when change failed or nothing could be
    // written.
    bool modify(const std::function<Change(Hive&)>& change);

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
    bool backupCorrupt();

    QString m_path;
    QString m_rootName;
    QMutex m_mutex;
    bool m_cached = false;
    Stamp m_stamp;
    Hive m_hive;
    bool m_corrupt = false;
};
