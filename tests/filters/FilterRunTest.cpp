// Compiled statements run on SQLite through the Jet dialect against a library
// of real files and find the expected rows.
#include "core/OleDate.h"
#include "filters/FilterCompiler.h"
#include "filters/FilterQuery.h"
#include "filters/FilterStore.h"
#include "support/LibraryFixture.h"

using namespace filters;

namespace {

fixtures::TagFields tags(const char* artist, const char* album, const char* title, const char* year,
                         const char* genre) {
    fixtures::TagFields t;
    t.artist = QLatin1String(artist);
    t.album = QLatin1String(album);
    t.title = QLatin1String(title);
    t.year = QLatin1String(year);
    t.genre = QLatin1String(genre);
    return t;
}

class FilterRunTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        addMusicFolder();
        ASSERT_TRUE(
            fixtures::WriteMp3(music() + "/beatles.mp3",
                               tags("The Beatles", "Abbey Road", "Something", "1969", "Rock")));
        ASSERT_TRUE(
            fixtures::WriteMp3(music() + "/happening.mp3",
                               tags("Beat Happening", "Jamboree", "Indian Summer", "1988", "Pop")));
        ASSERT_TRUE(fixtures::WriteWma(music() + "/kinks.wma",
                                       tags("The Kinks", "Kinda", "Tired", "1965", "Rock")));
        ASSERT_TRUE(fixtures::WriteWav(music() + "/silence.wav"));
        scan();
        // Sizes, lengths and file dates the statements can be checked against.
        const auto set = [this](const char* file, const QString& assignments) {
            ASSERT_TRUE(conn()
                            .executeNative("update FILES set " + assignments + " where filename='" +
                                           QLatin1String(file) + "'")
                            .ok());
        };
        const double march2 = OleDate::fromDateTime(QDateTime(QDate(2024, 3, 2), QTime(10, 0)));
        set("beatles.mp3", QStringLiteral("size=1572864, duration=90, DATETIME=%1").arg(march2));
        set("happening.mp3", QStringLiteral("size=2048, duration=3600, DATETIME=%1")
                                 .arg(OleDate::fromDate(2020, 1, 1)));
        set("kinks.wma", "size=20480, duration=200, bitrate=64000");
        set("silence.wav", "size=500");
        Result<GenreList> g = LoadGenres(conn(), "(any)");
        ASSERT_TRUE(g.ok()) << g.error().toStdString();
        genres = g.value();
    }

    int genrePosition(const QString& name) const {
        for (int i = 0; i < genres.size(); ++i)
            if (genres.at(i).text == name) return i;
        return -1;
    }

    // File names the compiled statement finds, sorted, run as filters run.
    QStringList found(const FilterGrid& g) {
        const QString sql = Compile(g, genres);
        EXPECT_TRUE(ValidateStatement(conn(), sql).ok()) << sql.toStdString();
        Result<db::Recordset> r = QueryReadOnly(conn(), sql);
        EXPECT_TRUE(r.ok()) << sql.toStdString() << ": " << r.error().toStdString();
        QStringList names;
        if (!r) return names;
        while (r.value().next())
            names << r.value().text("filename");
        EXPECT_TRUE(r.value().error().isEmpty()) << sql.toStdString();
        names.sort();
        return names;
    }

    FilterGrid row(int r, int op, const QString& text = {}) {
        FilterGrid g = FilterGrid::reset(QDateTime::currentDateTime());
        g.rows[r].op = op;
        g.rows[r].text = text;
        return g;
    }

    GenreList genres;
};

using L = QStringList;

} // namespace

TEST_F(FilterRunTest, TextAndYearRows) {
    EXPECT_EQ(found(row(Row::Album, 1, "Abbey Road")), L{"beatles.mp3"});
    EXPECT_EQ(found(row(Row::Album, 1, "")), L{"silence.wav"});
    EXPECT_EQ(found(row(Row::Artist, 2, "beat")), (L{"beatles.mp3", "happening.mp3"}));
    EXPECT_EQ(found(row(Row::Title, 2, "ire")), L{"kinks.wma"});
    EXPECT_EQ(found(row(Row::Year, 1, "1969")), L{"beatles.mp3"});
    EXPECT_EQ(found(row(Row::Year, 2, "1969")), (L{"kinks.wma", "silence.wav"}));
    EXPECT_EQ(found(row(Row::Year, 3, "1965")), (L{"beatles.mp3", "happening.mp3"}));
    EXPECT_EQ(found(row(Row::Year, 4, "1965-1969")), (L{"beatles.mp3", "kinks.wma"}));
}

