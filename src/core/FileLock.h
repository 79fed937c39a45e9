#pragma once
// An advisory whole-file lock (flock) held for the lifetime of the object. Locks
// taken by other processes, and by other open files of this process, conflict.
#include <QString>

class FileLock {
public:
    enum Mode { Wait, TryOnce };
    // Opens (creating when needed) and locks the file; check locked().
    FileLock(const QString& path, Mode mode = Wait);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool locked() const { return m_locked; }
    void release();

    // While locked: records "PID WHAT" in the lock file, so that a process that
    // finds the lock taken can say who holds it (see holder()).
    bool writeOwner(const QString& what);
    // The text a holder wrote with writeOwner, e.g. "1234 qvr scan"; empty when
    // the file is missing, empty, or not locked by anyone any more.
    static QString holder(const QString& path);

private:
    int m_fd = -1;
    bool m_locked = false;
};
