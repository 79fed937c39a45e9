// The statements the tree, the list and the search issue, run on a fixture
// library with the rows Jet would return.
#include "core/Formatting.h"
#include "core/OleDate.h"
#include "library/NodeKeys.h"
#include "library/NodeQuery.h"
#include "library/QuickSearch.h"
#include "support/LibraryFixture.h"

namespace {

class StatementsTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        const double now = OleDate::now();
        struct Row {
            const char* name;
            const char* artist;
            const char* album;
            const char* title;
            const char* year;
            int genre;
            const char* genreText;
            int rating;
            qint64 size;
            double duration;
            int bitrate;
            const char* type;
            double added;
        };
        const Row rows[] = {
            {"a1.mp3", "ABBA", "Arrival", "Dancing Queen", "1976", 13, "Pop", 5, 4000000, 231,
             128000, "MP3", now - 1},
            {"a2.mp3", "abba", "arrival", "Money, Money, Money", "1976", 13, "Pop", 4, 3000000, 185,
             128500, "MP3", now - 30},
            {"a3.mp3", "ABBA", "Voulez-Vous", "Chiquitita", "1979", 13, "Pop", 0, 5000000, 326,
             192000, "MP3", now - 400},
            {"b1.wma", "Sinéad O'Connor", "I Do Not Want", "Nothing Compares 2 U", "1990", 13,
             "Pop", 3, 4500000, 280, 160000, "WMA", now - 2},
            {"b2.wma", "SINÉAD O'CONNOR", "", "The Emperor's New Clothes", "1990", 13, "Pop", 3,
             1000, 60, 96000, "WMA", now - 3},
            {"c1.mp3", "", "Lost Album", "Unknown 1", "", 255, "", 1, 2048, 10, 64000, "MP3",
             OleDate::fromDate(2024, 3, 2) + 0.75},
            {"c2.mp3", "   ", "", "Unknown 2", "1965", 17, "Rock", 0, 1048576, 90, 128000, "MP3",
             OleDate::fromDate(2024, 3, 2)},
            {"d1.wav", "The Beatles", "Help!", "Yesterday", "1965", 17, "Rock", 2, 20000000, 125,
             1411000, "WAV", OleDate::fromDate(2024, 3, 3)},
            {"d2.mp3", "the beatles", "Rubber Soul", "Michelle", "1965 remaster", 17, "Rock", 5,
             3500000, 162, 320000, "MP3", now - 0.5},
            {"e1.mp3", "Émile Zola", "Élan", "Écho", "2001", 0, "Blues", 2, 3000, 200, 128000,
             "MP3", now - 10},
        };
        Result<db::Recordset> ins =
            conn().prepare(QStringLiteral("insert into FILES(fullpath, filename, filetitle, type, "
                                          "size, duration, bitrate, frequency, "
                                          "md_artist, md_album, md_title, md_year, MD_GENREID, "
                                          "md_genredesc, rating, DATE_ADDED, DATETIME) "
                                          "values(?,?,?,?,?,?,?,44100,?,?,?,?,?,?,?,?,?)"));
        ASSERT_TRUE(ins.ok()) << ins.error().toStdString();
        for (const Row& r : rows) {
            const QString name = QString::fromUtf8(r.name);
            ASSERT_TRUE(ins.value()
                            .bind(1, QStringLiteral("/music/") + name)
                            .bind(2, name)
                            .bind(3, name.left(2))
                            .bind(4, QString::fromLatin1(r.type))
                            .bind(5, r.size)
                            .bind(6, r.duration)
                            .bind(7, r.bitrate)
                            .bind(8, QString::fromUtf8(r.artist))
                            .bind(9, QString::fromUtf8(r.album))
                            .bind(10, QString::fromUtf8(r.title))
                            .bind(11, QString::fromUtf8(r.year))
                            .bind(12, r.genre)
                            .bind(13, QString::fromUtf8(r.genreText))
                            .bind(14, r.rating)
                            .bind(15, r.added)
                            .bind(16, r.added)
                            .execute());
        }
    }
    QStringList names(const QString& sql) { return rows(sql, {"filename"}); }
};

