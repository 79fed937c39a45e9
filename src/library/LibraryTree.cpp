#include "library/LibraryTree.h"

#include "components/VirtualFolderStore.h"
#include "core/Database.h"
#include "core/JetText.h"
#include "lang/Mui.h"
#include "library/NodeKeys.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace LibraryTree {

// Only the two columns the tree shows: the same rows in the same order as
// "select * from files order by MD_ARTIST,MD_ALBUM", read from the index alone.
const char* const LibraryQuery = "select MD_ARTIST,MD_ALBUM from files order by MD_ARTIST,MD_ALBUM";
const char* const MostPlayedQuery = "select * from (select top 20 * from files where playcount>0 "
                                    "order by lastplay desc) order by playcount desc";
const char* const FiltersQuery = "select * from MFILTERS order by DESCRIPT";

namespace {

TreeNode node(const QString& key, const QString& parent, const QString& text, const QString& image,
              const QString& selectedImage = QString()) {
    return TreeNode{key,       parent, text, image, selectedImage.isEmpty() ? image : selectedImage,
                    QString(), false};
}

// The text a tag shows: trimmed, or the stand-in for an empty one.
QString tagText(QByteArrayView utf8, const QString& standIn, bool& replaced) {
    const QString text = QString::fromUtf8(utf8).trimmed();
    replaced = text.isEmpty();
    return replaced ? standIn : text;
}

} // namespace

TreeTexts TextsFrom(const clsMUI& lang) {
    TreeTexts t;
    auto caption = [&lang](const char* entry, const QString& fallback) {
        const QString key = QStringLiteral("mainForm.%1.Caption").arg(QLatin1String(entry));
        return lang.HasText(key) ? lang.TextObj(key) : fallback;
    };
    t.library = caption("mnuViewLibrary", t.library);
    t.filters = caption("mnuViewFilters", t.filters);
    t.ratings = caption("mnuViewRating", t.ratings);
    t.virtualFolders = caption("mnuViewVFolders", t.virtualFolders);
    if (!lang.IsLoaded()) return t;
    t.mostPlayed = lang.Text(8);
    for (int rating = 5; rating >= 0; --rating)
        t.ratingNames << lang.Text(14 - rating);
    t.audioCds = lang.Text(15);
    t.empty = {lang.Text(141), lang.Text(141)};
    return t;
}

QList<TreeNode> LibraryBranch(db::Database& db, const TreeTexts& texts) {
    struct Artist {
        TreeNode node;
        QList<TreeNode> albums;
        QByteArray sortKey;
    };
    QList<Artist> artists;
    QHash<QString, qsizetype> artistIndex;
    QSet<QString> albumKeys;

    Result<db::Recordset> rows = db.query(QString::fromLatin1(LibraryQuery));
    if (rows.ok()) {
        db::Recordset& rs = rows.value();
        const int artistField = rs.fieldIndex("MD_ARTIST");
        const int albumField = rs.fieldIndex("MD_ALBUM");
        QByteArray lastArtist, lastAlbum;
        bool first = true;
        while (rs.next()) {
            const QByteArrayView artistBytes = rs.utf8(artistField);
            const QByteArrayView albumBytes = rs.utf8(albumField);
            // Rows of one album follow each other: nothing new to add.
            if (!first && artistBytes == lastArtist && albumBytes == lastAlbum) continue;
            first = false;
            lastArtist = artistBytes.toByteArray();
            lastAlbum = albumBytes.toByteArray();

            bool blankArtist = false, blankAlbum = false;
            const QString artist = tagText(artistBytes, texts.empty.artist, blankArtist);
            const QString album = tagText(albumBytes, texts.empty.album, blankAlbum);
            const QString artistKey = NodeKeys::artistKey(artist);
            auto found = artistIndex.constFind(artistKey);
            qsizetype index;
            if (found == artistIndex.cend()) {
                TreeNode a = node(artistKey, NodeKeys::Library, artist, QStringLiteral("f_close"));
                a.replacementText = blankArtist;
                index = artists.size();
                artists.append({a, {}, {}});
                artistIndex.insert(artistKey, index);
            } else {
                index = found.value();
            }
            const QString albumKey = NodeKeys::albumKey(artist, album);
            if (albumKeys.contains(albumKey)) continue;
            albumKeys.insert(albumKey);
            TreeNode b = node(albumKey, artistKey, album, QStringLiteral("f_close"));
            b.replacementText = blankAlbum;
            artists[index].albums.append(b);
        }
    }
    // The tree sorts artists by their text with the database's own text order, so
    // that artists and the albums the statement sorted agree ("Édith" beside "Edith").
    for (Artist& a : artists)
        a.sortKey = a.node.text.toUtf8();
    std::stable_sort(artists.begin(), artists.end(), [](const Artist& a, const Artist& b) {
        return JetText::compare(a.sortKey, b.sortKey) < 0;
    });
    QList<TreeNode> nodes;
    nodes.reserve(1 + artists.size() + albumKeys.size());
    nodes.append(node(NodeKeys::Library, QString(), texts.library, QStringLiteral("lib")));
    for (const Artist& a : std::as_const(artists)) {
        nodes.append(a.node);
        nodes.append(a.albums);
    }
    return nodes;
}

