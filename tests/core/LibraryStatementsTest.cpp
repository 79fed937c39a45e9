// Every statement text the application issues, run on a fixture library with
// the rows Jet would return.
#include "core/Formatting.h"
#include "core/OleDate.h"
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
    QStringList names(const QString& sql) { return rows(sql, {QStringLiteral("filename")}); }
};

QStringList L(std::initializer_list<const char*> items) {
    QStringList l;
    for (const char* i : items)
        l << QString::fromUtf8(i);
    return l;
}

} // namespace

TEST_F(StatementsTest, TreeOrderIgnoresCaseAndKeepsAccentsBesideTheirLetters) {
    const QStringList r = rows(QStringLiteral("select * from files order by MD_ARTIST,MD_ALBUM"),
                               {QStringLiteral("md_artist"), QStringLiteral("md_album")});
    ASSERT_EQ(r.size(), 10);
    // Blank artists first; "ABBA"/"abba" together, albums ignoring case; "Émile" among the E's.
    EXPECT_EQ(r[0], QStringLiteral("|Lost Album"));
    EXPECT_EQ(r[1], QStringLiteral("   |"));
    EXPECT_EQ(r[2].section(QLatin1Char('|'), 0, 0).toLower(), QStringLiteral("abba"));
    EXPECT_EQ(r[2].section(QLatin1Char('|'), 1).toLower(), QStringLiteral("arrival"));
    EXPECT_EQ(r[3].section(QLatin1Char('|'), 1).toLower(), QStringLiteral("arrival"));
    EXPECT_EQ(r[4], QStringLiteral("ABBA|Voulez-Vous"));
    EXPECT_EQ(r[5], QStringLiteral("Émile Zola|Élan"));
    EXPECT_TRUE(r[6].startsWith(QStringLiteral("SINÉAD")) ||
                r[6].startsWith(QStringLiteral("Sinéad")));
    EXPECT_TRUE(r[8].startsWith(QStringLiteral("The Beatles|Help!"), Qt::CaseInsensitive));
    EXPECT_EQ(r[9], QStringLiteral("the beatles|Rubber Soul"));
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
        {QStringLiteral("filename"), QStringLiteral("playcount")});
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
    EXPECT_EQ(
        names(QStringLiteral("select * from files where trim(MD_ARTIST)='' order by filename")),
        L({"c1.mp3", "c2.mp3"}));
    EXPECT_EQ(names(QStringLiteral(
                  "select * from files where strcomp(MD_ARTIST,'ABBA',0)=0 order by filename")),
              L({"a1.mp3", "a3.mp3"}));
    EXPECT_EQ(names(QStringLiteral(
                  "select * from files where strcomp(MD_ARTIST,'abba',0)=0 order by filename")),
              L({"a2.mp3"}));
    const QString sinead = mainMod::SqlQuote(QStringLiteral("Sinéad O'Connor"));
    EXPECT_EQ(names(QStringLiteral("select * from files where strcomp(MD_ARTIST,'") + sinead +
                    QStringLiteral("',0)=0 order by filename")),
              L({"b1.wma"}));
    // Album nodes, as built: artist part, "AND ", album part, two spaces before order.
    EXPECT_EQ(names(QStringLiteral("select * from files where strcomp(MD_ARTIST,'ABBA',0)=0 AND "
                                   "strcomp(MD_ALBUM,'Arrival',0)=0  order by filename")),
              L({"a1.mp3"}));
    EXPECT_EQ(names(QStringLiteral("select * from files where trim(MD_ARTIST)='' AND "
                                   "strcomp(MD_ALBUM,'Lost Album',0)=0  order by filename")),
              L({"c1.mp3"}));
    EXPECT_EQ(names(QStringLiteral(
                  "select * from files where trim(MD_ARTIST)='' AND trim(MD_ALBUM)=''  order by "
                  "filename")),
              L({"c2.mp3"}));
    EXPECT_EQ(names(QStringLiteral(
                  "select * from files where strcomp(MD_ARTIST,'SINÉAD O''CONNOR',0)=0 AND "
                  "trim(MD_ALBUM)=''  order by filename")),
              L({"b2.wma"}));
    // The same exact match without the index rewrite (mode written differently).
    EXPECT_EQ(names(QStringLiteral(
                  "select * from files where strcomp(MD_ARTIST,'ABBA', 0) = 0 order by filename")),
              L({"a1.mp3", "a3.mp3"}));
}

