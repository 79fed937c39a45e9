#include "library/NodeQuery.h"

#include "core/Formatting.h"
#include "library/NodeKeys.h"

using mainMod::SqlQuote;

QString ArtistCondition(const QString& artistText, const EmptyTagTexts& empty) {
    if (artistText == empty.artist) return QStringLiteral("trim(MD_ARTIST)='' ");
    return QStringLiteral("strcomp(MD_ARTIST,'") + SqlQuote(artistText) + QStringLiteral("',0)=0 ");
}

QString AlbumCondition(const QString& albumText, const EmptyTagTexts& empty) {
    if (albumText == empty.album) return QStringLiteral("trim(MD_ALBUM)='' ");
    return QStringLiteral("strcomp(MD_ALBUM,'") + SqlQuote(albumText) + QStringLiteral("',0)=0 ");
}

NodeQuery BuildNodeQuery(const QString& key, const QString& tag, const EmptyTagTexts& empty) {
    NodeQuery q;
    const QString prefix = NodeKeys::prefixOf(key);
    if (prefix == NodeKeys::ArtistPrefix) {
        q.sql = QStringLiteral("select * from files where ") +
                ArtistCondition(NodeKeys::idOf(key), empty) + QStringLiteral("order by filename");
    } else if (prefix == NodeKeys::AlbumPrefix) {
        QString artist, album;
        NodeKeys::splitAlbumKey(key, artist, album);
        q.sql = QStringLiteral("select * from files where ") + ArtistCondition(artist, empty) +
                QStringLiteral("AND ") + AlbumCondition(album, empty) +
                QStringLiteral(" order by filename");
    } else if (prefix == NodeKeys::RatingPrefix) {
        q.mode = ListMode::Rating;
        q.sql = QStringLiteral("select * from files where rating=") + key.right(1);
    } else if (prefix == NodeKeys::VirtualFolderPrefix) {
        q.mode = ListMode::VirtualFolder;
        q.virtualFolderEntries = true;
        q.sql = QStringLiteral("select * from VFFILES left join FILES on VFFILES.FL_ID=FILES.ID "
                               "where VF_ID=") +
                NodeKeys::idOf(key) + QStringLiteral(" order by FINDEX asc");
    } else if (prefix == NodeKeys::FilterPrefix) {
        q.mode = ListMode::Filter;
        q.sql = tag;
    } else if (prefix == NodeKeys::AudioCdPrefix) {
        q.audioCd = NodeKeys::idOf(key).toInt();
    }
    return q;
}
