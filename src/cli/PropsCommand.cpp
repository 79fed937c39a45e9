#include "cli/PropsCommand.h"

#include "cli/LibraryAccess.h"
#include "components/MediaLibrary.h"
#include "editing/PropsView.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"

namespace qvr {

namespace {

int printProps(MediaLibrary& library, const FileRecord& record, Io io) {
    const props::PropsView v = props::Describe(library, record);
    const QList<QPair<QString, int>> genres = TagService::GenreList(true);
    const QStringList ratings = props::RatingNames();
    auto yes = [](bool b) { return b ? QStringLiteral("yes") : QStringLiteral("no"); };
    const QList<QPair<const char*, QString>> lines = {
        {"filename", v.fileName},
        {"location", v.location},
        {"type", v.type},
        {"size", v.size},
        {"created", v.created},
        {"modified", v.modified},
        {"accessed", v.accessed},
        {"bitrate", v.bitrate},
        {"frequency", v.frequency},
        {"duration", v.duration},
        {"cover", v.coverPath},
        {"tagtab", yes(v.tagTab)},
        {"title", v.title},
        {"artist", v.artist},
        {"album", v.album},
        {"year", v.year},
        {"track", v.track},
        {"genre", v.genre},
        {"genrelist", genres.value(v.genreIndex).first},
        {"librarytab", yes(v.libraryTab)},
        {"rating", v.libraryTab ? ratings.value(v.rating) : QString()},
        {"added", v.added},
        {"updated", v.updated},
        {"playcount", v.playCount},
    };
    for (const auto& [name, text] : lines)
        io.out << name << '\t' << text << '\n';
    return 0;
}

} // namespace

void addPropsCommand(CLI::App& qvr, Command& command) {
    struct Options {
        QString file;
        LibraryOptions library;
    };
    auto options = std::make_shared<Options>();
    CLI::App* cmd =
        qvr.add_subcommand("props", "What the file's properties dialog shows, one field a line");
    addFileArgument(cmd, options->file, command.line);
    addLibraryOptions(cmd, options->library, command.line, true);
    cmd->callback([&command, options] {
        command.status = runPropsCommand(options->file, options->library, command.io);
    });
}

int runPropsCommand(const QString& file, const LibraryOptions& options, Io io) {
    if (!libraryExists(options.db)) return noLibrary(options.db, io);
    MediaLibrary library;
    if (!openLibrary(library, options.db, io)) return 1;
    FileRecord record;
    if (!library.GetFileRecord(file, record)) {
        io.err << "qvr props: no such file: " << file << '\n';
        return 1;
    }
    // Rating names and dates in the language the application would show.
    clsMUI lang;
    loadLanguage(lang);
    clsMUI* previous = mainMod::Lang();
    mainMod::SetLang(&lang);
    const int status =
        options.json ? printLinesAsJson([&](Io o) { return printProps(library, record, o); }, io)
                     : printProps(library, record, io);
    mainMod::SetLang(previous);
    return status;
}

} // namespace qvr
