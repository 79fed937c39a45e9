#include "cli/ConvertFilesCommand.h"

#include "cli/LibraryAccess.h"
#include "components/MediaLibrary.h"
#include "convert/ConvertJob.h"
#include "convert/EncoderConfig.h"

#include <QFileInfo>

namespace qvr {

void addConvertFilesCommand(CLI::App& qvr, Command& command) {
    auto options = std::make_shared<ConvertFilesOptions>();
    CLI::App* convert = qvr.add_subcommand(
        "convert", "Convert library files to another format; one line per file on stdout: "
                   "ID<TAB>completed<TAB>TARGET or ID<TAB>failed<TAB>REASON; exit status 0 when "
                   "every file completed, else 1. Targets are added to the library; an existing "
                   "file is never overwritten");
    cli::addText(convert, "--format", options->format, "mp3, wma or wav")->required();
    cli::addText(convert, "--to", options->to,
                 "The folder for the new files (default: each source's folder)")
        ->check(command.line.path());
    convert->add_flag("--delete-originals", options->deleteOriginals,
                      "Delete each source (and its row) once its new file reads back complete");
    convert
        ->add_option("FILEID", options->ids,
                     "Library ids, as 'qvr list KEY --json' and 'qvr record PATH' print them")
        ->required();
    addLibraryOptions(convert, options->library, command.line, false);
    convert->callback([&command, options] {
        if (!libraryExists(options->library.db)) {
            command.status = noLibrary(options->library.db, command.io);
            return;
        }
        command.status = runConvertFiles(*options, command.io);
    });
}

int runConvertFiles(const ConvertFilesOptions& options, Io io) {
    const int format = convert::FormatOfText(options.format);
    if (format < 0) {
        io.err << "qvr convert: --format takes mp3, wma or wav, not " << options.format << '\n';
        return cli::UsageError;
    }
    if (!options.to.isEmpty() && !QFileInfo(options.to).isDir()) {
        io.err << "qvr convert: no folder " << options.to << '\n';
        return 1;
    }
    MediaLibrary library;
    if (!openLibrary(library, options.library.db, io)) return 1;

    bool allCompleted = true;
    convert::ConvertQueue queue;
    QList<int> queuedIds;
    for (const int id : options.ids) {
        FileRecord record;
        if (queuedIds.contains(id)) continue;
        if (!library.GetFileRecord(id, record) || record.id < 1) {
            io.out << id << "\tfailed\tno file with this id\n";
            allCompleted = false;
        } else if (!queue.AddFile(record.fullPath)) {
            io.out << id << "\tfailed\tthe file does not exist: " << record.fullPath << '\n';
            allCompleted = false;
        } else {
            queuedIds << id;
        }
    }
    io.out.flush();

    convert::ConvertOptions convertOptions;
    convertOptions.format = format;
    convertOptions.targetFolder = options.to;
    convertOptions.deleteOriginals = options.deleteOriginals;
    convertOptions.addToLibrary = true;
    convert::ConvertJob job(convert::PlanRows(queue.Items(), convertOptions), convertOptions,
                            &library, convert::StoredEncoderSettings());
    job.setFailureHandler([](int) { return convert::ConvertJob::AfterFailure::Ignore; });
    QObject::connect(&job, &convert::ConvertJob::rowChanged, [&](int row) {
        // Final states go to stdout.
        const convert::RowState state = job.Rows().at(row).state;
        if (state != convert::RowState::Decoding && state != convert::RowState::Encoding) return;
        io.err << queuedIds.at(row) << ' ' << convert::StateWord(state) << ' '
               << job.Rows().at(row).source << '\n';
        io.err.flush();
    });
    QObject::connect(&job, &convert::ConvertJob::currentProgress, [&](int percent) {
        io.err << '\r' << percent << '%' << (percent >= 100 ? "\n" : "");
        io.err.flush();
    });
    QObject::connect(&job, &convert::ConvertJob::rowFinished, [&](int row) {
        const convert::ConvertRow& r = job.Rows().at(row);
        const bool ok = r.state == convert::RowState::Completed;
        io.out << queuedIds.at(row) << '\t' << convert::StateWord(r.state) << '\t'
               << (ok ? r.target : r.reason) << '\n';
        io.out.flush();
        if (ok && !r.reason.isEmpty()) io.err << queuedIds.at(row) << ' ' << r.reason << '\n';
    });
    job.Start();
    job.WaitForFinished();
    return allCompleted && job.Result() == convert::ConvertJob::Completed ? 0 : 1;
}

} // namespace qvr
