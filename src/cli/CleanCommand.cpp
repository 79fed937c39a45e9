#include "cli/CleanCommand.h"

#include "cli/LibraryAccess.h"
#include "components/MediaLibrary.h"
#include "core/LibraryPaths.h"
#include "library/LibraryMaintenance.h"

namespace qvr {

namespace {

struct Options {
    int choice = 0;
    LibraryOptions library;
};

int clean(const Options& options, Io io) {
    if (!libraryExists(options.library.db)) return noLibrary(options.library.db, io);
    MediaLibrary library;
    if (!openLibrary(library, options.library.db, io)) return 1;
    const Status done =
        LibraryMaintenance::CleanUp(library, options.choice, mainMod::TemplatePath());
    if (!done) {
        io.err << "qvr clean: " << done.error() << '\n';
        return 1;
    }
    return 0;
}

} // namespace

void addCleanCommand(CLI::App& qvr, Command& command) {
    auto options = std::make_shared<Options>();
    CLI::App* clean = qvr.add_subcommand(
        "clean", "Empty the library: 0 keeps the media folders, 1 forgets them too, "
                 "2 makes the database again from the template");
    clean->add_option("CHOICE", options->choice, "0, 1 or 2")->required()->check(CLI::Range(0, 2));
    addLibraryOptions(clean, options->library, command.line, false);
    clean->callback([&command, options] { command.status = qvr::clean(*options, command.io); });
}

} // namespace qvr
