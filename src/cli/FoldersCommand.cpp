#include "cli/FoldersCommand.h"

#include "cli/LibraryAccess.h"
#include "components/MediaLibrary.h"

namespace qvr {

namespace {

struct Options {
    QString path;
    bool withFiles = false;
    LibraryOptions library;
};

int list(const Options& options, Io io) {
    if (!libraryExists(options.library.db)) return noLibrary(options.library.db, io);
    MediaLibrary library;
    if (!openLibrary(library, options.library.db, io)) return 1;
    MediaFolderStore* folders = library.MediaFolders();
    for (int i = 0; i < folders->FolderCount(); ++i) {
        const QDateTime scan = folders->FolderLastScan(i);
        const QString scanText = scan.isValid()
                                     ? scan.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                     : QStringLiteral("never");
        if (options.library.json)
            printJson({{QStringLiteral("id"), folders->FolderId(i)},
                       {QStringLiteral("path"), folders->FolderPath(i)},
                       {QStringLiteral("lastscan"),
                        scan.isValid() ? QJsonValue(scanText) : QJsonValue(QJsonValue::Null)}},
                      io);
        else
            io.out << folders->FolderId(i) << '\t' << folders->FolderPath(i) << '\t' << scanText
                   << '\n';
    }
    return 0;
}

int add(const Options& options, Io io) {
    MediaLibrary library;
    if (!openLibrary(library, options.library.db, io)) return 1;
    if (!library.MediaFolders()->Add(options.path)) {
        io.err << "qvr folders: cannot add " << options.path
               << " (missing, not a folder, or listed already)\n";
        return 1;
    }
    io.out << MediaFolderStore::Normalize(options.path) << '\n';
    return 0;
}

int remove(const Options& options, Io io) {
    if (!libraryExists(options.library.db)) return noLibrary(options.library.db, io);
    MediaLibrary library;
    if (!openLibrary(library, options.library.db, io)) return 1;
    if (!library.MediaFolders()->Remove(options.path, options.withFiles)) {
        io.err << "qvr folders: " << options.path << " is not a media folder\n";
        return 1;
    }
    return 0;
}

} // namespace

void addFoldersCommand(CLI::App& qvr, Command& command) {
    auto options = std::make_shared<Options>();
    CLI::App* folders = qvr.add_subcommand("folders", "The media folders");
    folders->require_subcommand(1);
    // "--db PATH" may come before the subcommand too.
    addLibraryOptions(folders, options->library, command.line, false);

    CLI::App* listCommand =
        folders->add_subcommand("list", "The media folders, with their last scan");
    addLibraryOptions(listCommand, options->library, command.line, true);
    listCommand->callback([&command, options] { command.status = list(*options, command.io); });

    CLI::App* addCommand = folders->add_subcommand("add", "Add a media folder");
    cli::addText(addCommand, "PATH", options->path, "The folder")
        ->required()
        ->check(command.line.path());
    addLibraryOptions(addCommand, options->library, command.line, false);
    addCommand->callback([&command, options] { command.status = add(*options, command.io); });

    CLI::App* removeCommand = folders->add_subcommand("remove", "Remove a media folder");
    cli::addText(removeCommand, "PATH", options->path, "The folder")
        ->required()
        ->check(command.line.path());
    removeCommand->add_flag("--with-files", options->withFiles,
                            "Remove its files from the library too");
    addLibraryOptions(removeCommand, options->library, command.line, false);
    removeCommand->callback([&command, options] { command.status = remove(*options, command.io); });
}

} // namespace qvr
