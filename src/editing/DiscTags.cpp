#include "editing/DiscTags.h"

#include "cddb/cddbQFromFiles.h"
#include "components/FileRecord.h"
#include "components/MediaLibrary.h"
#include "components/TagService.h"

namespace DiscTags {

QString QueryForFiles(MediaLibrary& library, const QList<qint64>& ids) {
    cddbQFromFiles disc;
    for (qint64 id : ids)
        disc.AddTrack(library.GetFileField(static_cast<qint32>(id), FileField::Duration));
    return disc.QueryCommand();
}

BatchTags::Outcome Apply(TagService& tags, const QList<qint64>& ids, const CdInfo& disc) {
    BatchTags::Outcome outcome;
    const int genre = TagService::GenreNumber(disc.genre);
    const QString values[] = {QString(),
                              QString(),
                              disc.artist,
                              disc.album,
                              disc.year,
                              QString::number(genre),
                              TagService::GenreName(genre)};
    const int codes[] = {TagService::Track,    TagService::Title, TagService::Artist,
                         TagService::Album,    TagService::Year,  TagService::GenreNumber_,
                         TagService::GenreText};
    for (int n = 1; n <= disc.trackCount && n <= ids.size(); ++n) {
        const qint64 id = ids.at(n - 1);
        bool all = true;
        for (int i = 0; i < 7; ++i) {
            QString text = values[i];
            if (codes[i] == TagService::Track) text = QString::number(n);
            if (codes[i] == TagService::Title) text = disc.tracks[n - 1].title;
            if (Status s = tags.WriteTag(QString::number(id), codes[i], text); !s) {
                outcome.failures.append({id, s.error()});
                all = false;
            }
        }
        if (all) ++outcome.written;
    }
    return outcome;
}

} // namespace DiscTags
