#include "cli/LibraryAccess.h"

#include "components/MediaLibrary.h"
#include "core/AppInfo.h"
#include "core/LibraryPaths.h"
#include "core/Settings.h"
#include "lang/Mui.h"

#include <QFile>
#include <QFileInfo>

namespace qvr {

QString libraryPath(const QString& databaseOption) {
    return databaseOption.isEmpty() ? mainMod::DataFolder() + QStringLiteral("data.qvd")
                                    : databaseOption;
}

bool libraryExists(const QString& databaseOption) {
    return QFileInfo::exists(libraryPath(databaseOption));
}

int noLibrary(const QString& databaseOption, Io io) {
    const QString path = libraryPath(databaseOption);
    io.err << "qvr: no library at " << path << "; run qvr scan "
           << (databaseOption.isEmpty() ? QString()
                                        : QStringLiteral("--db ") + path + QLatin1Char(' '))
           << "FOLDER first\n";
    return 1;
}

bool openLibrary(MediaLibrary& library, const QString& databaseOption, Io io) {
    QString path = databaseOption;
    if (path.isEmpty()) {
        path = mainMod::GetDatabasePath();
        if (path.isEmpty()) {
            io.err << "qvr: no library database: " << mainMod::DataFolder()
                   << "data.qvd is missing and the template data.blk was not found\n";
            return false;
        }
    } else if (!QFileInfo::exists(path) && QFile::copy(mainMod::TemplatePath(), path)) {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                        QFile::ReadOther);
    }
    if (!library.OpenLibrary(path)) {
        io.err << "qvr: cannot open the library " << path << ": " << library.OpenError() << '\n';
        return false;
    }
    return true;
}

void loadLanguage(clsMUI& lang) {
    lang.SetLangFolder(mainMod::LangFolder());
    const QString stored = mainMod::ReadSetting(QStringLiteral("Misc\\LCID"));
    lang.SetLCID(static_cast<int>(mainMod::NumberOr(stored, 0)));
}

bool openExistingLibrary(MediaLibrary& library, const QString& databaseOption, Io io) {
    if (!libraryExists(databaseOption)) {
        noLibrary(databaseOption, io);
        return false;
    }
    return openLibrary(library, databaseOption, io);
}

} // namespace qvr
