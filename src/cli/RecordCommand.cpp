#include "cli/RecordCommand.h"

#include "cli/LibraryAccess.h"
#include "components/MediaLibrary.h"

namespace qvr {

namespace {
QString dateText(const QDateTime& d) {
    return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}
} // namespace

int runRecordCommand(const QStringList& argsIn, Io io) {
    QStringList args = argsIn;
    const QString dbPath = takeDatabaseOption(args);
    if (args.size() != 1) {
        io.err << "usage:\n" << RecordCommandUsage;
        return 2;
    }
    MediaLibrary library;
    if (!openLibrary(library, dbPath, io)) return 1;
    FileRecord r;
    if (!library.GetFileRecord(args.first(), r)) {
        io.err << "qvr record: no such file: " << args.first() << '\n';
        return 1;
    }
    const QList<QPair<const char*, QString>> rows = {
        {"id", QString::number(r.id)},
        {"fullpath", r.fullPath},
        {"filename", r.fileName},
        {"filetitle", r.fileTitle},
        {"type", r.type},
        {"size", QString::number(r.size)},
        {"artist", r.artist},
        {"album", r.album},
        {"title", r.title},
        {"track", r.track},
        {"year", r.year},
        {"genre", QString::number(r.genreNumber)},
        {"genretext", r.genreText},
        {"comment", r.comment},
        {"bitrate", QString::number(r.bitrate)},
        {"bitratetext", r.bitrateText},
        {"duration", QString::number(r.duration, 'f', 4)},
        {"durationtext", r.durationText},
        {"frequency", QString::number(r.frequency)},
        {"frequencytext", r.frequencyText},
        {"channels", QString::number(r.channels)},
        {"rating", QString::number(r.rating)},
        {"playcount", QString::number(r.playCount)},
        {"lastplayed", dateText(r.lastPlayed)},
        {"filedate", dateText(r.fileDate)},
        {"added", dateText(r.added)},
        {"updated", dateText(r.updated)},
    };
    for (const auto& row : rows)
        io.out << row.first << '\t' << row.second << '\n';
    return 0;
}

} // namespace qvr
