#include "core/Registry.h"

#include "core/HiveFile.h"

#include <QStandardPaths>

namespace Registry {

namespace {

std::shared_ptr<HiveFile> hiveOf(qint32 root) {
    const QString name = RootName(root);
    if (name.isEmpty()) return nullptr;
    return HiveFile::at(HivePath(root), name);
}

} // namespace

quint32 RootKey(qint32 root) {
    switch (root) {
    case CurrentUser:
        return 0x80000001u;
    case LocalMachine:
        return 0x80000002u;
    case Users:
        return 0x80000003u;
    case ClassesRoot:
        return 0x80000000u;
    default:
        return 0;
    }
}

QString RootName(qint32 root) {
    switch (root) {
    case CurrentUser:
        return QStringLiteral("HKEY_CURRENT_USER");
    case LocalMachine:
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    case Users:
        return QStringLiteral("HKEY_USERS");
    case ClassesRoot:
        return QStringLiteral("HKEY_CLASSES_ROOT");
    default:
        return QString();
    }
}

QString HivePath(qint32 root) {
    QString folder = qEnvironmentVariable("QUAVERO_CONFIG_DIR");
    if (folder.isEmpty()) {
        if (root == CurrentUser)
            folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                     QStringLiteral("/quavero");
        else
            folder = QStringLiteral("/etc/quavero");
    }
    return folder + QLatin1Char('/') + RootName(root) + QStringLiteral(".reg");
}

Status EnsureKey(qint32 root, const QString& subkey) {
    auto hive = hiveOf(root);
    if (!hive) return Status::failure(QStringLiteral("unknown root %1").arg(root));
    if (const Status named = checkName(subkey); !named) return named;
    if (const Hive current = hive->read(); current.find(subkey)) return Status();
    // Changes may be replayed after the call (batches): they capture by value.
    return hive->modify([subkey](Hive& h) {
        if (h.find(subkey)) return HiveFile::Change::Unchanged;
        h.ensure(subkey);
        return HiveFile::Change::Changed;
    });
}

bool CreateKey(qint32 root, const QString& subkey, const QString& remote) {
    if (!remote.isEmpty())
        return true; // the connection fails, and the operation reports success anyway
    return EnsureKey(root, subkey).ok();
}

QString GetValue(qint32 root, const QString& subkey, const QString& valueName,
                 const QString& remote) {
    if (!remote.isEmpty()) return QString();
    auto hive = hiveOf(root);
    if (!hive) return QString();
    const Hive h = hive->read();
    const RegKey* key = h.find(subkey);
    const RegValue* value = key ? key->find(valueName) : nullptr;
    return value ? value->readAsText() : QString();
}

Status PutValue(qint32 root, const QString& subkey, const RegValue& value) {
    auto hive = hiveOf(root);
    if (!hive) return Status::failure(QStringLiteral("unknown root %1").arg(root));
    if (const Status fits = checkValue(value); !fits) return fits;
    return hive->modify(
        [subkey, value](Hive& h) {
            RegKey* key = h.find(subkey);
            if (!key) return HiveFile::Change::Failed;
            const RegValue* old = key->find(value.name);
            if (old && old->type == value.type && old->data == value.data)
                return HiveFile::Change::Unchanged;
            key->set(value);
            return HiveFile::Change::Changed;
        },
        QStringLiteral("there is no key %1").arg(subkey));
}

bool SetRawValue(qint32 root, const QString& subkey, const RegValue& value) {
    return PutValue(root, subkey, value).ok();
}

bool SetValue(qint32 root, const QString& subkey, const QString& valueName, const QString& text,
              const QString& remote) {
    if (!remote.isEmpty()) return false;
    return SetRawValue(root, subkey, RegValue::text(valueName, text));
}

Status RemoveValue(qint32 root, const QString& subkey, const QString& valueName) {
    auto hive = hiveOf(root);
    if (!hive) return Status::failure(QStringLiteral("unknown root %1").arg(root));
    return hive->modify(
        [subkey, valueName](Hive& h) {
            RegKey* key = h.find(subkey);
            if (!key || !key->remove(valueName)) return HiveFile::Change::Failed;
            return HiveFile::Change::Changed;
        },
        QStringLiteral("there is no value %1").arg(valueName));
}

bool DeleteValue(qint32 root, const QString& subkey, const QString& valueName,
                 const QString& remote) {
    if (!remote.isEmpty()) return false;
    return RemoveValue(root, subkey, valueName).ok();
}

HiveReport Report(qint32 root) {
    auto hive = hiveOf(root);
    return hive ? hive->report() : HiveReport();
}

Batch::Batch() {
    for (qint32 root : {CurrentUser, LocalMachine, Users, ClassesRoot}) {
        auto hive = hiveOf(root);
        if (hive->beginBatch()) m_hives.push_back(std::move(hive));
    }
}

Batch::~Batch() {
    commit();
}

Status Batch::commit() {
    Status first;
    for (const auto& hive : std::exchange(m_hives, {})) {
        const Status written = hive->endBatch();
        if (!written && first) first = written;
    }
    return first;
}

} // namespace Registry
