#include "cli/TagsCommand.h"

#include "cli/LibraryAccess.h"
#include "components/MediaLibrary.h"
#include "editing/BatchTags.h"

namespace qvr {

namespace {

struct Options {
    std::string field;
    QString value;
    QStringList files;
    LibraryOptions library;
};

// Prints what the batch did, one line per file: ID<TAB>VALUE, or
// ID<TAB>FAILED<TAB>REASON for a file that was left as it was.
void report(const QList<qint64>& ids, const BatchTags::Outcome& outcome,
            const std::function<QString(int)>& valueOf, Io io) {
    QHash<qint64, QString> failed;
    for (const BatchTags::Outcome::Failure& f : outcome.failures)
        failed.insert(f.id, f.reason);
    for (int i = 0; i < ids.size(); ++i) {
        if (failed.contains(ids[i]))
            io.out << ids[i] << "\tFAILED\t" << failed.value(ids[i]) << '\n';
        else
            io.out << ids[i] << '\t' << valueOf(i) << '\n';
    }
}

// A genre given by number (0..255) or by name; -1 when it is neither.
int genreOf(const QString& text) {
    bool isNumber = false;
    const int n = text.trimmed().toInt(&isNumber);
    if (isNumber) return n >= 0 && n <= 255 ? n : -1;
    const int byName = TagService::GenreNumber(text.trimmed());
    return byName == 255 ? -1 : byName;
}

int set(const Options& options, Io io) {
    QList<qint64> ids;
    if (!parseFileIds(options.files, ids, "tags", io)) return cli::UsageError;
    int genre = 0;
    if (options.field == "genre") {
        genre = genreOf(options.value);
        if (genre < 0) {
            io.err << "qvr tags: no genre has the name or number " << options.value << '\n';
            return cli::UsageError;
        }
    }
    if (!libraryExists(options.library.db)) return noLibrary(options.library.db, io);
    MediaLibrary library;
    if (!openLibrary(library, options.library.db, io)) return cli::Failure;
    if (options.field == "genre") {
        report(
            ids, BatchTags::SetGenre(*library.Tags(), ids, genre),
            [genre](int) { return QString::number(genre); }, io);
        return cli::Success;
    }
    const int code = options.field == "artist"  ? TagService::Artist
                     : options.field == "album" ? TagService::Album
                                                : TagService::Year;
    const QString value = options.value.trimmed();
    report(
        ids, BatchTags::SetTag(*library.Tags(), ids, code, value), [&value](int) { return value; },
        io);
    return cli::Success;
}

int enumerate(const Options& options, Io io) {
    QList<qint64> ids;
    if (!parseFileIds(options.files, ids, "tags", io)) return cli::UsageError;
    if (!libraryExists(options.library.db)) return noLibrary(options.library.db, io);
    MediaLibrary library;
    if (!openLibrary(library, options.library.db, io)) return cli::Failure;
    report(
        ids, BatchTags::EnumTracks(*library.Tags(), ids),
        [](int i) { return QString::number(i + 1); }, io);
    return cli::Success;
}

} // namespace

bool parseFileIds(const QStringList& args, QList<qint64>& ids, const char* command, Io io) {
    for (const QString& arg : args) {
        bool ok = false;
        const qint64 id = arg.toLongLong(&ok);
        if (!ok || id <= 0) {
            io.err << "qvr " << command << ": not a file id: " << arg << '\n';
            return false;
        }
        ids << id;
    }
    return true;
}

void addTagsCommand(CLI::App& qvr, Command& command) {
    auto options = std::make_shared<Options>();
    CLI::App* tags = qvr.add_subcommand("tags", "Write one tag to many files");
    tags->require_subcommand(1);
    addLibraryOptions(tags, options->library, command.line, false);

    CLI::App* setCommand = tags->add_subcommand(
        "set", "Give every file the same artist, album, year or genre (by number or name)");
    setCommand->add_option("FIELD", options->field, "artist, album, year or genre")
        ->required()
        ->check(CLI::IsMember({"artist", "album", "year", "genre"}));
    cli::addText(setCommand, "VALUE", options->value, "The new value")->required();
    cli::addTexts(setCommand, "FILEID", options->files, "Library file ids")->required();
    addLibraryOptions(setCommand, options->library, command.line, false);
    setCommand->callback([&command, options] { command.status = set(*options, command.io); });

    CLI::App* enumCommand =
        tags->add_subcommand("enum", "Number the files as tracks 1, 2, 3 ... in the order given");
    cli::addTexts(enumCommand, "FILEID", options->files, "Library file ids")->required();
    addLibraryOptions(enumCommand, options->library, command.line, false);
    enumCommand->callback(
        [&command, options] { command.status = enumerate(*options, command.io); });
}

} // namespace qvr
