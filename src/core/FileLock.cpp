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

bool FileLock::writeOwner(const QString& what) {
    if (!m_locked) return false;
    const QByteArray text =
        QByteArray::number(static_cast<qint64>(::getpid())) + ' ' + what.toUtf8() + '\n';
    if (::ftruncate(m_fd, 0) != 0) return false;
    return ::pwrite(m_fd, text.constData(), static_cast<size_t>(text.size()), 0) == text.size();
}

QString FileLock::holder(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    QString result;
    // A lock we can take ourselves is held by nobody: what the file says is stale.
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
        char buf[512];
        const ssize_t n = ::pread(fd, buf, sizeof buf, 0);
        if (n > 0) result = QString::fromUtf8(buf, static_cast<qsizetype>(n)).trimmed();
    } else {
        ::flock(fd, LOCK_UN);
    }
    ::close(fd);
    return result;
}
