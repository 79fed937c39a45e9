#include "components/FileReplacer.h"

#include <QLocale>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

std::atomic<bool> checkFreeSpace{true};
std::atomic<bool> allowUnnamed{true};

QString size(qint64 bytes) {
    return QLocale::c().formattedDataSize(bytes);
}

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) return QByteArrayLiteral(".");
    if (slash == 0) return QByteArrayLiteral("/");
    return path.left(slash);
}

QByteArray hiddenName(const QByteArray& folder) {
    static const char digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name = folder + "/.qvtag-";
    for (int i = 0; i < 6; ++i)
        name += digits[QRandomGenerator::global()->bounded(36)];
    return name;
}

bool writeAll(int fd, const char* data, qint64 length) {
    while (length > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(std::min<qint64>(length, 1 << 30)));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        length -= n;
    }
    return true;
}

} // namespace

QString SystemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QByteArray ResolvedPath(const QByteArray& path) {
    char* real = ::realpath(path.constData(), nullptr);
    if (!real) return QByteArray();
    QByteArray out(real);
    std::free(real);
    return out;
}

void FileReplacer::setCheckFreeSpace(bool check) {
    checkFreeSpace = check;
}
void FileReplacer::setAllowUnnamed(bool allow) {
    allowUnnamed = allow;
}

FileReplacer::~FileReplacer() {
    discard();
}

Status FileReplacer::fail(const QString& what, int error) {
    discard();
    return Status::failure(what + QStringLiteral(": ") + SystemError(error));
}

void FileReplacer::discard() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    if (!m_tempName.isEmpty()) ::unlink(m_tempName.constData());
    m_tempName.clear();
}

Status FileReplacer::begin(const QByteArray& target, qint64 expectedSize) {
    discard();
    struct stat st {};
    if (::stat(target.constData(), &st) != 0)
        return fail(QStringLiteral("cannot read the file"), errno);
    m_target = target;
    m_folder = folderOf(target);
    m_mode = st.st_mode & 07777;
    m_uid = st.st_uid;
    m_gid = st.st_gid;

    if (checkFreeSpace) {
        struct statvfs fs {};
        if (::statvfs(m_folder.constData(), &fs) != 0)
            return fail(QStringLiteral("cannot read the free space of the folder"), errno);
        const qint64 free = static_cast<qint64>(fs.f_bavail) * static_cast<qint64>(fs.f_frsize);
        const qint64 needed = expectedSize + SpareBytes;
        if (free < needed)
            return Status::failure(QStringLiteral("not enough free space on the disk "
                                                  "(%1 needed to rewrite the file, %2 free)")
                                       .arg(size(needed), size(free)));
    }

    m_unnamed = false;
    if (allowUnnamed && ::access("/proc/self/fd", X_OK) == 0) {
        m_fd = ::open(m_folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (m_fd >= 0) {
            m_unnamed = true;
            return Status();
        }
        // Only a file system without unnamed files falls back to a named one.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return fail(QStringLiteral("cannot create a file in the folder"), errno);
    }
    QByteArray pattern = m_folder + "/.qvtag-XXXXXX";
    m_fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (m_fd < 0) return fail(QStringLiteral("cannot create a file in the folder"), errno);
    m_tempName = pattern;
    return Status();
}

Status FileReplacer::append(QByteArrayView bytes) {
    if (!writeAll(m_fd, bytes.data(), bytes.size()))
        return fail(QStringLiteral("cannot write the new file"), errno);
    return Status();
}

Status FileReplacer::appendRange(int sourceFd, qint64 offset, qint64 length) {
    // copy_file_range lets the kernel (or the file system, by sharing blocks) copy;
    // where it cannot, a plain read/write loop does.
    bool kernelCopy = true;
    std::vector<char> buffer;
    while (length > 0) {
        if (kernelCopy) {
            loff_t in = offset;
            const ssize_t n =
                ::copy_file_range(sourceFd, &in, m_fd, nullptr,
                                  static_cast<size_t>(std::min<qint64>(length, 1 << 30)), 0);
            if (n > 0) {
                offset += n;
                length -= n;
                continue;
            }
            if (n == 0)
                return fail(QStringLiteral("the file got shorter while it was copied"), EIO);
            if (errno == EINTR) continue;
            if (errno != EXDEV && errno != ENOSYS && errno != EOPNOTSUPP && errno != EINVAL)
                return fail(QStringLiteral("cannot write the new file"), errno);
            kernelCopy = false;
            buffer.resize(1 << 20);
        }
        const ssize_t n = ::pread(sourceFd, buffer.data(),
                                  static_cast<size_t>(std::min<qint64>(length, 1 << 20)), offset);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(QStringLiteral("cannot read the file"), errno);
        if (n == 0) return fail(QStringLiteral("the file got shorter while it was copied"), EIO);
        if (!writeAll(m_fd, buffer.data(), n))
            return fail(QStringLiteral("cannot write the new file"), errno);
        offset += n;
        length -= n;
    }
    return Status();
}

Status FileReplacer::commit() {
    if (::fsync(m_fd) != 0) return fail(QStringLiteral("cannot write the new file to disk"), errno);
    struct stat st {};
    if (::fstat(m_fd, &st) == 0 && (st.st_uid != m_uid || st.st_gid != m_gid) &&
        ::fchown(m_fd, m_uid, m_gid) != 0 && errno != EPERM)
        return fail(QStringLiteral("cannot give the new file the original's owner"), errno);
    // After fchown, which clears set-user-id bits.
    if (::fchmod(m_fd, m_mode) != 0)
        return fail(QStringLiteral("cannot give the new file the original's permissions"), errno);
    if (m_unnamed) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
        for (int attempt = 0; m_tempName.isEmpty(); ++attempt) {
            const QByteArray name = hiddenName(m_folder);
            if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(),
                         AT_SYMLINK_FOLLOW) == 0)
                m_tempName = name;
            else if (errno != EEXIST || attempt > 100)
                return fail(QStringLiteral("cannot name the new file"), errno);
        }
    }
    if (::rename(m_tempName.constData(), m_target.constData()) != 0)
        return fail(QStringLiteral("cannot replace the file"), errno);
    m_tempName.clear();
    ::close(m_fd);
    m_fd = -1;
    // The rename itself is made durable by flushing the folder.
    const int dir = ::open(m_folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return Status();
}