TEST_F(FilterRunTest, WorkedExampleAndLogic) {
    FilterGrid g = row(Row::Artist, 2, "beat");
    g.rows[Row::Year].op = 4;
    g.rows[Row::Year].text = "1965-1969";
    g.rows[Row::Genre].op = 1;
    g.rows[Row::Genre].negated = true;
    g.genre = genrePosition("Pop");
    ASSERT_GT(g.genre, 0);
    EXPECT_EQ(found(g), L{"beatles.mp3"});
    g.genre = genrePosition("Rock");
    EXPECT_EQ(found(g), L{});
    g.logic = 1;
    EXPECT_EQ(found(g), (L{"beatles.mp3", "happening.mp3", "kinks.wma", "silence.wav"}));
    EXPECT_EQ(found(row(Row::Title, 0)).size(), 4);
}

TEST_F(FilterRunTest, GenreRow) {
    FilterGrid g = row(Row::Genre, 1);
    g.genre = genrePosition("Rock");
    EXPECT_EQ(found(g), (L{"beatles.mp3", "kinks.wma"}));
    g.genre = 0;
    EXPECT_EQ(found(g), L{"silence.wav"});
}

TEST_F(FilterRunTest, DateRows) {
    FilterGrid g = row(Row::FileDate, 1);
    g.rows[Row::FileDate].from = QDateTime(QDate(2024, 3, 2), QTime(15, 0));
    EXPECT_EQ(found(g), L{"beatles.mp3"});
    g.rows[Row::FileDate].op = 2;
    EXPECT_EQ(found(g), L{"happening.mp3"});
    g.rows[Row::FileDate].op = 3;
    EXPECT_EQ(found(g), (L{"kinks.wma", "silence.wav"}));
    g.rows[Row::FileDate].op = 4;
    g.rows[Row::FileDate].from = QDateTime(QDate(2019, 12, 31), QTime(0, 0));
    g.rows[Row::FileDate].until = QDateTime(QDate(2024, 3, 2), QTime(0, 0));
    EXPECT_EQ(found(g), (L{"beatles.mp3", "happening.mp3"}));
    g.rows[Row::FileDate].op = 5;
    g.rows[Row::FileDate].days = "30";
    EXPECT_EQ(found(g), (L{"kinks.wma", "silence.wav"}));

    FilterGrid added = row(Row::DateAdded, 1);
    EXPECT_EQ(found(added).size(), 4);
    added.rows[Row::DateAdded].op = 2;
    EXPECT_EQ(found(added), L{});
    added.rows[Row::DateAdded].op = 5;
    added.rows[Row::DateAdded].days = "1";
    EXPECT_EQ(found(added).size(), 4);
}

TEST_F(FilterRunTest, SizeTypeBitRateAndDurationRows) {
    FilterGrid g = row(Row::FileSize, 1, "1.5");
    g.sizeUnit = 2;
    EXPECT_EQ(found(g), L{"beatles.mp3"});
    g = row(Row::FileSize, 4, "2-20-30");
    g.sizeUnit = 1;
    EXPECT_EQ(found(g), (L{"happening.mp3", "kinks.wma"}));
    g = row(Row::FileSize, 2, "1");
    g.sizeUnit = 1;
    EXPECT_EQ(found(g), L{"silence.wav"});
    g = row(Row::FileSize, 3, "3");
    g.sizeUnit = 3; // overflow: the row is dropped and every file is found
    EXPECT_EQ(found(g).size(), 4);

    EXPECT_EQ(found(row(Row::FileType, 1)), (L{"beatles.mp3", "happening.mp3"}));
    EXPECT_EQ(found(row(Row::FileType, 2)), L{"silence.wav"});
    EXPECT_EQ(found(row(Row::FileType, 3)), L{"kinks.wma"});

    EXPECT_EQ(found(row(Row::BitRate, 1, "128")), (L{"beatles.mp3", "happening.mp3"}));
    EXPECT_EQ(found(row(Row::BitRate, 3, "1000")), L{"silence.wav"});
    EXPECT_EQ(found(row(Row::BitRate, 2, "128")), L{"kinks.wma"});

    EXPECT_EQ(found(row(Row::Duration, 1, "1:30")), L{"beatles.mp3"});
    EXPECT_EQ(found(row(Row::Duration, 3, "1:00:00")), L{});
    EXPECT_EQ(found(row(Row::Duration, 2, "3:20")), (L{"beatles.mp3", "silence.wav"}));
}
