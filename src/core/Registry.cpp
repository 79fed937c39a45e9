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

bool CreateKey(qint32 root, const QString& subkey, const QString& remote) {
    if (!remote.isEmpty())
        return true; // the connection fails, and the operation reports success anyway
    auto hive = hiveOf(root);
    if (!hive) return false;
    if (hive->read().find(subkey)) return true;
    return hive->modify([&](Hive& h) {
        if (h.find(subkey)) return HiveFile::Change::Unchanged;
        h.ensure(subkey);
        return HiveFile::Change::Changed;
    });
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

bool SetRawValue(qint32 root, const QString& subkey, const RegValue& value) {
    auto hive = hiveOf(root);
    if (!hive) return false;
    return hive->modify([&](Hive& h) {
        RegKey* key = h.find(subkey);
        if (!key) return HiveFile::Change::Failed;
        const RegValue* old = key->find(value.name);
        if (old && old->type == value.type && old->data == value.data)
            return HiveFile::Change::Unchanged;
        key->set(value);
        return HiveFile::Change::Changed;
    });
}

bool SetValue(qint32 root, const QString& subkey, const QString& valueName, const QString& text,
              const QString& remote) {
    if (!remote.isEmpty()) return false;
    return SetRawValue(root, subkey, RegValue::text(valueName, text));
}

bool DeleteValue(qint32 root, const QString& subkey, const QString& valueName,
                 const QString& remote) {
    if (!remote.isEmpty()) return false;
    auto hive = hiveOf(root);
    if (!hive) return false;
    return hive->modify([&](Hive& h) {
        RegKey* key = h.find(subkey);
        if (!key || !key->remove(valueName)) return HiveFile::Change::Failed;
        return HiveFile::Change::Changed;
    });
}

} // namespace Registry
