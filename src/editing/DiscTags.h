#pragma once
// Library files taken as the tracks of one CD: the CDDB query of their playing
// times, and the disc's data written to them. Used by the list's look-up entry
// and by "qvr cddb files".
#include "cddb/CdInfo.h"
#include "editing/BatchTags.h"

#include <QList>
#include <QString>

class MediaLibrary;
class TagService;

namespace DiscTags {

// The query command for the files in the order given (durations from the
// library); "" when none has a usable duration.
QString QueryForFiles(MediaLibrary& library, const QList<qint64>& ids);

// Writes track n, its title, artist, album, year, genre number and genre text
// to the n-th file, for the files up to the disc's track count; the others stay
// as they are. A refused write is recorded and the next one goes on.
BatchTags::Outcome Apply(TagService& tags, const QList<qint64>& ids, const CdInfo& disc);

} // namespace DiscTags