QList<TreeNode> FiltersBranch(db::Database& db, const TreeTexts& texts) {
    QList<TreeNode> nodes;
    nodes.append(node(NodeKeys::Filters, QString(), texts.filters, QStringLiteral("f_filter")));
    TreeNode mostPlayed =
        node(NodeKeys::MostPlayed, NodeKeys::Filters, texts.mostPlayed, QStringLiteral("filter"));
    mostPlayed.tag = QString::fromLatin1(MostPlayedQuery);
    nodes.append(mostPlayed);
    Result<db::Recordset> rows = db.query(QString::fromLatin1(FiltersQuery));
    if (!rows.ok()) return nodes;
    db::Recordset& rs = rows.value();
    const int id = rs.fieldIndex("id");
    const int name = rs.fieldIndex("DESCRIPT");
    const int sql = rs.fieldIndex("QSQL");
    QSet<QString> seen;
    while (rs.next()) {
        const QString key = NodeKeys::filterKey(rs.integer(id));
        if (seen.contains(key) || key == NodeKeys::MostPlayed) continue;
        seen.insert(key);
        TreeNode f = node(key, NodeKeys::Filters, rs.text(name), QStringLiteral("filter"));
        f.tag = rs.text(sql);
        nodes.append(f);
    }
    return nodes;
}

QList<TreeNode> RatingsBranch(const TreeTexts& texts) {
    QList<TreeNode> nodes;
    nodes.append(node(NodeKeys::Ratings, QString(), texts.ratings, QStringLiteral("f_rating")));
    for (int rating = 5; rating >= 0; --rating) {
        const QString text = texts.ratingNames.size() == 6 ? texts.ratingNames.at(5 - rating)
                                                           : QString::number(rating);
        const QString image = QStringLiteral("rate_") + QString::number(rating);
        nodes.append(node(NodeKeys::ratingKey(rating), NodeKeys::Ratings, text, image));
    }
    return nodes;
}

QList<TreeNode> VirtualFoldersBranch(const VirtualFolderStore& folders, const TreeTexts& texts) {
    QList<TreeNode> nodes;
    nodes.append(node(NodeKeys::VirtualFolders, QString(), texts.virtualFolders,
                      QStringLiteral("myf_close")));
    const qint32 count = folders.FolderCount();
    for (qint32 i = 1; i <= count; ++i)
        nodes.append(node(NodeKeys::virtualFolderKey(folders.FolderIdAt(i)),
                          NodeKeys::VirtualFolders, folders.FolderNameAt(i),
                          QStringLiteral("myf_close"), QStringLiteral("myf_open")));
    return nodes;
}

QList<TreeNode> AudioCdBranch(const QStringList& driveNames, const TreeTexts& texts) {
    QList<TreeNode> nodes;
    if (driveNames.isEmpty()) return nodes;
    nodes.append(node(NodeKeys::AudioCds, QString(), texts.audioCds, QStringLiteral("f_close")));
    for (int i = 0; i < driveNames.size(); ++i)
        nodes.append(node(NodeKeys::audioCdKey(i + 1), NodeKeys::AudioCds, driveNames.at(i),
                          QStringLiteral("cd")));
    return nodes;
}

QString Description(const QString& key, const QString& text, const QString& parentText,
                    const std::function<QString(int, const QStringList&)>& langText) {
    const QString prefix = NodeKeys::prefixOf(key);
    if (prefix == NodeKeys::Library) return langText(45, {});
    if (prefix == NodeKeys::ArtistPrefix) return langText(46, {text});
    if (prefix == NodeKeys::AlbumPrefix) return langText(47, {parentText, text});
    if (prefix == NodeKeys::FilterPrefix) return langText(48, {text});
    if (prefix == NodeKeys::RatingPrefix) return langText(49, {text});
    if (prefix == NodeKeys::VirtualFolderPrefix) return langText(50, {text});
    if (prefix == NodeKeys::AudioCdPrefix) return langText(51, {text});
    return langText(52, {text});
}

} // namespace LibraryTree
