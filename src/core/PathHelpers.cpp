#include "core/PathHelpers.h"
#include "core/FileNameCodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mainMod {

QString NormalizePath(const QString& path, bool trailingSeparator) {
    QString p = path.trimmed();
    const bool network = p.startsWith(QLatin1String("//"));
    p.replace(QLatin1String("//"), QLatin1String("/"));
    if (network) p.prepend(QLatin1Char('/'));
    const bool endsWithSeparator = p.endsWith(QLatin1Char('/'));
    if (!endsWithSeparator && trailingSeparator)
        p.append(QLatin1Char('/'));
    else if (endsWithSeparator && !trailingSeparator)
        p.chop(1);
    return p;
}

bool FileExists(const QString& path) {
    if (path.isEmpty()) return false;
    struct stat st;
    return ::stat(FileNameCodec::encode(path).constData(), &st) == 0;
}

QString FileNameOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

QString AppFolder() {
    static const QString folder = [] {
        QString dir;
        if (QCoreApplication::instance()) dir = QCoreApplication::applicationDirPath();
        if (dir.isEmpty())
            dir =
                QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section('/', 0, -2);
        return NormalizePath(dir, true);
    }();
    return folder;
}

namespace {

// Characters a file name may not hold, so that names stay usable on every
// file system a library may live on (FAT sticks, network shares).
bool isInvalidNameChar(QChar c) {
    const char16_t u = c.unicode();
    if (u < 32) return true;
    switch (u) {
    case '"':
    case '<':
    case '>':
    case '|':
    case ':':
    case '*':
    case '?':
    case '\\':
    case '/':
        return true;
    default:
        return false;
    }
}

} // namespace

bool IsValidFileName(const QString& text) {
    if (text.trimmed().isEmpty()) return false;
    for (QChar c : text)
        if (isInvalidNameChar(c)) return false;
    return true;
}

bool IsValidNamePart(const QString& text) {
    return IsValidFileName(text) && !text.trimmed().startsWith(QLatin1Char('.'));
}

bool IsUsableFolder(const QString& path) {
    QString p = path.trimmed();
    if (p.isEmpty()) return false;
    if (p.size() > 1 && p.endsWith(QLatin1Char('/'))) p.chop(1);
    if (!p.startsWith(QLatin1Char('/'))) return false;
    const QFileInfo info(p);
    if (info.exists()) return info.isDir();
    QDir dir;
    if (!dir.mkdir(p)) return false;
    dir.rmdir(p);
    return true;
}

bool IsFileLocked(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool locked = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        locked = (errno == EWOULDBLOCK);
    else
        ::flock(fd, LOCK_UN);
    ::close(fd);
    return locked;
}

TempFileName MakeTempFileName(const QString& extension) {
    TempFileName result;
    result.folder = NormalizePath(QDir::tempPath(), true);
    QString digits;
    for (;;) {
        while (digits.size() < 8)
            digits += QString::number(QRandomGenerator::global()->generate(), 16).toUpper();
        result.name = QLatin1Char('~') + digits.right(7) + extension;
        result.path = result.folder + result.name;
        if (!FileExists(result.path)) return result;
        digits += QString::number(QRandomGenerator::global()->generate(), 16).toUpper();
    }
}

QString ShortPath(const QString& path) {
    return path;
}

QString LongPath(const QString& path) {
    if (path.size() > 1 && path.endsWith(QLatin1Char('/'))) return path.left(path.size() - 1);
    return path;
}

} // namespace mainMod
