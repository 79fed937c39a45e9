#pragma once
// Renaming library files from their tags: the new names are worked out for
// every file first (old path -> new path, no disk access), then the plan is
// carried out file by file. A file that cannot be renamed keeps its name and
// its row; the others go on.
#include "components/FileRecord.h"

#include <QList>
#include <QString>
#include <functional>

class MediaLibrary;

namespace RenamePlan {

// The pattern's tags: %N track, %T title, %A artist, %B album, %Y year
// (letter case counts).
bool HasTag(const QString& pattern);
// The track as %N shows it: a number with at least two digits ("7" -> "07"),
// any other text as it stands ("3/12").
QString TrackText(const QString& track);
// The new file name: the tags replaced one after another in the order
// %N, %T, %A, %B, %Y, then the file's extension added unless the name already
// ends with it (letter case ignored).
QString BuildName(const QString& pattern, const FileRecord& record);
// Why a name cannot be used ("" when it can): a "/" would reach into another
// folder, and the characters file names may not hold (mainMod::IsValidFileName)
// keep names usable on every file system.
QString NameProblem(const QString& name);

struct Step {
    qint64 id = 0;
    QString oldPath;
    QString newPath;   // empty when no name could be made
    QString problem;   // why the file is not (or was not) renamed; "" = fine
    bool done = false; // the file has its new name and the row follows
};

// One step per record, in the order given. A record without a path (an id
// that is not in the library) gets a step with a problem.
QList<Step> Plan(const QString& pattern, const QList<FileRecord>& records);
// The records of the ids in the order given; an unknown id gives a record
// with that id and no path.
QList<FileRecord> Records(MediaLibrary& library, const QList<qint64>& ids);

// What executing the plan would do, without doing it: marks the steps whose new
// name will be taken when their turn comes (by a file that exists, given by
// exists(), or by an earlier step of the plan).
void Preview(QList<Step>& steps, const std::function<bool(const QString&)>& exists);
// Whether a path exists on disk (for Preview).
bool PathExists(const QString& path);

// Carries out the plan in order: each file is renamed without replacing any
// other, then its row gets, in this order, full path, file date, size, file
// name and file title in one transaction. When the row cannot follow, the file
// gets its old name back. Rating, play count and everything else stay.
void Execute(MediaLibrary& library, QList<Step>& steps);

} // namespace RenamePlan
