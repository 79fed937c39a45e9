#include "cli/RecordCommand.h"

#include "cli/LibraryAccess.h"
#include "components/MediaLibrary.h"

namespace qvr {

namespace {

QString dateText(const QDateTime& d) {
    return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

struct Field {
    const char* name;
    QString text;
    bool number = false; // a number in JSON
};

QList<Field> fieldsOf(const FileRecord& r) {
    return {
        {"id", QString::number(r.id), true},
        {"fullpath", r.fullPath},
        {"filename", r.fileName},
        {"filetitle", r.fileTitle},
        {"type", r.type},
        {"size", QString::number(r.size), true},
        {"artist", r.artist},
        {"album", r.album},
        {"title", r.title},
        {"track", r.track},
        {"year", r.year},
        {"genre", QString::number(r.genreNumber), true},
        {"genretext", r.genreText},
        {"comment", r.comment},
        {"bitrate", QString::number(r.bitrate), true},
        {"bitratetext", r.bitrateText},
        {"duration", QString::number(r.duration, 'f', 4), true},
        {"durationtext", r.durationText},
        {"frequency", QString::number(r.frequency), true},
        {"frequencytext", r.frequencyText},
        {"channels", QString::number(r.channels), true},
        {"rating", QString::number(r.rating), true},
        {"playcount", QString::number(r.playCount), true},
        {"lastplayed", dateText(r.lastPlayed)},
        {"filedate", dateText(r.fileDate)},
        {"added", dateText(r.added)},
        {"updated", dateText(r.updated)},
    };
}

} // namespace

void addRecordCommand(CLI::App& qvr, Command& command) {
    struct Options {
        QString file;
        LibraryOptions library;
    };
    auto options = std::make_shared<Options>();
    CLI::App* record = qvr.add_subcommand("record", "The file's record, one field a line");
    addFileArgument(record, options->file, command.line);
    addLibraryOptions(record, options->library, command.line, true);
    record->callback([&command, options] {
        command.status = runRecordCommand(options->file, options->library, command.io);
    });
}

int runRecordCommand(const QString& file, const LibraryOptions& options, Io io) {
    if (!libraryExists(options.db)) return noLibrary(options.db, io);
    MediaLibrary library;
    if (!openLibrary(library, options.db, io)) return 1;
    FileRecord r;
    if (!library.GetFileRecord(file, r)) {
        io.err << "qvr record: no such file: " << file << '\n';
        return 1;
    }
    if (options.json) {
        QJsonObject row;
        for (const Field& f : fieldsOf(r))
            row.insert(QLatin1String(f.name),
                       f.number ? QJsonValue(f.text.toDouble()) : QJsonValue(f.text));
        printJson(row, io);
        return 0;
    }
    for (const Field& f : fieldsOf(r))
        io.out << f.name << '\t' << f.text << '\n';
    return 0;
}

} // namespace qvr
