#pragma once
// Keys of the library tree's nodes: a four-character prefix naming the node's
// kind, followed by an identifier.
#include <QString>

namespace NodeKeys {

inline const QString Library = QStringLiteral("_lib");
inline const QString ArtistPrefix = QStringLiteral("_art");
inline const QString AlbumPrefix = QStringLiteral("_alb");
inline const QString Filters = QStringLiteral("_fil");
inline const QString FilterPrefix = QStringLiteral("_flt");
inline const QString MostPlayed = QStringLiteral("_flt0");
inline const QString Ratings = QStringLiteral("_rat");
inline const QString RatingPrefix = QStringLiteral("_rte");
inline const QString VirtualFolders = QStringLiteral("_mfr");
inline const QString VirtualFolderPrefix = QStringLiteral("_mvf");
inline const QString AudioCds = QStringLiteral("_cdl");
inline const QString AudioCdPrefix = QStringLiteral("_cdi");

// The separator of an album key's artist and album texts.
inline constexpr QChar AlbumSeparator = QChar(0);

QString prefixOf(const QString& key);
// The key after its prefix.
QString idOf(const QString& key);

QString artistKey(const QString& artistText);
QString albumKey(const QString& artistText, const QString& albumText);
// Splits an album key's identifier into artist and album texts.
void splitAlbumKey(const QString& key, QString& artistText, QString& albumText);
QString ratingKey(int rating);
QString filterKey(qint64 id);
QString virtualFolderKey(qint64 id);
QString audioCdKey(int number);

// A key as text for people: NUL shown as "\0".
QString printable(const QString& key);

} // namespace NodeKeys
