#include "cli/LibraryAccess.h"

#include "components/MediaLibrary.h"
#include "core/LibraryPaths.h"

namespace qvr {

QString takeDatabaseOption(QStringList& args) {
    QString path;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--db") && i + 1 < args.size()) {
            path = args.at(i + 1);
            args.remove(i, 2);
            --i;
        } else if (args.at(i).startsWith(QLatin1String("--db="))) {
            path = args.at(i).mid(5);
            args.remove(i);
            --i;
        }
    }
    return path;
}

bool openLibrary(MediaLibrary& library, const QString& databaseOption, Io io) {
    const QString path = databaseOption.isEmpty() ? mainMod::GetDatabasePath() : databaseOption;
    if (path.isEmpty()) {
        io.err << "qvr: no library database: " << mainMod::DataFolder()
               << "data.qvd is missing and the template data.blk was not found\n";
        return false;
    }
    if (!library.OpenLibrary(path)) {
        io.err << "qvr: cannot open the library " << path << ": " << library.OpenError() << '\n';
        return false;
    }
    return true;
}

} // namespace qvr
