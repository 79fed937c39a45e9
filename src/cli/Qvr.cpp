#include "cli/Qvr.h"

#include "cli/BrowseCommands.h"
#include "cli/FoldersCommand.h"
#include "cli/LibraryAccess.h"
#include "cli/RecordCommand.h"
#include "cli/ScanCommand.h"
#include "cli/SettingsCommand.h"
#include "cli/SqlCommand.h"
#include "cli/TagCommand.h"

#include <functional>
#include <utility>
#include <vector>

namespace qvr {

namespace {

struct Command {
    const char* name;
    const char* usage;
    std::function<int(const QStringList&, Io)> handler;
};

const std::vector<Command>& commands() {
    static const std::vector<Command> list = {
        {"settings", SettingsCommandUsage, runSettingsCommand},
        {"scan", ScanCommandUsage, runScanCommand},
        {"sql", SqlCommandUsage, runSqlCommand},
        {"folders", FoldersCommandUsage, runFoldersCommand},
        {"record", RecordCommandUsage, runRecordCommand},
        {"tag", TagCommandUsage, runTagCommand},
        {"tree", TreeCommandUsage, runTreeCommand},
        {"list", ListCommandUsage, runListCommand},
        {"search", SearchCommandUsage, runSearchCommand},
    };
    return list;
}

void printUsage(QTextStream& s) {
    s << "usage: qvr COMMAND [ARGS...]\n";
    for (const Command& c : commands())
        s << c.usage;
    s << LibraryOptionUsage;
}

} // namespace

int run(const QStringList& args, Io io) {
    if (args.isEmpty() || args.first() == QLatin1String("--help") ||
        args.first() == QLatin1String("help")) {
        printUsage(args.isEmpty() ? io.err : io.out);
        return args.isEmpty() ? 2 : 0;
    }
    for (const Command& c : commands())
        if (args.first() == QLatin1String(c.name)) return c.handler(args.mid(1), io);
    io.err << "qvr: unknown command '" << args.first() << "'\n";
    printUsage(io.err);
    return 2;
}

} // namespace qvr
