#pragma once
// One row of table FILES as the media library hands it out, and the field codes
// of GetFileField / SetFileField.
#include <QDateTime>
#include <QString>

struct FileRecord {
    QString fullPath;
    QString fileName;
    QString type; // "MP3", "WMA", "WAV"
    QString album, artist, year, track;
    quint8 genreNumber = 255; // ID3 genre index; above 147 means none
    QString genreText;
    QString title;
    qint32 bitrate = 0; // bits per second; below 1: absent
    QString bitrateText;
    double duration = 0; // seconds, four decimals; 0 or less: absent
    QString durationText;
    qint32 frequency = 0; // Hz; below 1: absent
    QString frequencyText;
    QDateTime added, updated;
    qint32 id = 0; // below 1: not in the library
    qint32 rating = 0;
    qint32 playCount = 0;
    // Beyond the record's classic fields:
    QString fileTitle; // file name without its extension
    qint64 size = 0;
    QDateTime fileDate;
    QDateTime lastPlayed;
    QString comment;
    qint32 channels = 0;
};

// Field codes (GetFileField / SetFileField). Dates read as QDateTime (invalid
// for "never") and are written from a QDateTime or an OLE day number.
namespace FileField {
enum Code : int {
    Id = 0, // read only
    FileName = 1,
    FileTitle = 2,
    FullPath = 3,
    Size = 4,
    FileDate = 5, // modification time of the file
    Type = 6,
    Bitrate = 7,
    Frequency = 8,
    Duration = 9,
    Album = 10,
    Artist = 11,
    Track = 12,
    GenreText = 13,
    Title = 14,
    Year = 15,
    GenreNumber = 16,
    Rating = 17,
    DateAdded = 18,
    DateUpdated = 19,
    PlayCount = 20,
    LastPlayed = 21,
    Channels = 22,
    Comment = 23,
};
} // namespace FileField
