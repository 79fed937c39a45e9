#include "editing/PropsView.h"

#include "components/MediaLibrary.h"
#include "components/TagService.h"
#include "core/FileNameCodec.h"
#include "core/Formatting.h"
#include "lang/AppLang.h"
#include "lang/LocaleIds.h"
#include "lang/Mui.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace props {

namespace {

QDateTime fromStatx(const struct statx_timestamp& t) {
    return QDateTime::fromMSecsSinceEpoch(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

} // namespace

DiskFacts ReadDiskFacts(const QString& fullPath) {
    DiskFacts facts;
    const QByteArray raw = FileNameCodec::encode(fullPath);
    struct statx st {};
    if (raw.isEmpty() ||
        statx(AT_FDCWD, raw.constData(), 0, STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
        return facts;
    facts.exists = true;
    facts.size = static_cast<qint64>(st.stx_size);
    facts.created = fromStatx((st.stx_mask & STATX_BTIME) ? st.stx_btime : st.stx_ctime);
    facts.modified = fromStatx(st.stx_mtime);
    facts.accessed = fromStatx(st.stx_atime);
    return facts;
}

QString SizeText(qint64 bytes) {
    QString text = mainMod::FormatSize(static_cast<double>(bytes));
    if (bytes >= 1024) text += QStringLiteral(" (%1 bytes)").arg(bytes);
    return text;
}

QString GroupedSizeText(double bytes, const QLocale& locale) {
    QString text = mainMod::FormatSize(bytes);
    if (bytes >= 1024)
        text += QStringLiteral(" (") + locale.toString(bytes, 'f', 0) + QStringLiteral(" bytes)");
    return text;
}

QString LongDate(const QDateTime& when, const QLocale& locale) {
    return when.isValid() ? locale.toString(when.toLocalTime().date(), QLocale::LongFormat)
                          : QString();
}

QLocale CurrentLocale() {
    const clsMUI* lang = mainMod::Lang();
    if (!lang || lang->LCID() <= 0) return QLocale();
    return LocaleIds::LocaleFromLCID(lang->LCID());
}

QString FolderOf(const QString& fullPath) {
    const int cut = fullPath.lastIndexOf(QLatin1Char('/'));
    if (cut < 0) return QString();
    return cut == 0 ? QStringLiteral("/") : fullPath.left(cut);
}

QStringList RatingNames() {
    QStringList names;
    for (int rating = 0; rating <= 5; ++rating) {
        const QString text = mainMod::LangText(14 - rating);
        names << (text.isEmpty() ? QString::number(rating) : text);
    }
    return names;
}

PropsView Describe(MediaLibrary& library, const FileRecord& record, const QLocale& locale) {
    PropsView v;
    v.file = record;
    v.libraryTab = record.id >= 1;
    v.tagTab = record.type == QLatin1String("WMA") || record.type == QLatin1String("MP3");
    v.iconKey = record.type.toLower();
    v.fileName = record.fileName;
    v.location = FolderOf(record.fullPath);
    v.type = record.type;
    if (record.id >= 1) v.coverPath = library.CoverArtPath(record.id);

    const DiskFacts disk = ReadDiskFacts(record.fullPath);
    if (disk.exists) {
        v.size = SizeText(disk.size);
        v.created = LongDate(disk.created, locale);
        v.modified = LongDate(disk.modified, locale);
        v.accessed = LongDate(disk.accessed, locale);
    }

    v.album = record.album;
    v.artist = record.artist;
    v.genre = record.genreText;
    v.title = record.title;
    v.track = record.track;
    v.year = record.year;

    if (record.bitrate >= 1) v.bitrate = record.bitrateText;
    if (record.frequency >= 1) v.frequency = record.frequencyText;
    if (record.duration > 0) v.duration = record.durationText;

    // The first entry with the genre's number; the "none" entry otherwise.
    if (record.genreNumber <= 147) {
        const QList<QPair<QString, int>> genres = TagService::GenreList(true);
        for (int i = 0; i < genres.size(); ++i) {
            if (genres[i].second == record.genreNumber) {
                v.genreIndex = i;
                break;
            }
        }
    }

    if (record.id >= 1) {
        v.rating = record.rating >= 0 && record.rating <= 5 ? record.rating : 0;
        v.added = LongDate(record.added, locale);
        v.updated = LongDate(record.updated, locale);
        v.playCount = QString::number(record.playCount);
    }
    return v;
}

} // namespace props
