#include "library/ListColumns.h"

#include "core/Formatting.h"

namespace ListColumns {

int HeaderTextNumber(int column) {
    return 56 + column;
}

const char* SourceField(int column) {
    static const char* fields[Count] = {"filename",  "md_track", "md_title",  "duration",
                                        "md_artist", "md_album", "md_year",   "md_genredesc",
                                        "size",      "bitrate",  "frequency", "fullpath"};
    return column >= 0 && column < Count ? fields[column] : "";
}

bool IsRightAligned(int column) {
    return column == Track || column == Duration || column == Size || column == Bitrate ||
           column == Frequency;
}

QString FormatTrack(const QString& track) {
    return track.trimmed().rightJustified(3, QLatin1Char(' '));
}

QString FolderOf(const QString& fullpath) {
    return fullpath.left(fullpath.lastIndexOf(QLatin1Char('/')) + 1);
}

QString Text(int column, const RowValues& row) {
    switch (column) {
    case FileName:
        return row.filename;
    case Track:
        return FormatTrack(row.track);
    case Title:
        return row.title.trimmed();
    case Duration:
        return mainMod::FormatDuration(row.duration);
    case Artist:
        return row.artist.trimmed();
    case Album:
        return row.album.trimmed();
    case Year:
        return row.year.trimmed();
    case Genre:
        return row.genre.trimmed();
    case Size:
        return mainMod::FormatSize(row.size);
    case Bitrate:
        return mainMod::FormatBitrate(row.bitrate);
    case Frequency:
        return mainMod::FormatFrequency(row.frequency);
    case Folder:
        return FolderOf(row.fullpath);
    default:
        return QString();
    }
}

} // namespace ListColumns
