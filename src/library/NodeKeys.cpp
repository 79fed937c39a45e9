#include "library/NodeKeys.h"

namespace NodeKeys {

QString prefixOf(const QString& key) {
    return key.left(4);
}

QString idOf(const QString& key) {
    return key.mid(4);
}

QString artistKey(const QString& artistText) {
    return ArtistPrefix + artistText;
}

QString albumKey(const QString& artistText, const QString& albumText) {
    return AlbumPrefix + artistText + AlbumSeparator + albumText;
}

void splitAlbumKey(const QString& key, QString& artistText, QString& albumText) {
    const QString id = idOf(key);
    const qsizetype nul = id.indexOf(AlbumSeparator);
    artistText = nul < 0 ? id : id.left(nul);
    albumText = nul < 0 ? QString() : id.mid(nul + 1);
}

QString ratingKey(int rating) {
    return RatingPrefix + QString::number(rating);
}

QString filterKey(qint64 id) {
    return FilterPrefix + QString::number(id);
}

QString virtualFolderKey(qint64 id) {
    return VirtualFolderPrefix + QString::number(id);
}

QString audioCdKey(int number) {
    return AudioCdPrefix + QString::number(number);
}

QString printable(const QString& key) {
    QString out = key;
    out.replace(AlbumSeparator, QLatin1String("\\0"));
    return out;
}

} // namespace NodeKeys
