#include "core/Settings.h"

#include "core/AppInfo.h"
#include "core/Registry.h"

#include <QStringList>
#include <cmath>

namespace mainMod {

namespace {

struct SettingLocation {
    qint32 root;
    QString key;
    QString name;
    bool hasSubkey;
};

SettingLocation locate(const QString& path, bool machineWide) {
    QStringList parts = path.split(QLatin1Char('\\'));
    SettingLocation loc;
    loc.root = machineWide ? Registry::LocalMachine : Registry::CurrentUser;
    loc.name = parts.takeLast();
    loc.hasSubkey = !parts.isEmpty();
    loc.key = SettingsRoot();
    for (const QString& part : parts)
        loc.key += QLatin1Char('\\') + part;
    return loc;
}

} // namespace

QString ReadSetting(const QString& path, const QString& defaultValue, bool machineWide) {
    const SettingLocation loc = locate(path, machineWide);
    if (!loc.hasSubkey) Registry::CreateKey(loc.root, loc.key);
    QString value = Registry::GetValue(loc.root, loc.key, loc.name);
    if (value.isEmpty() && !defaultValue.isEmpty()) {
        Registry::CreateKey(loc.root, loc.key);
        value = Registry::GetValue(loc.root, loc.key, loc.name);
        if (value.isEmpty()) {
            Registry::SetValue(loc.root, loc.key, loc.name, defaultValue);
            return defaultValue;
        }
    }
    return value;
}

Status TryWriteSetting(const QString& path, const QString& value, bool machineWide) {
    const SettingLocation loc = locate(path, machineWide);
    if (const Status key = Registry::EnsureKey(loc.root, loc.key); !key) return key;
    return Registry::PutValue(loc.root, loc.key, RegValue::text(loc.name, value));
}

bool WriteSetting(const QString& path, const QString& value, bool machineWide) {
    return TryWriteSetting(path, value, machineWide).ok();
}

Status TryDeleteSetting(const QString& path, bool machineWide) {
    const SettingLocation loc = locate(path, machineWide);
    return Registry::RemoveValue(loc.root, loc.key, loc.name);
}

bool DeleteSetting(const QString& path, bool machineWide) {
    return TryDeleteSetting(path, machineWide).ok();
}

double NumberOr(const QString& text, double defaultValue) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : defaultValue;
}

} // namespace mainMod
