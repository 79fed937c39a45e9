#include "core/FileLock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

FileLock::FileLock(const QString& path, Mode mode) {
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_fd < 0) return;
    int rc;
    do {
        rc = ::flock(m_fd, LOCK_EX | (mode == TryOnce ? LOCK_NB : 0));
    } while (rc != 0 && errno == EINTR);
    m_locked = (rc == 0);
}

FileLock::~FileLock() {
    release();
}

void FileLock::release() {
    if (m_fd >= 0) {
        if (m_locked) ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
    }
    m_fd = -1;
    m_locked = false;
}
