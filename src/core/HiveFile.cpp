#include "core/HiveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <sys/stat.h>

HiveFile::HiveFile(QString path, QString rootName)
    : m_path(std::move(path)), m_rootName(std::move(rootName)) {
    m_report.path = m_path;
}

std::shared_ptr<HiveFile> HiveFile::at(const QString& path, const QString& rootName) {
    static QMutex mutex;
    static QHash<QString, std::shared_ptr<HiveFile>> files;
    QMutexLocker lock(&mutex);
    auto& slot = files[path];
    if (!slot) slot = std::make_shared<HiveFile>(path, rootName);
    return slot;
}

HiveFile::Stamp HiveFile::currentStamp() const {
    Stamp s;
    struct stat st;
    if (::stat(QFile::encodeName(m_path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return s;
    s.exists = true;
    s.dev = st.st_dev;
    s.ino = st.st_ino;
    s.size = static_cast<quint64>(st.st_size);
    s.mtimeSec = st.st_mtim.tv_sec;
    s.mtimeNsec = st.st_mtim.tv_nsec;
    return s;
}

void HiveFile::refreshLocked() {
    const Stamp stamp = currentStamp();
    if (m_cached && stamp == m_stamp) return;
    m_hive = Hive();
    m_report = HiveReport();
    m_report.path = m_path;
    if (stamp.exists) {
        QFile file(m_path);
        if (stamp.size > static_cast<quint64>(HiveLimits::MaxFileBytes)) {
            // Not even read: the limit is there to spare the memory and the time.
            m_report.unreadable = QStringLiteral("the file is larger than %1 MiB")
                                      .arg(HiveLimits::MaxFileBytes / (1024 * 1024));
        } else if (!file.open(QIODevice::ReadOnly)) {
            m_report.unreadable = file.errorString();
        } else {
            Result<ParsedHive> parsed =
                parseHive(file.read(HiveLimits::MaxFileBytes + 1), m_rootName);
            if (!parsed.ok()) {
                m_report.unreadable = parsed.error();
            } else {
                ParsedHive& p = parsed.value();
                m_hive = std::move(p.hive);
                m_report.problems = std::move(p.problems);
                m_report.problemCount = p.problemCount;
            }
        }
    }
    m_stamp = stamp;
    m_cached = true;
    if (!m_pending.isEmpty()) replayPending();
}

void HiveFile::replayPending() {
    m_view = m_hive;
    for (const ChangeFn& change : std::as_const(m_pending))
        change(m_view);
}

Hive HiveFile::read() {
    QMutexLocker lock(&m_mutex);
    refreshLocked();
    return m_pending.isEmpty() ? m_hive : m_view;
}

HiveReport HiveFile::report() {
    QMutexLocker lock(&m_mutex);
    refreshLocked();
    return m_report;
}

quint64 HiveFile::writeCount() {
    QMutexLocker lock(&m_mutex);
    return m_writes;
}

bool HiveFile::backupDamaged() {
    QString target = m_path + QStringLiteral(".corrupt");
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = m_path + QStringLiteral(".corrupt.%1").arg(n);
    if (!QFile::copy(m_path, target)) return false;
    m_report.keptAs = target;
    return true;
}

bool HiveFile::inOwnBatch() const {
    return m_batchDepth > 0 && m_batchThread == std::this_thread::get_id();
}

Status HiveFile::notRead() const {
    return Status::failure(QStringLiteral("%1 was not read (%2); it is left as it is")
                               .arg(m_path, m_report.unreadable));
}

Status HiveFile::lockFile(std::optional<FileLock>& lock) const {
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        return Status::failure(QStringLiteral("cannot create the folder %1").arg(folder));
    lock.emplace(m_path + QStringLiteral(".lock"));
    if (!lock->locked()) return Status::failure(QStringLiteral("cannot lock %1.lock").arg(m_path));
    return Status();
}

Status HiveFile::writeLocked(Hive working) {
    if (!m_report.unreadable.isEmpty()) return notRead();
    Result<QByteArray> bytes = serializeHive(working, m_rootName);
    if (!bytes.ok()) return Status::failure(bytes.error());
    // A file with bad lines is copied before they are dropped, and never
    // overwritten when the copy cannot be made.
    if (m_report.problemCount > 0 && m_report.keptAs.isEmpty() && m_stamp.exists &&
        !backupDamaged())
        return Status::failure(QStringLiteral("cannot keep a copy of the damaged %1").arg(m_path));
    QSaveFile out(m_path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes.value()) != bytes.value().size() ||
        !out.commit())
        return Status::failure(
            QStringLiteral("cannot write %1: %2").arg(m_path, out.errorString()));
    m_hive = std::move(working);
    m_stamp = currentStamp();
    ++m_writes;
    return Status();
}

Status HiveFile::modify(const ChangeFn& change, const QString& whenFailed) {
    const Status failed =
        Status::failure(whenFailed.isEmpty() ? QStringLiteral("not changed") : whenFailed);
    QMutexLocker lock(&m_mutex);
    if (inOwnBatch()) {
        refreshLocked();
        if (!m_report.unreadable.isEmpty()) return notRead();
        Hive working = m_pending.isEmpty() ? m_hive : m_view;
        const Change result = change(working);
        if (result == Change::Failed) return failed;
        if (result == Change::Changed) {
            m_view = std::move(working);
            m_pending.append(change);
        }
        return Status();
    }

    std::optional<FileLock> fileLock;
    if (const Status locked = lockFile(fileLock); !locked) return locked;
    refreshLocked();

    Hive working = m_hive;
    const Change result = change(working);
    if (result == Change::Failed) return failed;
    if (result == Change::Unchanged) return Status();
    const Status written = writeLocked(std::move(working));
    if (written && !m_pending.isEmpty()) replayPending();
    return written;
}

bool HiveFile::beginBatch() {
    QMutexLocker lock(&m_mutex);
    if (m_batchDepth > 0 && m_batchThread != std::this_thread::get_id()) return false;
    m_batchThread = std::this_thread::get_id();
    ++m_batchDepth;
    return true;
}

Status HiveFile::endBatch() {
    QMutexLocker lock(&m_mutex);
    if (!inOwnBatch() || --m_batchDepth > 0) return Status();
    const QList<ChangeFn> pending = std::exchange(m_pending, {});
    m_view = Hive();
    if (pending.isEmpty()) return Status();

    std::optional<FileLock> fileLock;
    if (const Status locked = lockFile(fileLock); !locked) return locked;
    refreshLocked();
    Hive working = m_hive;
    bool changed = false;
    for (const ChangeFn& change : pending)
        changed = change(working) == Change::Changed || changed;
    return changed ? writeLocked(std::move(working)) : Status();
}
