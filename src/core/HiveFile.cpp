#include "core/HiveFile.h"

#include "core/FileLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <sys/stat.h>

HiveFile::HiveFile(QString path, QString rootName)
    : m_path(std::move(path)), m_rootName(std::move(rootName)) {}

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
    m_corrupt = false;
    if (stamp.exists) {
        QFile file(m_path);
        if (file.open(QIODevice::ReadOnly)) {
            Result<Hive> parsed = parseHive(file.readAll(), m_rootName);
            if (parsed.ok())
                m_hive = std::move(parsed).value();
            else
                m_corrupt = true;
        }
    }
    m_stamp = stamp;
    m_cached = true;
}

Hive HiveFile::read() {
    QMutexLocker lock(&m_mutex);
    refreshLocked();
    return m_hive;
}

bool HiveFile::backupCorrupt() {
    QString target = m_path + QStringLiteral(".corrupt");
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = m_path + QStringLiteral(".corrupt.%1").arg(n);
    return QFile::copy(m_path, target);
}

bool HiveFile::modify(const std::function<Change(Hive&)>& change) {
    QMutexLocker lock(&m_mutex);
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder)) return false;
    FileLock fileLock(m_path + QStringLiteral(".lock"));
    if (!fileLock.locked()) return false;
    refreshLocked();

    Hive working = m_hive;
    const Change result = change(working);
    if (result == Change::Failed) return false;
    if (result == Change::Unchanged) return true;

    if (m_corrupt && !backupCorrupt()) return false; // never overwrite what we could not keep
    QSaveFile out(m_path);
    if (!out.open(QIODevice::WriteOnly)) return false;
    out.write(serializeHive(working, m_rootName));
    if (!out.commit()) return false;
    m_hive = std::move(working);
    m_corrupt = false;
    m_stamp = currentStamp();
    return true;
}
