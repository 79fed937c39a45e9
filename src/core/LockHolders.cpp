#include "core/LockHolders.h"

#include "core/FileLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace LockHolders {

namespace {

// "1234 qvr scan" -> "pid 1234 (qvr scan)"
QString pretty(const QString& owner) {
    const qsizetype space = owner.indexOf(QLatin1Char(' '));
    if (space < 0) return QStringLiteral("pid %1").arg(owner);
    return QStringLiteral("pid %1 (%2)").arg(owner.left(space), owner.mid(space + 1));
}

// Processes with the file open, from /proc: how a program that is not ours is found.
QStringList openers(const QString& path) {
    const QString target = QFileInfo(path).canonicalFilePath();
    QStringList found;
    if (target.isEmpty()) return found;
    const QDir proc(QStringLiteral("/proc"));
    const QString self = QString::number(::getpid());
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        pid.toLongLong(&numeric);
        if (!numeric || pid == self) continue;
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
        bool opened = false;
        for (const QFileInfo& fd :
             fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
            if (fd.symLinkTarget() == target) {
                opened = true;
                break;
            }
        if (!opened) continue;
        QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
        const QString name = comm.open(QIODevice::ReadOnly)
                                 ? QString::fromUtf8(comm.readAll()).trimmed()
                                 : QString();
        found << (name.isEmpty() ? pid : pid + QLatin1Char(' ') + name);
    }
    return found;
}

} // namespace

QString LibraryLockPath(const QString& databasePath) {
    return databasePath + QStringLiteral(".lock");
}

QString ScanLockPath(const QString& databasePath) {
    return databasePath + QStringLiteral(".scan.lock");
}

QStringList Describe(const QString& databasePath) {
    QStringList owners;
    for (const QString& lock : {LibraryLockPath(databasePath), ScanLockPath(databasePath)}) {
        const QString owner = FileLock::holder(lock);
        if (!owner.isEmpty()) owners << owner;
    }
    if (owners.isEmpty()) owners = openers(databasePath);
    for (QString& o : owners)
        o = pretty(o);
    return owners;
}

QString BusyMessage(const QString& databasePath) {
    const QStringList holders = Describe(databasePath);
    if (holders.isEmpty())
        return QStringLiteral("the library %1 is locked by another program").arg(databasePath);
    return QStringLiteral("the library %1 is in use by %2")
        .arg(databasePath, holders.join(QStringLiteral(", ")));
}

} // namespace LockHolders
