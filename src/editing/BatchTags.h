#pragma once
// One tag for many library files at once: the values offered for artist,
// album and year, and the writes of one value, a genre or track numbers to
// every file of a selection. Every write goes through TagService::WriteTag;
// a refused write leaves that file as it was and the others go on.
#include "core/Result.h"

#include <QList>
#include <QString>
#include <QStringList>

class MediaLibrary;
class TagService;

namespace BatchTags {

// The distinct values in the order first met, each without leading and
// trailing blanks; blank values are left out and letter case counts.
QStringList DistinctValues(const QStringList& values);
// DistinctValues of one field (FileField code: artist, album or year) of the
// files, in the order given (the whole list, selected or not).
QStringList OfferedValues(MediaLibrary& library, const QList<qint64>& ids, int fieldCode);

// What a batch did; one entry per file that could not be written.
struct Outcome {
    int written = 0;
    struct Failure {
        qint64 id = 0;
        QString reason;
    };
    QList<Failure> failures;
};

// Writes the value, without leading and trailing blanks, as the tag (TagService
// code: artist, album or year) of every file.
Outcome SetTag(TagService& tags, const QList<qint64>& ids, int tagCode, const QString& value);
// Writes the genre number (0..255; above 147 means none) to every file.
Outcome SetGenre(TagService& tags, const QList<qint64>& ids, int genreNumber);
// Numbers the files 1, 2, 3 ... in the order given.
Outcome EnumTracks(TagService& tags, const QList<qint64>& ids);

} // namespace BatchTags
