#include "editing/FileMove.h"
#include "core/FileNameCodec.h"

#include <QFile>
#include <QString>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace FileMove {

namespace {

RenameCall g_rename = nullptr;

int systemRename(int olddirfd, const char* oldpath, int newdirfd, const char* newpath,
                 unsigned int flags) {
    return ::renameat2(olddirfd, oldpath, newdirfd, newpath, flags);
}

QString reason(int error) {
    if (error == EEXIST) return QStringLiteral("a file of that name exists");
    return QString::fromLocal8Bit(std::strerror(error));
}

// The same move by a second name and the removal of the first one.
Status linkAndUnlink(const QByteArray& from, const QByteArray& to) {
    if (::link(from.constData(), to.constData()) != 0) return Status::failure(reason(errno));
    if (::unlink(from.constData()) != 0) {
        const int error = errno;
        ::unlink(to.constData()); // keep the file under its old name only
        return Status::failure(reason(error));
    }
    return Status();
}

} // namespace

void SetRenameCall(RenameCall call) {
    g_rename = call;
}

Status RenameNoReplace(const QByteArray& from, const QByteArray& to) {
    const RenameCall call = g_rename ? g_rename : systemRename;
    if (call(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return Status();
    const int error = errno;
    if (error == EINVAL || error == ENOSYS || error == EOPNOTSUPP) return linkAndUnlink(from, to);
    return Status::failure(reason(error));
}

bool IsLocked(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool locked = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        locked = errno == EWOULDBLOCK;
    else
        ::flock(fd, LOCK_UN);
    ::close(fd);
    return locked;
}

Result<QString> ReserveBeside(const QString& folder, const QString& prefix,
                              const QString& extension) {
    QString base = folder;
    if (!base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
    QTemporaryFile file(base + QLatin1Char('.') + prefix + QStringLiteral("-XXXXXX") + extension);
    file.setAutoRemove(false);
    if (!file.open())
        return Result<QString>::failure(
            QStringLiteral("cannot write in %1: %2").arg(folder, file.errorString()));
    return file.fileName();
}

Status PlaceReserved(const QString& reserved, const QString& path) {
    const Status moved =
        RenameNoReplace(FileNameCodec::encode(reserved), FileNameCodec::encode(path));
    if (!moved) QFile::remove(reserved);
    return moved;
}

} // namespace FileMove
