#include "core/LibraryPaths.h"

#include "core/AppInfo.h"
#include "core/PathHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <atomic>
#include <unistd.h>

namespace mainMod {

namespace {
std::atomic<bool> g_databaseCreated{false};

QString withSeparator(QString folder) {
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}
} // namespace

QString DataFolder() {
    const QString overridden = qEnvironmentVariable("QUAVERO_DATA_DIR");
    if (!overridden.isEmpty()) {
        QDir().mkpath(overridden);
        return withSeparator(overridden);
    }
    // A build tree or a portable copy keeps its data beside the program; an
    // installed program never writes where it was installed.
    const QString app = AppFolder();
    if (!IsInstalled() && ::access(QFile::encodeName(app).constData(), W_OK) == 0) return app;
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.local/share");
    const QString folder = withSeparator(base) + QStringLiteral("quavero/");
    QDir().mkpath(folder);
    return folder;
}

QString TemplatePath() {
    const QString inData = DataFolder() + QStringLiteral("data.blk");
    if (QFileInfo::exists(inData)) return inData;
    return ResourceFolder() + QStringLiteral("data.blk");
}

QString GetDatabasePath(const QString& dataFolder, const QString& templatePath) {
    const QString path = withSeparator(dataFolder) + QStringLiteral("data.qvd");
    if (QFileInfo::exists(path)) return path;
    SetDatabaseCreated(true);
    if (QFile::copy(templatePath, path))
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                        QFile::ReadOther);
    return QFileInfo::exists(path) ? path : QString();
}

QString GetDatabasePath() {
    return GetDatabasePath(DataFolder(), TemplatePath());
}

bool DatabaseCreated() {
    return g_databaseCreated.load();
}
void SetDatabaseCreated(bool created) {
    g_databaseCreated.store(created);
}

} // namespace mainMod
