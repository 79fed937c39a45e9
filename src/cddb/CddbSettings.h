#pragma once
// Where CDDB look-ups go and how the client greets the server: settings under
// "CDDB\", read when a look-up starts.
#include <QString>

namespace cddb {

struct ServerSettings {
    QString host = QStringLiteral("gnudb.gnudb.org");
    quint16 port = 80;
    QString helloUser = QStringLiteral("anonymous");
    QString helloHost = QStringLiteral("localhost");
    int timeoutMs = 30000;
};

// The setting paths.
inline const QString ServerKey = QStringLiteral("CDDB\\Server");
inline const QString PortKey = QStringLiteral("CDDB\\Port");
inline const QString HelloUserKey = QStringLiteral("CDDB\\HelloUser");
inline const QString HelloHostKey = QStringLiteral("CDDB\\HelloHost");
inline const QString TimeoutKey = QStringLiteral("CDDB\\Timeout"); // seconds, may be fractional

// The stored values; an empty or unusable value gives its default.
ServerSettings ReadServerSettings();
// Writes the four values the preferences show (not the time-out).
bool WriteServerSettings(const ServerSettings& settings);

// "http://HOST[:PORT]/~cddb/cddb.cgi".
QString CgiUrl(const ServerSettings& settings);

} // namespace cddb
