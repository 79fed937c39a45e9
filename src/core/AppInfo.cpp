#include "core/AppInfo.h"

#include "core/PathHelpers.h"

#include <QCoreApplication>
#include <QDir>
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

namespace {
// PREFIX/share/quavero/ beside PREFIX/bin, when the program was installed there.
QString installedShareFolder() {
    const QDir share(AppFolder() + QStringLiteral("../share/quavero"));
    if (!share.exists(QStringLiteral("Lang")) && !share.exists(QStringLiteral("data.blk")))
        return QString();
    return NormalizePath(share.canonicalPath(), true);
}
} // namespace

QString ResourceFolder() {
    static const QString folder = [] {
        const QString share = installedShareFolder();
        return share.isEmpty() ? AppFolder() : share;
    }();
    return folder;
}

bool IsInstalled() {
    return ResourceFolder() != AppFolder();
}

QString LangFolder() {
    return ResourceFolder() + QStringLiteral("Lang/");
}

QString ExePath() {
    const QString name = QCoreApplication::instance()
                             ? QFileInfo(QCoreApplication::applicationFilePath()).fileName()
                             : QStringLiteral("quavero");
    return AppFolder() + name;
}

QString ServerHelpPath() {
    return ResourceFolder() + QStringLiteral("Help/srvhelp.htm");
}

QString ServerConfigPath() {
    return AppFolder() + QStringLiteral("qvsrvcfg");
}

QString SettingsRoot() {
    return QStringLiteral("Software\\Kestrel\\") + AppName();
}

} // namespace mainMod
