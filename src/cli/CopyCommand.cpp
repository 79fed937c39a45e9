#include "cli/CopyCommand.h"

#include "cli/LibraryAccess.h"
#include "components/MediaLibrary.h"
#include "core/FileNameCodec.h"
#include "editing/CopyJob.h"
#include "editing/SendToFolder.h"

#include <sys/stat.h>

namespace qvr {

void addCopyCommand(CLI::App& qvr, Command& command) {
    struct Options {
        QString destination;
        QStringList files;
        LibraryOptions library;
    };
    auto options = std::make_shared<Options>();
    CLI::App* copy =
        qvr.add_subcommand("copy", "Copy library files into a folder, replacing files there");
    cli::addText(copy, "DEST", options->destination, "An existing folder")->required();
    cli::addTexts(copy, "FILE", options->files, "Library files by id or full path")->required();
    addLibraryOptions(copy, options->library, command.line, false);
    copy->callback([&command, options] {
        command.status =
            runCopyCommand(options->destination, options->files, options->library, command.io);
    });
}

int runCopyCommand(const QString& destination, const QStringList& files,
                   const LibraryOptions& options, Io io) {
    struct stat st {};
    if (::stat(FileNameCodec::encode(destination).constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        io.err << "qvr copy: not a folder: " << destination << '\n';
        return 1;
    }
    if (!libraryExists(options.db)) return noLibrary(options.db, io);
    MediaLibrary library;
    if (!openLibrary(library, options.db, io)) return 1;

    int status = 0;
    QStringList sources;
    for (const QString& file : files) {
        FileRecord r;
        if (!library.GetFileRecord(file, r)) {
            io.err << "qvr copy: no such file: " << file << '\n';
            status = 1;
            continue;
        }
        sources << r.fullPath;
    }
    QString target = destination;
    if (!target.endsWith(QLatin1Char('/'))) target += QLatin1Char('/');
    CopyJob job;
    for (const auto& pair : SendToFolder::Pairs(target, sources))
        job.AddPair(pair.first, pair.second);

    CopyJob::Hooks hooks;
    const int total = job.count();
    hooks.starting = [&io, total](int index, const QString& source, const QString& to) {
        io.err << '[' << index + 1 << '/' << total << "] " << source << " -> " << to << '\n';
        io.err.flush();
    };
    hooks.failed = [&io](const CopyFailure& failure) {
        io.err << "qvr copy: " << failure.description << " (error " << failure.number << ")\n";
        return Dialogs::Ignore;
    };
    job.Run(hooks);
    io.out << job.copied() << " of " << total << " file(s) copied\n";
    return job.failed() > 0 ? 1 : status;
}

} // namespace qvr
