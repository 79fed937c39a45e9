#include "library/NodeQuery.h"
#include "library/ListColumns.h"
#include "library/NodeKeys.h"
#include "library/QuickSearch.h"

#include <gtest/gtest.h>

namespace {
const EmptyTagTexts kEmpty{"[unknown]", "[unknown]"};
}

TEST(NodeQuery, ArtistAndAlbumQueries) {
    EXPECT_EQ(
        BuildNodeQuery(NodeKeys::artistKey("Guns N' Roses"), {}, kEmpty).sql,
        "select * from files where strcomp(MD_ARTIST,'Guns N'' Roses',0)=0 order by filename");
    EXPECT_EQ(BuildNodeQuery(NodeKeys::artistKey("[unknown]"), {}, kEmpty).sql,
              "select * from files where trim(MD_ARTIST)='' order by filename");
    EXPECT_EQ(BuildNodeQuery(NodeKeys::albumKey("[unknown]", "Live"), {}, kEmpty).sql,
              "select * from files where trim(MD_ARTIST)='' AND strcomp(MD_ALBUM,'Live',0)=0  "
              "order by filename");
    const NodeQuery album = BuildNodeQuery(NodeKeys::albumKey("ABBA", "[unknown]"), {}, kEmpty);
    EXPECT_EQ(album.sql, "select * from files where strcomp(MD_ARTIST,'ABBA',0)=0 AND "
                         "trim(MD_ALBUM)=''  order by filename");
    EXPECT_EQ(album.mode, ListMode::Library);
}

TEST(NodeQuery, ModesByNodeKind) {
    const NodeQuery rating = BuildNodeQuery("_rte0", {}, kEmpty);
    EXPECT_EQ(rating.sql, "select * from files where rating=0");
    EXPECT_EQ(rating.mode, ListMode::Rating);

    const NodeQuery folder = BuildNodeQuery("_mvf12", {}, kEmpty);
    EXPECT_EQ(folder.sql, "select * from VFFILES left join FILES on VFFILES.FL_ID=FILES.ID "
                          "where VF_ID=12 order by FINDEX asc");
    EXPECT_EQ(folder.mode, ListMode::VirtualFolder);
    EXPECT_TRUE(folder.virtualFolderEntries);

    const NodeQuery filter = BuildNodeQuery("_flt3", "select * from files where rating>3", kEmpty);
    EXPECT_EQ(filter.sql, "select * from files where rating>3");
    EXPECT_EQ(filter.mode, ListMode::Filter);

    EXPECT_EQ(BuildNodeQuery("_cdi2", {}, kEmpty).audioCd, 2);
    for (const char* key : {"_lib", "_fil", "_rat", "_mfr", "_cdl", "_cdi1"})
        EXPECT_TRUE(BuildNodeQuery(key, "tag", kEmpty).sql.isEmpty()) << key;
}

TEST(NodeQuery, KeysRoundTrip) {
    const QString key = NodeKeys::albumKey("A", "B C");
    EXPECT_EQ(key.size(), 4 + 1 + 1 + 3);
    QString artist, album;
    NodeKeys::splitAlbumKey(key, artist, album);
    EXPECT_EQ(artist, "A");
    EXPECT_EQ(album, "B C");
    EXPECT_EQ(NodeKeys::printable(key), "_albA\\0B C");
}

TEST(QuickSearch, SqlAndRules) {
    EXPECT_FALSE(QuickSearch::IsLongEnough("  ab  "));
    EXPECT_TRUE(QuickSearch::IsLongEnough(" abc"));
    EXPECT_EQ(QuickSearch::ListQuery("  love me "), "?love me");
    EXPECT_EQ(QuickSearch::Sql("love me"),
              "select * from files where filename like '%love%me%' or md_artist like "
              "'%love%me%' or md_album like '%love%me%' or md_title like '%love%me%' or "
              "md_genredesc like '%love%me%'");
    EXPECT_TRUE(QuickSearch::Sql("1999").contains("md_year='1999' or "));
    EXPECT_FALSE(QuickSearch::Sql("1999 live").contains("md_year"));
    EXPECT_TRUE(QuickSearch::Sql("don't").contains("like '%don''t%'"));
}

TEST(ListColumns, Formats) {
    EXPECT_EQ(ListColumns::FormatTrack("7"), "  7");
    EXPECT_EQ(ListColumns::FormatTrack(" 12 "), " 12");
    EXPECT_EQ(ListColumns::FormatTrack(""), "   ");
    EXPECT_EQ(ListColumns::FormatTrack("1234"), "1234");
    ListColumns::RowValues row;
    row.fullpath = "/music/a/b.mp3";
    row.duration = 90061;
    row.size = 5000000;
    row.artist = "  Bob ";
    EXPECT_EQ(ListColumns::Text(ListColumns::Folder, row), "/music/a/");
    EXPECT_EQ(ListColumns::Text(ListColumns::Duration, row), "01:01:01");
    EXPECT_EQ(ListColumns::Text(ListColumns::Size, row), "4.77 MB");
    EXPECT_EQ(ListColumns::Text(ListColumns::Artist, row), "Bob");
    EXPECT_EQ(ListColumns::HeaderTextNumber(ListColumns::Folder), 67);
}