QStringList L(std::initializer_list<const char*> items) {
    QStringList l;
    for (const char* i : items)
        l << QString::fromUtf8(i);
    return l;
}

} // namespace

TEST_F(StatementsTest, TreeOrderIgnoresCaseAndKeepsAccentsBesideTheirLetters) {
    const QStringList r =
        rows("select * from files order by MD_ARTIST,MD_ALBUM", {"md_artist", "md_album"});
    ASSERT_EQ(r.size(), 10);
    // Blank artists first; "ABBA"/"abba" together, albums ignoring case; "Émile" among the E's.
    EXPECT_EQ(r[0], "|Lost Album");
    EXPECT_EQ(r[1], "   |");
    EXPECT_EQ(r[2].section(QLatin1Char('|'), 0, 0).toLower(), "abba");
    EXPECT_EQ(r[2].section(QLatin1Char('|'), 1).toLower(), "arrival");
    EXPECT_EQ(r[3].section(QLatin1Char('|'), 1).toLower(), "arrival");
    EXPECT_EQ(r[4], "ABBA|Voulez-Vous");
    EXPECT_EQ(r[5], "Émile Zola|Élan");
    EXPECT_TRUE(r[6].startsWith("SINÉAD") || r[6].startsWith("Sinéad"));
    EXPECT_TRUE(r[8].startsWith("The Beatles|Help!", Qt::CaseInsensitive));
    EXPECT_EQ(r[9], "the beatles|Rubber Soul");
}

TEST_F(StatementsTest, MostPlayedTakesTheTwentyLatestOrderedByPlayCount) {
    // 25 played files: the 20 latest plays win, shown by play count.
    Result<db::Recordset> ins = conn().prepare(QStringLiteral(
        "insert into FILES(fullpath, filename, playcount, lastplay) values(?, ?, ?, ?)"));
    for (int i = 0; i < 25; ++i) {
        const QString n = QStringLiteral("p%1.mp3").arg(i, 2, 10, QLatin1Char('0'));
        ASSERT_TRUE(ins.value()
                        .bind(1, QStringLiteral("/p/") + n)
                        .bind(2, n)
                        .bind(3, (i * 7) % 25 + 1)
                        .bind(4, 45000.0 + i)
                        .execute());
    }
    const QStringList r = rows(
        QStringLiteral(
            "select * from (select top 20 * from files where playcount>0 order by lastplay desc) "
            "order by playcount desc"),
        {"filename", "playcount"});
    ASSERT_EQ(r.size(), 20);
    int last = 1000;
    for (const QString& row : r) {
        const int index = row.mid(1, 2).toInt();
        EXPECT_GE(index, 5) << row.toStdString(); // p00..p04 are the oldest plays
        const int count = row.section(QLatin1Char('|'), 1).toInt();
        EXPECT_LE(count, last);
        last = count;
    }
}

TEST_F(StatementsTest, ArtistAndAlbumNodesMatchExactlyOrBlank) {
    const EmptyTagTexts blank{"[unknown]", "[unknown]"};
    auto artist = [&](const QString& name) {
        return names(BuildNodeQuery(NodeKeys::artistKey(name), {}, blank).sql);
    };
    auto album = [&](const QString& artist, const QString& name) {
        return names(BuildNodeQuery(NodeKeys::albumKey(artist, name), {}, blank).sql);
    };
    EXPECT_EQ(artist("[unknown]"), L({"c1.mp3", "c2.mp3"}));
    EXPECT_EQ(artist("ABBA"), L({"a1.mp3", "a3.mp3"}));
    EXPECT_EQ(artist("abba"), L({"a2.mp3"}));
    EXPECT_EQ(artist("Sinéad O'Connor"), L({"b1.wma"}));
    EXPECT_EQ(album("ABBA", "Arrival"), L({"a1.mp3"}));
    EXPECT_EQ(album("[unknown]", "Lost Album"), L({"c1.mp3"}));
    EXPECT_EQ(album("[unknown]", "[unknown]"), L({"c2.mp3"}));
    EXPECT_EQ(album("SINÉAD O'CONNOR", "[unknown]"), L({"b2.wma"}));
    // The same exact match without the index rewrite (mode written differently).
    EXPECT_EQ(names(QStringLiteral(
                  "select * from files where strcomp(MD_ARTIST,'ABBA', 0) = 0 order by filename")),
              L({"a1.mp3", "a3.mp3"}));
}

