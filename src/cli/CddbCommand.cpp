#include "cli/CddbCommand.h"

#include "cd/clsRIP.h"
#include "cddb/CddbClient.h"
#include "cli/LibraryAccess.h"
#include "components/MediaLibrary.h"
#include "editing/DiscTags.h"
#include "util/clsWEncode.h"

namespace qvr {

namespace {

struct CddbOptions {
    int number = 0;
    QStringList files;
    int pick = 0; // 1-based; 0: the first
    bool apply = false;
    LibraryOptions library;
};

const char* const kLayout =
    "Prints the disc as NAME<TAB>value lines (artist, album, year, genre, category, "
    "discid, tracks), then one NN<TAB>title line per track. With several matches the "
    "matches are listed on stderr and the first is taken unless --pick K is given.";

void reportFailure(cddb::Failure failure, const cddb::CddbClient& client, const char* command,
                   Io io) {
    QString text = cddb::MessageOf(failure).prompt;
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    io.err << "qvr cddb " << command << ": " << text;
    if (failure == cddb::Failure::NoAnswer && !client.LastError().isEmpty())
        io.err << " (" << client.LastError() << ')';
    io.err << '\n';
}

void printDisc(const CdInfo& disc, Io io) {
    io.out << "artist\t" << disc.artist << '\n'
           << "album\t" << disc.album << '\n'
           << "year\t" << disc.year << '\n'
           << "genre\t" << disc.genre << '\n'
           << "category\t" << disc.category << '\n'
           << "discid\t" << disc.discId << '\n'
           << "tracks\t" << disc.trackCount << '\n';
    for (int i = 0; i < disc.trackCount; ++i)
        io.out << QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0')) << '\t'
               << disc.tracks[i].title << '\n';
}

// Runs the query and reads the chosen disc into disc; the exit status.
int lookUp(const QString& query, int pick, const char* command, CdInfo& disc, Io io) {
    cddb::CddbClient client;
    cddb::QueryAnswer answer = client.Query(query);
    if (answer.failure != cddb::Failure::None) {
        reportFailure(answer.failure, client, command, io);
        return 1;
    }
    disc = answer.result;
    if (answer.several()) {
        io.err << answer.matches.size() << " discs match:\n";
        for (qsizetype i = 0; i < answer.matches.size(); ++i) {
            const CdInfo& m = answer.matches.at(i).disc;
            io.err << (i + 1) << '\t' << m.category << '\t' << m.discId << '\t' << m.artist << " / "
                   << m.album << '\n';
        }
        const int chosen = pick > 0 ? pick : 1;
        if (chosen > answer.matches.size()) {
            io.err << "qvr cddb " << command << ": --pick " << pick << " but only "
                   << answer.matches.size() << " discs match\n";
            return 1;
        }
        disc = answer.matches.at(chosen - 1).disc;
    } else if (pick > 1) {
        io.err << "qvr cddb " << command << ": --pick " << pick << " but only one disc matches\n";
        return 1;
    }
    if (cddb::Failure f = client.Read(disc); f != cddb::Failure::None) {
        reportFailure(f, client, command, io);
        return 1;
    }
    return 0;
}

int queryCd(const CddbOptions& options, Io io) {
    clsRIP rip;
    if (!rip.ReadDisc(options.number)) {
        io.err << "qvr cddb query: " << rip.LastError() << '\n';
        return 1;
    }
    CdInfo disc;
    const int status = lookUp(rip.CddbQuery(), options.pick, "query", disc, io);
    if (status == 0) printDisc(disc, io);
    return status;
}

int queryFiles(const CddbOptions& options, Io io) {
    QList<qint64> ids;
    for (const QString& text : options.files) {
        bool ok = false;
        const qint64 id = text.toLongLong(&ok);
        if (!ok || id <= 0) {
            io.err << "qvr cddb files: '" << text << "' is no file id\n";
            return 2;
        }
        ids << id;
    }
    if (!libraryExists(options.library.db)) return noLibrary(options.library.db, io);
    MediaLibrary library;
    if (!openLibrary(library, options.library.db, io)) return 1;
    for (qint64 id : ids)
        if (!library.GetFileField(static_cast<qint32>(id), FileField::FullPath).isValid()) {
            io.err << "qvr cddb files: no file with id " << id << " in the library\n";
            return 1;
        }
    const QString query = DiscTags::QueryForFiles(library, ids);
    if (query.isEmpty()) {
        io.err << "qvr cddb files: none of the files has a playing time\n";
        return 1;
    }
    io.out << "query\t" << query << '\n';
    io.out.flush();
    CdInfo disc;
    if (const int status = lookUp(query, options.pick, "files", disc, io)) return status;
    printDisc(disc, io);
    if (!options.apply) return 0;
    const BatchTags::Outcome outcome = DiscTags::Apply(*library.Tags(), ids, disc);
    for (const auto& failure : outcome.failures)
        io.err << "qvr cddb files: file " << failure.id << ": " << failure.reason << '\n';
    io.out << "written\t" << outcome.written << '\n';
    return outcome.failures.isEmpty() ? 0 : 1;
}

void addCodec(CLI::App& qvr, Command& command, const char* name, const char* description,
              Result<QString> (*convert)(const clsWEncode&, const QString&)) {
    auto text = std::make_shared<QString>();
    CLI::App* c = qvr.add_subcommand(name, description);
    cli::addText(c, "TEXT", *text, "The text (UTF-8; Windows-1252 codes inside)")->required();
    c->callback([&command, text, name, convert] {
        const clsWEncode encoder;
        const Result<QString> out = convert(encoder, *text);
        if (!out) {
            command.io.err << "qvr " << name << ": " << out.error() << '\n';
            command.status = 1;
            return;
        }
        command.io.out << *out << '\n';
    });
}

} // namespace

void addCddbCommands(CLI::App& qvr, Command& command) {
    auto options = std::make_shared<CddbOptions>();
    CLI::App* group = qvr.add_subcommand(
        "cddb", "Album data from the CDDB server of the settings (CDDB\\Server, CDDB\\Port, "
                "CDDB\\HelloUser, CDDB\\HelloHost, CDDB\\Timeout)");
    group->require_subcommand(1);

    CLI::App* query =
        group->add_subcommand("query", std::string("Look up an audio CD. ") + kLayout);
    query->add_option("N", options->number, "The CD's number from 'qvr cd list'")->required();
    query->add_option("--pick", options->pick, "Take match K (from 1) of several")
        ->check(CLI::PositiveNumber);
    query->callback([&command, options] { command.status = queryCd(*options, command.io); });

    CLI::App* files = group->add_subcommand(
        "files", std::string("Look up library files as the tracks of one CD, in the order "
                             "given; prints query<TAB>COMMAND first. ") +
                     kLayout);
    cli::addTexts(files, "FILEID", options->files, "Library file ids, track 1 first")->required();
    files->add_option("--pick", options->pick, "Take match K (from 1) of several")
        ->check(CLI::PositiveNumber);
    files->add_flag("--apply", options->apply,
                    "Write track, title, artist, album, year and genre to the files "
                    "(up to the disc's track count); prints written<TAB>COUNT");
    addLibraryOptions(files, options->library, command.line, false);
    files->callback([&command, options] { command.status = queryFiles(*options, command.io); });

    addCodec(
        qvr, command, "urlencode", "Escape every character but letters and digits as %XX",
        [](const clsWEncode& e, const QString& t) { return Result<QString>(e.ksEncodeURL(t)); });
    addCodec(qvr, command, "urldecode", "Turn + into a space and %XX into its character",
             [](const clsWEncode& e, const QString& t) { return e.ksDecodeURL(t); });
    addCodec(
        qvr, command, "htmlencode", "Write characters as HTML entities where they have one",
        [](const clsWEncode& e, const QString& t) { return Result<QString>(e.ksText2HTML(t)); });
    addCodec(
        qvr, command, "htmldecode", "Turn the named HTML entities into their characters",
        [](const clsWEncode& e, const QString& t) { return Result<QString>(e.ksHTML2Text(t)); });
}

} // namespace qvr
