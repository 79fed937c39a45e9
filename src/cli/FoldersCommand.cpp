#include "cli/FoldersCommand.h"

#include "cli/LibraryAccess.h"
#include "components/MediaLibrary.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "library/LibraryMaintenance.h"

namespace qvr {

namespace {

struct Options {
    QString path;
    bool withFiles = false;
    bool yes = false;
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

// A language text on its own lines, as the window would show it.
QString plain(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The editor's rules: the whole file system only when confirmed, no folder
// twice, none inside another.
int add(const Options& options, Io io) {
    MediaLibrary library;
    if (!openLibrary(library, options.library.db, io)) return 1;
    clsMUI lang;
    loadLanguage(lang);
    mainMod::SetLang(&lang);
    const auto refuse = [&io](const QString& text) {
        mainMod::SetLang(nullptr);
        io.err << plain(text) << '\n';
        return 1;
    };
    MediaFolderStore* folders = library.MediaFolders();
    const MediaFolderStore::Placement placement = folders->Place(options.path);
    if (MediaFolderStore::IsWholeDrive(placement.path) && !options.yes)
        return refuse(lang.Text(92) + QStringLiteral("\r\n") + lang.Text(930));
    if (const QString why = LibraryMaintenance::RefusalText(placement); !why.isEmpty())
        return refuse(why);
    if (!folders->Add(placement.path)) return refuse(lang.Text(97));
    mainMod::SetLang(nullptr);
    io.out << placement.path << '\n';
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
    addCommand->add_flag("--yes", options->yes,
                         "Add the whole file system without asking (PATH is /)");
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
