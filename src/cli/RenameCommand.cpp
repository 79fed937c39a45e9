#include "cli/TagsCommand.h"

#include "cli/LibraryAccess.h"
#include "components/MediaLibrary.h"
#include "editing/RenamePlan.h"

namespace qvr {

namespace {

struct RenameOptions {
    QString pattern;
    QStringList files;
    bool dryRun = false;
    LibraryOptions library;
};

int rename(const RenameOptions& options, Io io) {
    if (!RenamePlan::HasTag(options.pattern)) {
        io.err << "qvr rename: You must use at least one of the available tags (%N, %T, %A, %B "
                  "or %Y).\n";
        return cli::UsageError;
    }
    QList<qint64> ids;
    if (!parseFileIds(options.files, ids, "rename", io)) return cli::UsageError;
    if (!libraryExists(options.library.db)) return noLibrary(options.library.db, io);
    MediaLibrary library;
    if (!openLibrary(library, options.library.db, io)) return cli::Failure;
    QList<RenamePlan::Step> steps =
        RenamePlan::Plan(options.pattern, RenamePlan::Records(library, ids));
    if (options.dryRun)
        RenamePlan::Preview(steps, RenamePlan::PathExists);
    else
        RenamePlan::Execute(library, steps);
    for (const RenamePlan::Step& step : steps) {
        const QString old = step.oldPath.isEmpty() ? QString::number(step.id) : step.oldPath;
        if (step.problem.isEmpty())
            io.out << old << '\t' << step.newPath << '\n';
        else
            io.out << old << "\tFAILED\t" << step.problem << '\n';
    }
    // As in the window, files that could not be renamed do not fail the command.
    return cli::Success;
}

} // namespace

void addRenameCommand(CLI::App& qvr, Command& command) {
    auto options = std::make_shared<RenameOptions>();
    CLI::App* rename = qvr.add_subcommand(
        "rename", "Rename files from their tags: %N track, %T title, %A artist, %B album, %Y year");
    cli::addText(rename, "PATTERN", options->pattern, "The new name, e.g. \"%A - %N - %T\"")
        ->required();
    cli::addTexts(rename, "FILEID", options->files, "Library file ids")->required();
    rename->add_flag("--dry-run", options->dryRun, "Show the new names, rename nothing");
    addLibraryOptions(rename, options->library, command.line, false);
    rename->callback([&command, options] { command.status = qvr::rename(*options, command.io); });
}

} // namespace qvr
