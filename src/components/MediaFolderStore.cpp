#include "components/MediaFolderStore.h"
#include "core/FileNameCodec.h"

#include "core/Database.h"
#include "core/OleDate.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

MediaFolderStore::MediaFolderStore(db::Database* connection) : m_db(connection) {
    Reload();
}

QString MediaFolderStore::Normalize(const QString& path) {
    QString p = QDir::cleanPath(QDir(path.trimmed()).absolutePath());
    if (!p.endsWith(QLatin1Char('/'))) p += QLatin1Char('/');
    return p;
}

MediaFolderStore::Placement MediaFolderStore::Place(const QString& path) const {
    Placement placement;
    placement.path = Normalize(path);
    for (const Folder& f : m_folders) {
        if (f.path == placement.path) {
            placement.kind = Placement::Duplicate;
            return placement;
        }
    }
    for (const Folder& f : m_folders) {
        if (placement.path.startsWith(f.path)) {
            placement.kind = Placement::Nested;
            placement.container = f.path;
            return placement;
        }
    }
    return placement;
}

bool MediaFolderStore::IsWholeDrive(const QString& normalizedPath) {
    return normalizedPath == QLatin1String("/");
}

void MediaFolderStore::Reload() {
    m_folders.clear();
    if (!m_db || !m_db->isOpen()) return;
    Result<db::Recordset> r =
        m_db->prepare(QStringLiteral("select id, path, lastscan from MMFOLDERS order by id"));
    if (!r) return;
    while (r.value().next())
        m_folders.append(
            {static_cast<qint32>(r.value().integer(0)), r.value().text(1), r.value().number(2)});
}

qint32 MediaFolderStore::FolderId(qint32 index) const {
    return index >= 0 && index < m_folders.size() ? m_folders[index].id : 0;
}

QString MediaFolderStore::FolderPath(qint32 index) const {
    return index >= 0 && index < m_folders.size() ? m_folders[index].path : QString();
}

double MediaFolderStore::FolderLastScanDays(qint32 index) const {
    return index >= 0 && index < m_folders.size() ? m_folders[index].lastScan : 0;
}

QDateTime MediaFolderStore::FolderLastScan(qint32 index) const {
    return OleDate::toDateTime(FolderLastScanDays(index));
}

bool MediaFolderStore::Add(const QString& path) {
    if (!m_db || !m_db->isOpen() || path.trimmed().isEmpty()) return false;
    const QString p = Normalize(path);
    struct stat st {};
    if (::stat(FileNameCodec::encode(p).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    for (const Folder& f : m_folders)
        if (f.path == p) return false;
    Result<db::Recordset> ins =
        m_db->prepare(QStringLiteral("insert into MMFOLDERS(path, lastscan) values(?, 0)"));
    if (!ins || !ins.value().bind(1, p).execute()) return false;
    Reload();
    return true;
}

bool MediaFolderStore::Remove(const QString& path, bool removeFiles) {
    if (!m_db || !m_db->isOpen()) return false;
    const QString p = Normalize(path);
    db::Transaction tx(*m_db);
    if (!tx.ok()) return false;
    Result<db::Recordset> del = m_db->prepare(QStringLiteral("delete from MMFOLDERS where path=?"));
    if (!del || !del.value().bind(1, p).execute()) return false;
    const bool removed = m_db->changes() > 0;
    if (removed && removeFiles) {
        // Rows under the folder: the range [p, p with its last "/" raised to "0").
        QString end = p;
        end.back() = QLatin1Char('0');
        Result<db::Recordset> files =
            m_db->prepare(QStringLiteral("delete from FILES where fullpath >= ? and fullpath < ?"));
        if (!files || !files.value().bind(1, p).bind(2, end).execute()) return false;
    }
    if (!tx.commit()) return false;
    Reload();
    return removed;
}
