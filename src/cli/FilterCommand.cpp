#include "cli/FilterCommand.h"

#include "cli/BrowseCommands.h"
#include "cli/LibraryAccess.h"
#include "components/MediaLibrary.h"
#include "core/LibraryPaths.h"
#include "filters/FilterCompiler.h"
#include "filters/FilterData.h"
#include "filters/FilterJson.h"
#include "filters/FilterQuery.h"
#include "filters/FilterStore.h"
#include "lang/Mui.h"
#include "library/NodeKeys.h"

#include <QFile>

namespace qvr {

namespace {

using namespace filters;

struct Options {
    QString id;   // ID, or ID|NAME for run
    QString name; // save NAME
    QString file; // FILE.json or "-"
    QString expert;
    CLI::Option* expertOption = nullptr; // given, even empty: expert mode
    bool replace = false;
    QString statement;
    LibraryOptions library;
};

// Language texts, with the reference language's words when no language file
// can be read.
QString text(const clsMUI& lang, int number, const char* fallback, const QStringList& args = {}) {
    const QString t = lang.Text(number, args);
    if (!t.isEmpty()) return t;
    QString f = QString::fromUtf8(fallback);
    for (int i = 0; i < args.size(); ++i)
        f.replace(QStringLiteral("%%1").arg(i), args.at(i));
    return f;
}

const char* const InvalidText =
    "The filter is not valid. Check its conditions (or, in expert mode, its SQL text) and try "
    "again.";

Result<QByteArray> readInput(const QString& file) {
    QFile f;
    if (file == QLatin1String("-")) {
        if (!f.open(stdin, QIODevice::ReadOnly))
            return Result<QByteArray>::failure(QStringLiteral("cannot read the standard input"));
    } else {
        f.setFileName(file);
        if (!f.open(QIODevice::ReadOnly))
            return Result<QByteArray>::failure(QStringLiteral("cannot read ") + file + ": " +
                                               f.errorString());
    }
    return f.readAll();
}

// The ID argument as a filter id; 0 when it is not a positive whole number.
qint64 idOf(const QString& text) {
    bool ok = false;
    const qint64 id = text.toLongLong(&ok);
    return ok && id > 0 ? id : 0;
}

// The grid of the JSON file, with the genre list as the editor fills it.
Result<FilterGrid> readGrid(db::Database& db, const clsMUI& lang, const QString& file) {
    const Result<QByteArray> json = readInput(file);
    if (!json) return Result<FilterGrid>::failure(json.error());
    const Result<GenreList> genres = LoadGenres(db, text(lang, 176, "(No genre)"));
    if (!genres) return Result<FilterGrid>::failure(genres.error());
    Result<FilterGrid> grid =
        GridFromJson(json.value(), genres.value(), QDateTime::currentDateTime());
    if (!grid) return Result<FilterGrid>::failure(file + ": " + grid.error());
    return grid;
}

int list(const Options& options, Io io) {
    MediaLibrary library;
    if (!openExistingLibrary(library, options.library.db, io)) return 1;
    const Result<QList<FilterRecord>> all = ListFilters(library.Connection());
    if (!all) {
        io.err << "qvr filter: " << all.error() << '\n';
        return 1;
    }
    for (const FilterRecord& f : all.value()) {
        if (options.library.json)
            printJson({{QStringLiteral("id"), f.id}, {QStringLiteral("name"), f.name}}, io);
        else
            io.out << f.id << '\t' << f.name << '\n';
    }
    return 0;
}

// The filter an ID (or, when asked, a name) stands for; prints why there is none.
std::optional<FilterRecord> find(db::Database& db, const QString& idOrName, bool byName, Io io) {
    const qint64 id = idOf(idOrName);
    Result<std::optional<FilterRecord>> f =
        id > 0   ? FindFilter(db, id)
        : byName ? FindFilterByName(db, idOrName.trimmed())
                 : Result<std::optional<FilterRecord>>::failure(
                       QStringLiteral("not a filter id: ") + idOrName);
    if (!f) {
        io.err << "qvr filter: " << f.error() << '\n';
        return std::nullopt;
    }
    if (!f->has_value()) io.err << "qvr filter: no filter " << idOrName << '\n';
    return f.value();
}

int show(const Options& options, Io io) {
    MediaLibrary library;
    if (!openExistingLibrary(library, options.library.db, io)) return 1;
    const std::optional<FilterRecord> f = find(library.Connection(), options.id, false, io);
    if (!f) return 1;
    io.out << f->name << '\n';
    for (const FdataLine& l : ReadFdata(f->fdata)) {
        io.out << l.name;
        if (l.index >= 0) io.out << '*' << l.index;
        io.out << '\t' << l.value << '\n';
    }
    io.out << f->qsql << '\n';
    return 0;
}

int run(const Options& options, Io io) {
    qint64 id = 0;
    {
        MediaLibrary library;
        if (!openExistingLibrary(library, options.library.db, io)) return 1;
        const std::optional<FilterRecord> f = find(library.Connection(), options.id, true, io);
        if (!f) return 1;
        // A stored statement is run only when it reads and nothing else.
        if (Result<db::Recordset> r = QueryReadOnly(library.Connection(), f->qsql); !r) {
            clsMUI lang;
            loadLanguage(lang);
            io.err << text(lang, 156, InvalidText) << '\n' << "qvr filter: " << r.error() << '\n';
            return 1;
        }
        id = f->id;
    }
    return runListCommand(NodeKeys::FilterPrefix + QString::number(id), options.library, io);
}

int remove(const Options& options, Io io) {
    MediaLibrary library;
    if (!openExistingLibrary(library, options.library.db, io)) return 1;
    const qint64 id = idOf(options.id);
    if (id == 0) {
        io.err << "qvr filter: not a filter id: " << options.id << '\n';
        return 1;
    }
    const Result<bool> gone = DeleteFilter(library.Connection(), id);
    if (!gone || !gone.value()) {
        io.err << "qvr filter: "
               << (gone ? QStringLiteral("no filter ") + options.id : gone.error()) << '\n';
        return 1;
    }
    return 0;
}

int compile(const Options& options, Io io) {
    clsMUI lang;
    loadLanguage(lang);
    // The genre list comes from the library, or from the template when there is none yet.
    const QString path = libraryExists(options.library.db) ? libraryPath(options.library.db)
                                                           : mainMod::TemplatePath();
    Result<db::Database> db = db::Database::open(path, db::Database::Mode::ReadOnly);
    if (!db) {
        io.err << "qvr filter: " << db.error() << '\n';
        return 1;
    }
    const Result<FilterGrid> grid = readGrid(db.value(), lang, options.file);
    if (!grid) {
        io.err << "qvr filter: " << grid.error() << '\n';
        return 1;
    }
    const Result<GenreList> genres = LoadGenres(db.value(), text(lang, 176, "(No genre)"));
    io.out << Compile(grid.value(), genres.value()) << '\n';
    return 0;
}

int save(const Options& options, Io io) {
    MediaLibrary library;
    if (!openLibrary(library, options.library.db, io)) return 1;
    db::Database& db = library.Connection();
    clsMUI lang;
    loadLanguage(lang);
    const Result<FilterGrid> grid = readGrid(db, lang, options.file);
    if (!grid) {
        io.err << "qvr filter: " << grid.error() << '\n';
        return 1;
    }
    const Result<GenreList> genres = LoadGenres(db, text(lang, 176, "(No genre)"));
    SaveRequest request;
    request.name = options.name;
    request.fdata = EncodeGrid(grid.value());
    request.statement = options.expertOption->count() > 0 ? ExpertStatement(options.expert)
                                                          : Compile(grid.value(), genres.value());
    const bool replace = options.replace;
    const Result<SaveResult> saved =
        SaveFilter(db, request, [replace](const QString&) { return replace; });
    if (!saved) {
        io.err << "qvr filter: " << saved.error() << '\n';
        return 1;
    }
    switch (saved->outcome) {
    case SaveOutcome::Saved:
        io.out << saved->id << '\n';
        return 0;
    case SaveOutcome::NameTooShort:
        io.err << text(lang, 157, "The filter name must have at least 3 characters.") << '\n';
        return 1;
    case SaveOutcome::Invalid:
        io.err << text(lang, 156, InvalidText) << '\n' << "qvr filter: " << saved->reason << '\n';
        return 1;
    case SaveOutcome::Declined:
        io.err << text(lang, 159, "A filter named %0 already exists. Do you want to replace it?",
                       {QLatin1Char('"') + options.name.trimmed() + QLatin1Char('"')})
               << '\n'
               << "qvr filter: --replace replaces it\n";
        return 1;
    }
    return 1;
}

int check(const Options& options, Io io) {
    MediaLibrary library;
    if (!openExistingLibrary(library, options.library.db, io)) return 1;
    clsMUI lang;
    loadLanguage(lang);
    if (Status s = ValidateStatement(library.Connection(), options.statement); !s) {
        io.err << text(lang, 156, InvalidText) << '\n' << "qvr filter: " << s.error() << '\n';
        return 1;
    }
    io.out << text(lang, 164, "The filter is valid.") << '\n';
    return 0;
}

// A path, or "-" for the standard input.
CLI::Validator jsonInput(const cli::CommandLine& line) {
    return CLI::Validator(
        [path = line.path()](std::string& value) -> std::string {
            return value == "-" ? std::string() : path(value);
        },
        std::string());
}

} // namespace

void addFilterCommand(CLI::App& qvr, Command& command) {
    CommandGroup<Options> group(qvr, command, "filter", "The smart filters");
    Options* options = &group.options();
    const auto sub = [&group](const char* name, const char* description, bool json,
                              int (*action)(const Options&, Io)) {
        return group.add(name, description, json, action);
    };

    sub("list", "Every filter: ID<TAB>NAME, by name", true, list);

    CLI::App* showCommand = sub(
        "show", "A filter's name, its stored grid one control a line, its statement", false, show);
    cli::addText(showCommand, "ID", options->id, "The filter's id")->required();

    CLI::App* runCommand =
        sub("run", "A filter's statement and its files, as qvr list prints them", true, run);
    cli::addText(runCommand, "ID|NAME", options->id, "The filter's id or name")->required();

    CLI::App* deleteCommand = sub("delete", "Delete a filter", false, remove);
    cli::addText(deleteCommand, "ID", options->id, "The filter's id")->required();

    CLI::App* compileCommand =
        sub("compile", "The statement of a grid given as JSON (see the README)", false, compile);
    cli::addText(compileCommand, "FILE", options->file, "The grid's JSON file, - for stdin")
        ->required()
        ->check(jsonInput(command.line));

    CLI::App* saveCommand =
        sub("save", "Save a grid as a filter by the editor's rules; prints its id", false, save);
    cli::addText(saveCommand, "NAME", options->name, "The filter's name")->required();
    cli::addText(saveCommand, "FILE", options->file, "The grid's JSON file, - for stdin")
        ->required()
        ->check(jsonInput(command.line));
    options->expertOption =
        cli::addText(saveCommand, "--expert", options->expert,
                     "The WHERE part written by hand, stored in place of the grid's statement");
    saveCommand->add_flag("--replace", options->replace, "Replace a filter of the same name");

    CLI::App* checkCommand =
        sub("check", "Test a statement as the editor does: exit status 0 when valid", false, check);
    cli::addText(checkCommand, "STATEMENT", options->statement, "One statement")->required();
}

} // namespace qvr
