#include "core/AppInfo.h"

#include "core/PathHelpers.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace mainMod {

QString AppName() {
    return QStringLiteral("Quavero");
}

QString AppVersion() {
    return QStringLiteral(QUAVERO_VERSION);
}

QString AppVersionShort() {
    return QString::number(QUAVERO_VERSION_MAJOR) + QLatin1Char('.') +
           QString::number(QUAVERO_VERSION_MINOR);
}

bool IsBeta() {
    return true;
}

QString LangFolder() {
    return AppFolder() + QStringLiteral("Lang/");
}

QString ExePath() {
    const QString name = QCoreApplication::instance()
                             ? QFileInfo(QCoreApplication::applicationFilePath()).fileName()
                             : QStringLiteral("quavero");
    return AppFolder() + name;
}

QString ServerHelpPath() {
    return AppFolder() + QStringLiteral("Help/srvhelp.htm");
}

QString ServerConfigPath() {
    return AppFolder() + QStringLiteral("qvsrvcfg");
}

QString SettingsRoot() {
    return QStringLiteral("Software\\Kestrel\\") + AppName();
}

} // namespace mainMod
