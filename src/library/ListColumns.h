#pragma once
// The file list's twelve columns and how each shows its value.
#include <QString>
#include <array>

namespace ListColumns {

constexpr int Count = 12;

enum Column {
    FileName,
    Track,
    Title,
    Duration,
    Artist,
    Album,
    Year,
    Genre,
    Size,
    Bitrate,
    Frequency,
    Folder
};

// Language text number of each column's header (56 .. 67).
int HeaderTextNumber(int column);
// The FILES column each list column shows.
const char* SourceField(int column);
// Right-aligned columns (numbers).
bool IsRightAligned(int column);

// A row's raw values, as read from the database.
struct RowValues {
    QString filename, track, title, artist, album, year, genre, fullpath;
    double duration = 0, size = 0, bitrate = 0, frequency = 0;
};

// The text a column shows for a row.
QString Text(int column, const RowValues& row);
// The track number right-aligned in three characters ("  7", "   " when empty).
QString FormatTrack(const QString& track);
// The folder of a full path, with its trailing separator.
QString FolderOf(const QString& fullpath);

} // namespace ListColumns