TEST_F(StatementsTest, RatingsFiltersAndGenres) {
    EXPECT_EQ(names(QStringLiteral("select * from files where rating=5 order by filename")),
              L({"a1.mp3", "d2.mp3"}));
    EXPECT_EQ(names(QStringLiteral("select * from files where rating=0 order by filename")),
              L({"a3.mp3", "c2.mp3"}));
    ASSERT_TRUE(
        conn().execute(QStringLiteral("insert into MFILTERS(DESCRIPT, QSQL, FDATA) values('rock', "
                                      "'select * from files where type=\"WAV\"', ''), "
                                      "('Ältere', 'x', ''), ('beat', 'y', '')")));
    EXPECT_EQ(rows(QStringLiteral("select * from MFILTERS order by DESCRIPT"),
                   {QStringLiteral("DESCRIPT")}),
              L({"Ältere", "beat", "rock"}));
    EXPECT_EQ(rows(QStringLiteral("select * from MFILTERS where descript='Rock'"),
                   {QStringLiteral("QSQL")}),
              L({"select * from files where type=\"WAV\""}));
    const QString id =
        rows(QStringLiteral("select * from MFILTERS where descript='beat'"), {QStringLiteral("id")})
            .value(0);
    EXPECT_EQ(
        rows(QStringLiteral("select * from mfilters where id=") + id, {QStringLiteral("DESCRIPT")}),
        L({"beat"}));
    ASSERT_TRUE(conn().execute(QStringLiteral("delete from MFILTERS where id=") + id));
    EXPECT_EQ(rows(QStringLiteral("select * from MFILTERS order by DESCRIPT"),
                   {QStringLiteral("DESCRIPT")})
                  .size(),
              2);
    const QStringList genres = rows(QStringLiteral("select * from id3_genres order by descript"),
                                    {QStringLiteral("descript"), QStringLiteral("id")});
    ASSERT_EQ(genres.size(), 148);
    EXPECT_EQ(genres.first(), QStringLiteral("A Cappella|123"));
    // A stored filter statement runs as the tree runs it.
    EXPECT_EQ(names(QStringLiteral("select * from files where type=\"WAV\"")), L({"d1.wav"}));
}

TEST_F(StatementsTest, VirtualFolderJoinListsInFolderOrder) {
    const qint32 folder = lib.VirtualFolders()->FindFolder(QStringLiteral("Mix"), true);
    ASSERT_GT(folder, 0);
    for (const char* n : {"d1.wav", "a1.mp3", "e1.mp3"})
        ASSERT_TRUE(lib.VirtualFolders()->AddFile(idOf(QString::fromUtf8(n)), folder));
    ASSERT_TRUE(lib.VirtualFolders()->SelectFolder(folder));
    ASSERT_TRUE(lib.VirtualFolders()->MoveFile(idOf(QStringLiteral("e1.mp3")), 1));
    const QString sql =
        QStringLiteral(
            "select * from VFFILES left join FILES on VFFILES.FL_ID=FILES.ID where VF_ID=") +
        QString::number(folder) + QStringLiteral(" order by FINDEX asc");
    EXPECT_EQ(names(sql), L({"e1.mp3", "d1.wav", "a1.mp3"}));
    // "id" is the file's id, VF_ID the folder's.
    const QStringList ids = rows(sql, {QStringLiteral("id"), QStringLiteral("VF_ID")});
    EXPECT_EQ(ids.first(), QString::number(idOf(QStringLiteral("e1.mp3"))) + QLatin1Char('|') +
                               QString::number(folder));
}

TEST_F(StatementsTest, QuickSearchLikeIsCaseInsensitiveForAllLetters) {
    // The statement as the search builds it, for "sinéad connor" and for "1965".
    auto search = [this](const QString& text) {
        const QString q = mainMod::SqlQuote(text.trimmed());
        QString p = q;
        p.replace(QLatin1Char(' '), QLatin1Char('%'));
        const QString P = QStringLiteral("like '%") + p + QStringLiteral("%'");
        bool numeric = false;
        q.toDouble(&numeric);
        QString sql = QStringLiteral("select * from files where filename ") + P +
                      QStringLiteral(" or md_artist ") + P + QStringLiteral(" or md_album ") + P +
                      QStringLiteral(" or ");
        if (numeric) sql += QStringLiteral("md_year='") + q + QStringLiteral("' or ");
        sql += QStringLiteral("md_title ") + P + QStringLiteral(" or md_genredesc ") + P +
               QStringLiteral(" order by filename");
        return names(sql);
    };
    EXPECT_EQ(search(QStringLiteral("SINÉAD connor")), L({"b1.wma", "b2.wma"}));
    EXPECT_EQ(search(QStringLiteral("connor sinéad")), QStringList());
    EXPECT_EQ(search(QStringLiteral("écho")), L({"e1.mp3"}));
    EXPECT_EQ(search(QStringLiteral("1965")), L({"c2.mp3", "d1.wav"}));
    EXPECT_EQ(search(QStringLiteral("emperor's")), L({"b2.wma"}));
    EXPECT_EQ(search(QStringLiteral("money money")), L({"a2.mp3"}));
}

