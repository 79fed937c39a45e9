#include "components/VirtualFolderStore.h"

#include "core/Database.h"

#include <QList>

VirtualFolderStore::VirtualFolderStore(db::Database* connection) : m_db(connection) {}

namespace {
bool usable(db::Database* d) {
    return d && d->isOpen();
}
} // namespace

qint32 VirtualFolderStore::FindFolder(const QString& name, bool create) {
    if (!usable(m_db)) return 0;
    const QString clean = name.trimmed();
    Result<db::Recordset> r =
        m_db->prepare(QStringLiteral("select id from VFOLDERS where name=? order by id"));
    if (!r) return 0;
    r.value().bind(1, clean);
    if (r.value().next()) return static_cast<qint32>(r.value().integer(0));
    if (!create || clean.isEmpty()) return 0;
    Result<db::Recordset> ins =
        m_db->prepare(QStringLiteral("insert into VFOLDERS(name) values(?)"));
    if (!ins || !ins.value().bind(1, clean).execute()) return 0;
    return static_cast<qint32>(m_db->lastInsertId());
}

bool VirtualFolderStore::SelectFolder(qint32 folderId) {
    m_current = 0;
    if (!usable(m_db)) return false;
    Result<db::Recordset> r = m_db->prepare(QStringLiteral("select id from VFOLDERS where id=?"));
    if (!r) return false;
    r.value().bind(1, folderId);
    if (!r.value().next()) return false;
    m_current = folderId;
    return true;
}

bool VirtualFolderStore::RenameCurrent(const QString& newName) {
    const QString clean = newName.trimmed();
    if (!usable(m_db) || m_current <= 0 || clean.isEmpty()) return false;
    const qint32 other = FindFolder(clean, false);
    if (other != 0 && other != m_current) return false;
    Result<db::Recordset> up =
        m_db->prepare(QStringLiteral("update VFOLDERS set name=? where id=?"));
    if (!up || !up.value().bind(1, clean).bind(2, m_current).execute()) return false;
    return m_db->changes() == 1;
}

QString VirtualFolderStore::CurrentName() const {
    if (!usable(m_db) || m_current <= 0) return {};
    Result<db::Recordset> r = m_db->prepare(QStringLiteral("select name from VFOLDERS where id=?"));
    if (!r) return {};
    r.value().bind(1, m_current);
    return r.value().next() ? r.value().text(0) : QString();
}

void VirtualFolderStore::DeleteCurrent() {
    if (!usable(m_db) || m_current <= 0) return;
    Result<db::Recordset> del = m_db->prepare(QStringLiteral("delete from VFOLDERS where id=?"));
    if (del) del.value().bind(1, m_current).execute(); // the trigger takes VFFILES rows along
    m_current = 0;
}

bool VirtualFolderStore::AddFile(qint32 fileId, qint32 folderId) {
    if (!usable(m_db)) return false;
    Result<db::Recordset> check =
        m_db->prepare(QStringLiteral("select (select count(*) from VFOLDERS where id=?1), (select "
                                     "count(*) from FILES where id=?2), "
                                     "(select count(*) from VFFILES where VF_ID=?1 and FL_ID=?2)"));
    if (!check) return false;
    check.value().bind(1, folderId).bind(2, fileId);
    if (!check.value().next() || check.value().integer(0) == 0 || check.value().integer(1) == 0)
        return false;
    if (check.value().integer(2) > 0) return true;
    check.value().close();
    Result<db::Recordset> ins = m_db->prepare(QStringLiteral(
        "insert into VFFILES(VF_ID, FL_ID, FINDEX) "
        "values(?1, ?2, (select coalesce(max(FINDEX), 0) + 1 from VFFILES where VF_ID=?1))"));
    return ins && ins.value().bind(1, folderId).bind(2, fileId).execute();
}

bool VirtualFolderStore::RemoveFile(qint32 fileId, qint32 folderId) {
    if (!usable(m_db)) return false;
    Result<db::Recordset> del =
        m_db->prepare(QStringLiteral("delete from VFFILES where VF_ID=? and FL_ID=?"));
    if (!del || !del.value().bind(1, folderId).bind(2, fileId).execute()) return false;
    return m_db->changes() > 0;
}

