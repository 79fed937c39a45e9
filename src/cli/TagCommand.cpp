#include "cli/TagCommand.h"

#include "cli/LibraryAccess.h"
#include "components/MediaLibrary.h"

namespace qvr {

int runTagCommand(const QStringList& argsIn, Io io) {
    QStringList args = argsIn;
    const QString dbPath = takeDatabaseOption(args);
    bool codeOk = false;
    const int code = args.value(1).toInt(&codeOk);
    if (args.size() != 3 || !codeOk) {
        io.err << "usage:\n" << TagCommandUsage;
        return 2;
    }
    MediaLibrary library;
    if (!openLibrary(library, dbPath, io)) return 1;
    if (!library.Tags()->WriteTag(args.at(0), code, args.at(2))) {
        io.err << "qvr tag: the tag was not written\n";
        return 1;
    }
    return 0;
}

} // namespace qvr