TEST_F(StatementsTest, CompiledFilterConditionsRunAsJetWould) {
    // Text equals ignores case; contains is LIKE.
    EXPECT_EQ(
        names(QStringLiteral("select * from files where (MD_ALBUM=\"arrival\") order by filename")),
        L({"a1.mp3", "a2.mp3"}));
    EXPECT_EQ(names(QStringLiteral("select * from files where (MD_ARTIST=\"\") order by filename")),
              L({"c1.mp3"}));
    // The compiler's own example.
    EXPECT_EQ(names(QStringLiteral(
                  "select * from files where (MD_ARTIST LIKE \"%beat%\") AND (val(MD_YEAR)>=1965 "
                  "AND val(MD_YEAR)<=1969) AND NOT (MD_GENREID=17 OR MD_GENREDESC=\"Rock\")")),
              QStringList());
    EXPECT_EQ(names(QStringLiteral(
                  "select * from files where (MD_ARTIST LIKE \"%beat%\") AND (val(MD_YEAR)>=1965 "
                  "AND val(MD_YEAR)<=1969) AND (MD_GENREID=17 OR MD_GENREDESC=\"Rock\") order by "
                  "filename")),
              L({"d1.wav", "d2.mp3"}));
    EXPECT_EQ(
        names(QStringLiteral("select * from files where (val(MD_YEAR)=1965) order by filename")),
        L({"c2.mp3", "d1.wav", "d2.mp3"}));
    EXPECT_EQ(names(QStringLiteral("select * from files where (MD_GENREID=255) order by filename")),
              L({"c1.mp3"}));
    // Dates: the whole day, before/after, between, last n days.
    EXPECT_EQ(
        names(QStringLiteral(
            "select * from files where (cdate(format(DATE_ADDED,\"yyyy-MM-dd\"))=#2024-03-02#) "
            "order by filename")),
        L({"c1.mp3", "c2.mp3"}));
    EXPECT_EQ(
        names(QStringLiteral(
            "select * from files where ((cdate(format(DATETIME,\"yyyy-MM-dd\"))>=#2024-03-02#) "
            "AND(cdate(format(DATETIME,\"yyyy-MM-dd\"))<=#2024-03-03#)) order by filename")),
        L({"c1.mp3", "c2.mp3", "d1.wav"}));
    EXPECT_EQ(
        names(QStringLiteral(
            "select * from files where (cdate(format(DATE_ADDED,\"yyyy-MM-dd\"))<#2024-03-03#) "
            "order by filename")),
        L({"c1.mp3", "c2.mp3"}));
    EXPECT_EQ(names(QStringLiteral(
                  "select * from files where (DATE_ADDED>=(Now - 7)) order by filename")),
              L({"a1.mp3", "b1.wma", "b2.wma", "d2.mp3"}));
    // Size, type, bit rate (floating-point division), duration.
    EXPECT_EQ(names(QStringLiteral(
                  "select * from files where ([size]>=1024 and size<=1048576) order by filename")),
              L({"c1.mp3", "c2.mp3", "e1.mp3"}));
    EXPECT_EQ(names(QStringLiteral("select * from files where ([size]<2000) order by filename")),
              L({"b2.wma"}));
    EXPECT_EQ(names(QStringLiteral("select * from files where (type=\"WMA\") order by filename")),
              L({"b1.wma", "b2.wma"}));
    EXPECT_EQ(names(QStringLiteral(
                  "select * from files where (val(bitrate/1000)=128) order by filename")),
              L({"a1.mp3", "c2.mp3", "e1.mp3"}));
    EXPECT_EQ(names(QStringLiteral(
                  "select * from files where (val(bitrate/1000)>128) AND (val(bitrate/1000)<129)")),
              L({"a2.mp3"}));
    EXPECT_EQ(names(QStringLiteral("select * from files where (duration=90)")), L({"c2.mp3"}));
    EXPECT_EQ(names(QStringLiteral(
                  "select * from files where (duration>300) OR (duration<30) order by filename")),
              L({"a3.mp3", "c1.mp3"}));
    // What a filter must be: one statement that changes nothing.
    EXPECT_TRUE(
        conn().isSingleReadOnly(QStringLiteral("select * from files where (type=\"WMA\")")));
    EXPECT_FALSE(conn().isSingleReadOnly(QStringLiteral("select * from files; delete from files")));
}

TEST_F(StatementsTest, LibraryResetStatementsEmptyTheTables) {
    const qint32 folder = lib.VirtualFolders()->FindFolder(QStringLiteral("Keep"), true);
    ASSERT_TRUE(lib.VirtualFolders()->AddFile(idOf(QStringLiteral("a1.mp3")), folder));
    ASSERT_TRUE(lib.MediaFolders()->Add(music()));
    ASSERT_TRUE(conn().execute(QStringLiteral("delete from files")));
    ASSERT_TRUE(conn().execute(QStringLiteral("delete from vffiles")));
    EXPECT_TRUE(names(QStringLiteral("select * from files")).isEmpty());
    // Folders themselves stay; their contents are gone.
    EXPECT_EQ(lib.VirtualFolders()->FolderCount(), 1);
    EXPECT_EQ(lib.MediaFolders()->FolderCount(), 1);
    ASSERT_TRUE(conn().execute(QStringLiteral("delete from mmfolders")));
    lib.MediaFolders()->Reload();
    EXPECT_EQ(lib.MediaFolders()->FolderCount(), 0);
}
