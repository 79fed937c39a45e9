#include "util/UpdateSettings.h"

#include "core/AppInfo.h"
#include "core/HiveFile.h"
#include "core/Registry.h"
#include "core/Settings.h"

#include <optional>

#ifndef QUAVERO_UPDATE_URL
#define QUAVERO_UPDATE_URL ""
#endif

namespace mainMod {

namespace {

const QString LastCheckSetting = QStringLiteral("Misc\\LastUpdateCheck");
const QString TimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

std::optional<QString>& defaultOverride() {
    static std::optional<QString> url;
    return url;
}

// The value when it exists, even empty: the settings layer cannot tell an empty
// value from a missing one.
std::optional<QString> storedValue(Registry::Root root, const QString& name) {
    const auto file = HiveFile::at(Registry::HivePath(root), Registry::RootName(root));
    const Hive hive = file->read();
    const RegKey* key = hive.find(SettingsRoot() + QStringLiteral("\\Misc"));
    const RegValue* value = key ? key->find(name) : nullptr;
    if (!value) return std::nullopt;
    return value->readAsText().trimmed();
}

} // namespace

QString DefaultUpdateUrl() {
    return defaultOverride().value_or(QStringLiteral(QUAVERO_UPDATE_URL));
}

void SetDefaultUpdateUrl(const QString& url) {
    defaultOverride() = url;
}

QString UpdateUrl() {
    for (const Registry::Root root : {Registry::CurrentUser, Registry::LocalMachine})
        if (const auto value = storedValue(root, QStringLiteral("UpdateURL"))) return *value;
    return DefaultUpdateUrl();
}

QString UpdateRequestUrl(const QString& endpoint, const QString& version) {
    return endpoint + QStringLiteral("getinfo2.asp?pid=Quavero&cv=") + version;
}

QString ProductWebAddress() {
    return QStringLiteral("https://www.kestrel.example/quavero/");
}

bool ScheduledCheckDue(const QString& lastCheck, const QDateTime& now) {
    const QString text = lastCheck.trimmed();
    QDateTime last = QDateTime::fromString(text, TimeFormat);
    if (!last.isValid()) last = QDateTime::fromString(text, Qt::ISODate);
    if (!last.isValid()) last = QDateTime(QDate::fromString(text, Qt::ISODate), QTime(0, 0));
    if (!last.isValid()) return true;
    return last.date().toString(QStringLiteral("yyyy-MM-dd")) !=
           now.date().toString(QStringLiteral("yyyy-MM-dd"));
}

bool ClaimUpdateCheck(bool scheduled, const QDateTime& now) {
    if (scheduled && !ScheduledCheckDue(ReadSetting(LastCheckSetting), now)) return false;
    WriteSetting(LastCheckSetting, now.toString(TimeFormat));
    return true;
}

} // namespace mainMod
