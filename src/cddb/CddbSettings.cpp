#include "cddb/CddbSettings.h"

#include "core/Settings.h"

namespace cddb {

ServerSettings ReadServerSettings() {
    ServerSettings s;
    auto text = [](const QString& key, const QString& fallback) {
        const QString value = mainMod::ReadSetting(key).trimmed();
        return value.isEmpty() ? fallback : value;
    };
    s.host = text(ServerKey, s.host);
    bool ok = false;
    const int port = mainMod::ReadSetting(PortKey).trimmed().toInt(&ok);
    if (ok && port > 0 && port <= 65535) s.port = static_cast<quint16>(port);
    s.helloUser = text(HelloUserKey, s.helloUser);
    s.helloHost = text(HelloHostKey, s.helloHost);
    const double seconds = mainMod::NumberOr(mainMod::ReadSetting(TimeoutKey), 30.0);
    if (seconds > 0 && seconds <= 3600) s.timeoutMs = static_cast<int>(seconds * 1000);
    return s;
}

bool WriteServerSettings(const ServerSettings& s) {
    return mainMod::WriteSetting(ServerKey, s.host) &&
           mainMod::WriteSetting(PortKey, QString::number(s.port)) &&
           mainMod::WriteSetting(HelloUserKey, s.helloUser) &&
           mainMod::WriteSetting(HelloHostKey, s.helloHost);
}

QString CgiUrl(const ServerSettings& s) {
    QString url = QStringLiteral("http://") + s.host;
    if (s.port != 80) url += QLatin1Char(':') + QString::number(s.port);
    return url + QStringLiteral("/~cddb/cddb.cgi");
}

} // namespace cddb
