#pragma once
// Writing tags of library files with TagLib, and the ID3 genre list.
//
// WriteTag writes the file first and then its row; a write that is refused
// (unknown code, bad value, WAV or unknown type, read-only or unparsable file,
// not enough room on the disk) leaves both unchanged, and a write that fails
// half-way leaves the old file (see TagWriters.h). MP3: the ID3v2 tag keeps its
// version (2.3 or 2.4; a new tag is 2.3), an ID3v1 tag is written only where the
// file has one, and only the frame asked for changes. WMA: only the attributes
// of the field change (author, title, WM/AlbumTitle, WM/Year, WM/TrackNumber and
// WM/Track, WM/Genre). Library paths are turned into file names with
// FileNameCodec.
#include "core/Result.h"

#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace db {
class Database;
}

class TagService {
public:
    enum Code : int {
        Artist = 0,
        Album = 1,
        Year = 2,
        Track = 3,
        Title = 4,
        GenreNumber_ = 5,
        GenreText = 6
    };

    // The connection is the media library's; it may be closed (then files only).
    explicit TagService(db::Database* connection);

    // file: the row id in decimal, or a full path (a file outside the library
    // has only its tag written). Fails, with the reason, when the file was not
    // written, or when it was but its row could not follow (the row then keeps
    // the file's old size and time, so that the next rescan reads it again).
    Status WriteTag(const QString& file, int code, const QString& text);

    // Retags every file whose artist, trimmed, is exactly oldArtist ("" = blank
    // artist), as the tree groups them; only those of one album when album is
    // given. Returns how many files were changed, -1 when the library could not be
    // read; *failed (when given) counts the matching files that could not be
    // written (a WAV file, a read-only one). With writeFiles false only the rows change.
    int ChangeArtist(const QString& oldArtist, const QString& newArtist,
                     const std::optional<QString>& album = std::nullopt, bool writeFiles = true,
                     int* failed = nullptr);
    // Retags the album oldAlbum ("" = blank) of the artist ("" = blank artist).
    int ChangeAlbum(const QString& oldAlbum, const QString& newAlbum, const QString& artist,
                    bool writeFiles = true, int* failed = nullptr);

    // 255 for a name that is no standard genre; letter case is ignored.
    static int GenreNumber(const QString& name);
    // "" for a number that is no standard genre (above 147).
    static QString GenreName(int number);
    // What FillGenreList shows: genres by name, each with its number; with
    // includeNone first the entry ("", 255) for no genre.
    static QList<QPair<QString, int>> GenreList(bool includeNone = true);

    // Writes one tag field into the file only (no row); used by WriteTag.
    static Status WriteFileTag(const QString& path, int code, const QString& text);

private:
    Status updateRow(qint64 id, const QString& path, int code, const QString& text);
    // A tag column and the trimmed text it must hold ("" = blank).
    struct Match {
        const char* column;
        QString text;
    };
    int retag(const QList<Match>& match, int code, const QString& value, bool writeFiles,
              int* failed);
    db::Database* m_db;
};