TEST_F(StatementsTest, RatingsFiltersAndGenres) {
    EXPECT_EQ(names("select * from files where rating=5 order by filename"),
              L({"a1.mp3", "d2.mp3"}));
    EXPECT_EQ(names("select * from files where rating=0 order by filename"),
              L({"a3.mp3", "c2.mp3"}));
    ASSERT_TRUE(
        conn().execute(QStringLiteral("insert into MFILTERS(DESCRIPT, QSQL, FDATA) values('rock', "
                                      "'select * from files where type=\"WAV\"', ''), "
                                      "('Ältere', 'x', ''), ('beat', 'y', '')")));
    EXPECT_EQ(rows("select * from MFILTERS order by DESCRIPT", {"DESCRIPT"}),
              L({"Ältere", "beat", "rock"}));
    EXPECT_EQ(rows("select * from MFILTERS where descript='Rock'", {"QSQL"}),
              L({"select * from files where type=\"WAV\""}));
    const QString id = rows("select * from MFILTERS where descript='beat'", {"id"}).value(0);
    EXPECT_EQ(rows(QStringLiteral("select * from mfilters where id=") + id, {"DESCRIPT"}),
              L({"beat"}));
    ASSERT_TRUE(conn().execute(QStringLiteral("delete from MFILTERS where id=") + id));
    EXPECT_EQ(rows("select * from MFILTERS order by DESCRIPT", {"DESCRIPT"}).size(), 2);
    const QStringList genres =
        rows("select * from id3_genres order by descript", {"descript", "id"});
    ASSERT_EQ(genres.size(), 148);
    EXPECT_EQ(genres.first(), "A Cappella|123");
    // A stored filter statement runs as the tree runs it.
    EXPECT_EQ(names("select * from files where type=\"WAV\""), L({"d1.wav"}));
}

TEST_F(StatementsTest, VirtualFolderJoinListsInFolderOrder) {
    const qint32 folder = lib.VirtualFolders()->FindFolder("Mix", true);
    ASSERT_GT(folder, 0);
    for (const char* n : {"d1.wav", "a1.mp3", "e1.mp3"})
        ASSERT_TRUE(lib.VirtualFolders()->AddFile(idOf(QString::fromUtf8(n)), folder));
    ASSERT_TRUE(lib.VirtualFolders()->SelectFolder(folder));
    ASSERT_TRUE(lib.VirtualFolders()->MoveFile(idOf("e1.mp3"), 1));
    const QString sql = BuildNodeQuery(NodeKeys::virtualFolderKey(folder), {}, {}).sql;
    EXPECT_EQ(names(sql), L({"e1.mp3", "d1.wav", "a1.mp3"}));
    // "id" is the file's id, VF_ID the folder's.
    const QStringList ids = rows(sql, {"id", "VF_ID"});
    EXPECT_EQ(ids.first(),
              QString::number(idOf("e1.mp3")) + QLatin1Char('|') + QString::number(folder));
}

TEST_F(StatementsTest, QuickSearchLikeIsCaseInsensitiveForAllLetters) {
    auto search = [this](const QString& text) {
        return names(QuickSearch::Sql(text) + " order by filename");
    };
    EXPECT_EQ(search("SINÉAD connor"), L({"b1.wma", "b2.wma"}));
    EXPECT_EQ(search("connor sinéad"), QStringList());
    EXPECT_EQ(search("écho"), L({"e1.mp3"}));
    EXPECT_EQ(search("1965"), L({"c2.mp3", "d1.wav"}));
    EXPECT_EQ(search("emperor's"), L({"b2.wma"}));
    EXPECT_EQ(search("money money"), L({"a2.mp3"}));
}
