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

private:
    int m_fd = -1;
    bool m_locked = false;
};