bool VirtualFolderStore::renumber(qint32 folderId, const QList<qint64>& order) {
    db::Transaction tx(*m_db);
    if (!tx.ok()) return false;
    Result<db::Recordset> up =
        m_db->prepare(QStringLiteral("update VFFILES set FINDEX=? where VF_ID=? and FL_ID=?"));
    if (!up) return false;
    for (int i = 0; i < order.size(); ++i)
        if (!up.value().bind(1, i + 1).bind(2, folderId).bind(3, order[i]).execute()) return false;
    return tx.commit().ok();
}

bool VirtualFolderStore::MoveFile(qint32 fileId, qint32 position) {
    if (!usable(m_db) || m_current <= 0) return false;
    Result<db::Recordset> r = m_db->prepare(
        QStringLiteral("select FL_ID from VFFILES where VF_ID=? order by FINDEX, rowid"));
    if (!r) return false;
    r.value().bind(1, m_current);
    QList<qint64> order;
    while (r.value().next())
        order.append(r.value().integer(0));
    r.value().close();
    const qsizetype from = order.indexOf(fileId);
    if (from < 0 || position < 1 || position > order.size()) return false;
    order.move(from, position - 1);
    return renumber(m_current, order);
}

qint32 VirtualFolderStore::FolderCount() const {
    if (!usable(m_db)) return 0;
    Result<db::Recordset> r = m_db->prepare(QStringLiteral("select count(*) from VFOLDERS"));
    return r && r.value().next() ? static_cast<qint32>(r.value().integer(0)) : 0;
}

namespace {
Result<db::Recordset> folderAt(db::Database* d, qint32 index) {
    Result<db::Recordset> r = d->prepare(
        QStringLiteral("select id, name from VFOLDERS order by name, id limit 1 offset ?"));
    if (r) r.value().bind(1, index - 1);
    return r;
}
} // namespace

QString VirtualFolderStore::FolderNameAt(qint32 index) const {
    if (!usable(m_db) || index < 1) return {};
    Result<db::Recordset> r = folderAt(m_db, index);
    return r && r.value().next() ? r.value().text(1) : QString();
}

qint32 VirtualFolderStore::FolderIdAt(qint32 index) const {
    if (!usable(m_db) || index < 1) return 0;
    Result<db::Recordset> r = folderAt(m_db, index);
    return r && r.value().next() ? static_cast<qint32>(r.value().integer(0)) : 0;
}

QString VirtualFolderStore::FreeName(const QString& base) {
    QString candidate = base;
    for (qint64 counter = 1; FindFolder(candidate, false) != 0; ++counter)
        candidate = base + QString::number(counter);
    return candidate;
}

qint32 VirtualFolderStore::CreateNumbered(const QString& base, QString* name) {
    const QString candidate = FreeName(base);
    const qint32 id = FindFolder(candidate, true);
    if (name) *name = id != 0 ? candidate.trimmed() : QString();
    return id;
}

QList<VirtualFolderStore::Member> VirtualFolderStore::Members(qint32 folderId) const {
    QList<Member> members;
    if (!usable(m_db)) return members;
    Result<db::Recordset> r = m_db->prepare(
        QStringLiteral("select VFFILES.FL_ID, FILES.fullpath from VFFILES left join FILES on "
                       "VFFILES.FL_ID=FILES.id where VF_ID=? order by FINDEX, VFFILES.rowid"));
    if (!r) return members;
    r.value().bind(1, folderId);
    while (r.value().next())
        members.append({static_cast<qint32>(r.value().integer(0)), r.value().text(1)});
    return members;
}

bool VirtualFolderStore::Contains(qint32 folderId, qint32 fileId) const {
    if (!usable(m_db)) return false;
    Result<db::Recordset> r =
        m_db->prepare(QStringLiteral("select 1 from VFFILES where VF_ID=? and FL_ID=?"));
    if (!r) return false;
    r.value().bind(1, folderId).bind(2, fileId);
    return r.value().next();
}

qint32 VirtualFolderStore::MoveUpTarget(qint32 position, qint32 count, qint32 selected) {
    if (selected >= 2 || position <= 1 || position > count) return 0;
    return position - 1;
}

qint32 VirtualFolderStore::MoveDownTarget(qint32 position, qint32 count, qint32 selected) {
    if (selected >= 2 || position < 1 || position >= count) return 0;
    return position + 1;
}
