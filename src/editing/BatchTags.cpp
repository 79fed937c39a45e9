#include "editing/BatchTags.h"

#include "components/MediaLibrary.h"
#include "components/TagService.h"

#include <QSet>

namespace BatchTags {

namespace {

void write(TagService& tags, qint64 id, int code, const QString& text, Outcome& outcome) {
    if (Status s = tags.WriteTag(QString::number(id), code, text))
        ++outcome.written;
    else
        outcome.failures.append({id, s.error()});
}

} // namespace

QStringList DistinctValues(const QStringList& values) {
    QStringList offered;
    QSet<QString> seen;
    for (const QString& value : values) {
        const QString text = value.trimmed();
        if (text.isEmpty() || seen.contains(text)) continue;
        seen.insert(text);
        offered << text;
    }
    return offered;
}

QStringList OfferedValues(MediaLibrary& library, const QList<qint64>& ids, int fieldCode) {
    QStringList values;
    values.reserve(ids.size());
    for (qint64 id : ids)
        values << library.GetFileField(static_cast<qint32>(id), fieldCode).toString();
    return DistinctValues(values);
}

Outcome SetTag(TagService& tags, const QList<qint64>& ids, int tagCode, const QString& value) {
    Outcome outcome;
    const QString text = value.trimmed();
    for (qint64 id : ids)
        write(tags, id, tagCode, text, outcome);
    return outcome;
}

Outcome SetGenre(TagService& tags, const QList<qint64>& ids, int genreNumber) {
    Outcome outcome;
    for (qint64 id : ids)
        write(tags, id, TagService::GenreNumber_, QString::number(genreNumber), outcome);
    return outcome;
}

Outcome EnumTracks(TagService& tags, const QList<qint64>& ids) {
    Outcome outcome;
    int track = 1;
    for (qint64 id : ids)
        write(tags, id, TagService::Track, QString::number(track++), outcome);
    return outcome;
}

} // namespace BatchTags
