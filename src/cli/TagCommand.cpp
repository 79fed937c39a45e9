#include "cli/TagCommand.h"

#include "cli/LibraryAccess.h"
#include "components/MediaLibrary.h"

namespace qvr {

void addTagCommand(CLI::App& qvr, Command& command) {
    struct Options {
        QString file;
        int code = 0;
        QString value;
        LibraryOptions library;
    };
    auto options = std::make_shared<Options>();
    CLI::App* tag = qvr.add_subcommand("tag", "Write a tag to the file and its row");
    addFileArgument(tag, options->file, command.line);
    tag->add_option("CODE", options->code,
                    "0 artist, 1 album, 2 year, 3 track, 4 title, 5 genre number, 6 genre text")
        ->required();
    cli::addText(tag, "VALUE", options->value, "The new value")->required();
    addLibraryOptions(tag, options->library, command.line, false);
    tag->callback([&command, options] {
        if (!libraryExists(options->library.db)) {
            command.status = noLibrary(options->library.db, command.io);
            return;
        }
        const QStringList args = {options->file, QString::number(options->code), options->value};
        command.status = runTagCommand(args, options->code, options->library.db, command.io);
    });
}

int runTagCommand(const QStringList& args, int code, const QString& dbPath, Io io) {
    MediaLibrary library;
    if (!openLibrary(library, dbPath, io)) return 1;
    if (Status s = library.Tags()->WriteTag(args.at(0), code, args.at(2)); !s) {
        io.err << "qvr tag: " << s.error() << "\n";
        return 1;
    }
    return 0;
}

} // namespace qvr
