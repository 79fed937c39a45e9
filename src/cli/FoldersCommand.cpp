#include "cli/FoldersCommand.h"

#include "cli/LibraryAccess.h"
#include "components/MediaLibrary.h"

namespace qvr {

int runFoldersCommand(const QStringList& argsIn, Io io) {
    QStringList args = argsIn;
    const QString dbPath = takeDatabaseOption(args);
    const bool withFiles = args.removeAll(QStringLiteral("--with-files")) > 0;
    const QString verb = args.value(0);
    const bool ok = (verb == QLatin1String("list") && args.size() == 1 && !withFiles) ||
                    (verb == QLatin1String("add") && args.size() == 2 && !withFiles) ||
                    (verb == QLatin1String("remove") && args.size() == 2);
    if (!ok) {
        io.err << "usage:\n" << FoldersCommandUsage;
        return 2;
    }
    MediaLibrary library;
    if (!openLibrary(library, dbPath, io)) return 1;
    MediaFolderStore* folders = library.MediaFolders();
    if (verb == QLatin1String("list")) {
        for (int i = 0; i < folders->FolderCount(); ++i) {
            const QDateTime scan = folders->FolderLastScan(i);
            io.out << folders->FolderId(i) << '\t' << folders->FolderPath(i) << '\t'
                   << (scan.isValid() ? scan.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                      : QStringLiteral("never"))
                   << '\n';
        }
        return 0;
    }
    if (verb == QLatin1String("add")) {
        if (!folders->Add(args.at(1))) {
            io.err << "qvr folders: cannot add " << args.at(1)
                   << " (missing, not a folder, or listed already)\n";
            return 1;
        }
        io.out << MediaFolderStore::Normalize(args.at(1)) << '\n';
        return 0;
    }
    if (!folders->Remove(args.at(1), withFiles)) {
        io.err << "qvr folders: " << args.at(1) << " is not a media folder\n";
        return 1;
    }
    return 0;
}

} // namespace qvr
