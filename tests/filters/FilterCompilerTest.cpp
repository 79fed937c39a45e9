#include "filters/FilterCompiler.h"
#include "filters/FilterValues.h"

#include <gtest/gtest.h>

using namespace filters;

namespace {

const QDateTime kNoon(QDate(2024, 3, 2), QTime(15, 0));

GenreList genres() {
    GenreList g{{255, "(any)"}};
    for (int i = 1; i <= 4; ++i)
        g.append({i, QStringLiteral("G%1").arg(i)});
    g.append({17, "Rock"});
    return g;
}

void setRow(FilterGrid& g, int row, int op, bool negated, const QString& text) {
    g.rows[row].op = op;
    g.rows[row].negated = negated;
    g.rows[row].text = text;
}

FilterGrid grid() {
    return FilterGrid::reset(kNoon);
}

QString one(int row, int op, const QString& text = {}, int unit = 0) {
    FilterGrid g = grid();
    g.rows[row].op = op;
    g.rows[row].text = text;
    g.sizeUnit = unit;
    return Compile(g, genres());
}

QString where(const QString& w) {
    return QStringLiteral("select * from files where ") + w;
}

} // namespace

TEST(FilterCompiler, WorkedExample) {
    FilterGrid g = grid();
    setRow(g, Row::Artist, 2, false, "beat");
    setRow(g, Row::Year, 4, false, "1965-1969");
    g.rows[Row::Genre].op = 1;
    g.rows[Row::Genre].negated = true;
    g.genre = 5;
    EXPECT_EQ(Compile(g, genres()),
              "select * from files where (MD_ARTIST LIKE \"%beat%\") AND "
              "(val(MD_YEAR)>=1965 AND val(MD_YEAR)<=1969) AND NOT (MD_GENREID=17 OR "
              "MD_GENREDESC=\"Rock\")");
}

TEST(FilterCompiler, EmptyGridAndLogic) {
    EXPECT_EQ(Compile(grid(), genres()), "select * from files");
    FilterGrid g = grid();
    g.logic = 1;
    g.rows[Row::FileType].op = 2;
    EXPECT_EQ(Compile(g, genres()), where("(type=\"WAV\")"));
    setRow(g, Row::Album, 1, true, "X");
    EXPECT_EQ(Compile(g, genres()), where("NOT (MD_ALBUM=\"X\") OR (type=\"WAV\")"));
    // A row whose values cannot be used adds neither text nor operator.
    setRow(g, Row::Duration, 1, false, "0:00");
    EXPECT_EQ(Compile(g, genres()), where("NOT (MD_ALBUM=\"X\") OR (type=\"WAV\")"));
    g.rows[Row::Album].op = -1;
    EXPECT_EQ(Compile(g, genres()), where("(type=\"WAV\")"));
}

TEST(FilterCompiler, TextRows) {
    EXPECT_EQ(one(Row::Album, 1, " a b "), where("(MD_ALBUM=\" a b \")"));
    EXPECT_EQ(one(Row::Artist, 1, ""), where("(MD_ARTIST=\"\")"));
    EXPECT_EQ(one(Row::Title, 2, "lo"), where("(MD_TITLE LIKE \"%lo%\")"));
    // A double quote in a value is doubled so that the literal stays one literal.
    EXPECT_EQ(one(Row::Title, 1, "a\"b"), where("(MD_TITLE=\"a\"\"b\")"));
}

TEST(FilterCompiler, YearRow) {
    EXPECT_EQ(one(Row::Year, 1, "1999"), where("(val(MD_YEAR)=1999)"));
    EXPECT_EQ(one(Row::Year, 2, "19x9"), where("(val(MD_YEAR)<19)"));
    EXPECT_EQ(one(Row::Year, 3, "abc"), where("(val(MD_YEAR)>0)"));
    EXPECT_EQ(one(Row::Year, 1, " 1984.50"), where("(val(MD_YEAR)=1984.5)"));
    EXPECT_EQ(one(Row::Year, 4, "1990"), "select * from files");
    EXPECT_EQ(one(Row::Year, 4, "1990-2000-2010"),
              where("(val(MD_YEAR)>=1990 AND val(MD_YEAR)<=2000)"));
    EXPECT_EQ(one(Row::Year, 4, "1990-"), where("(val(MD_YEAR)>=1990 AND val(MD_YEAR)<=0)"));
}

TEST(FilterCompiler, GenreRow) {
    FilterGrid g = grid();
    g.rows[Row::Genre].op = 1;
    EXPECT_EQ(Compile(g, genres()), where("(MD_GENREID=255)"));
    g.genre = 2;
    EXPECT_EQ(Compile(g, genres()), where("(MD_GENREID=2 OR MD_GENREDESC=\"G2\")"));
    g.genre = 99; // no such entry
    EXPECT_EQ(Compile(g, genres()), "select * from files");
}

TEST(FilterCompiler, DateRows) {
    FilterGrid g = grid();
    g.rows[Row::DateAdded].op = 1;
    const QString day = "cdate(format(DATE_ADDED,\"yyyy-MM-dd\"))";
    // 15:00 counts as the day it is on, not the next one.
    EXPECT_EQ(Compile(g, genres()), where("(" + day + "=#2024-03-02#)"));
    g.rows[Row::DateAdded].op = 2;
    EXPECT_EQ(Compile(g, genres()), where("(" + day + "<#2024-03-02#)"));
    g.rows[Row::DateAdded].op = 3;
    EXPECT_EQ(Compile(g, genres()), where("(" + day + ">#2024-03-02#)"));
    g.rows[Row::DateAdded].op = 4;
    g.rows[Row::DateAdded].from = QDateTime(QDate(2023, 12, 31), QTime(0, 0));
    EXPECT_EQ(Compile(g, genres()),
              where("((" + day + ">=#2023-12-31#) AND(" + day + "<=#2024-03-02#))"));
    g.rows[Row::DateAdded].op = 0;

    g.rows[Row::FileDate].op = 5;
    for (const char* bad : {"", "x", "0", "0.4", "-3"}) {
        g.rows[Row::FileDate].days = QLatin1String(bad);
        EXPECT_EQ(Compile(g, genres()), "select * from files") << bad;
    }
    g.rows[Row::FileDate].days = "2.5"; // halves to even
    EXPECT_EQ(Compile(g, genres()), where("(DATETIME>=(Now - 2))"));
    g.rows[Row::FileDate].days = " 7 ";
    EXPECT_EQ(Compile(g, genres()), where("(DATETIME>=(Now - 7))"));
}

TEST(FilterCompiler, SizeRow) {
    EXPECT_EQ(one(Row::FileSize, 1, "1.5", 2), where("([size]=1572864)"));
    EXPECT_EQ(one(Row::FileSize, 2, "2", 3), "select * from files"); // 2^31 bytes
    EXPECT_EQ(one(Row::FileSize, 3, "1", 3), where("([size]>1073741824)"));
    EXPECT_EQ(one(Row::FileSize, 1, "3", 3), "select * from files");
    EXPECT_EQ(one(Row::FileSize, 4, "10", 1), "select * from files");
    EXPECT_EQ(one(Row::FileSize, 4, "10-20-30", 1), where("([size]>=10240 and size<=20480)"));
    EXPECT_EQ(one(Row::FileSize, 4, "0-20"), "select * from files");
    EXPECT_EQ(one(Row::FileSize, 1, "0.4"), "select * from files");
    EXPECT_EQ(one(Row::FileSize, 1, "kb"), "select * from files");
}

TEST(FilterCompiler, TypeBitRateAndDurationRows) {
    EXPECT_EQ(one(Row::FileType, 1), where("(type=\"MP3\")"));
    EXPECT_EQ(one(Row::FileType, 3), where("(type=\"WMA\")"));
    EXPECT_EQ(one(Row::BitRate, 1, "128"), where("(val(bitrate/1000)=128)"));
    EXPECT_EQ(one(Row::BitRate, 2, "128"), where("(val(bitrate/1000)<128)"));
    EXPECT_EQ(one(Row::BitRate, 3, "64"), where("(val(bitrate/1000)>64)"));
    EXPECT_EQ(one(Row::Duration, 1, "90"), where("(duration=90)"));
    EXPECT_EQ(one(Row::Duration, 2, "1:30"), where("(duration<90)"));
    EXPECT_EQ(one(Row::Duration, 3, "1:00:00"), where("(duration>3600)"));
    EXPECT_EQ(one(Row::Duration, 1, "0:00"), "select * from files");
    EXPECT_EQ(one(Row::Duration, 1, "1:2:3:4"), "select * from files");
    EXPECT_EQ(one(Row::Duration, 1, "0:0.5"), "select * from files"); // 0.5 rounds to 0
    EXPECT_EQ(one(Row::Duration, 1, "0:1.5"), where("(duration=2)"));
}

TEST(FilterCompiler, WherePartPreview) {
    EXPECT_EQ(WherePart("select * from files"), "");
    EXPECT_EQ(WherePart(where("(type=\"MP3\")")), "(type=\"MP3\")");
    // Only the exact lower-case words are taken away.
    EXPECT_EQ(WherePart("SELECT * FROM files WHERE x"), "SELECT * FROM files WHERE x");
    EXPECT_EQ(WherePart("select * from files wherever"), "ver");
}

TEST(FilterValues, SizeFollowsTheLocaleAndRoundsHalvesToEven) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(SizeBytes("1,5", 2, english), 1572864);
    EXPECT_EQ(SizeBytes("1.5", 2, german), 1572864);
    EXPECT_EQ(SizeBytes("2.5", 0, english), 2);
    EXPECT_EQ(SizeBytes("3.5", 0, english), 4);
    // Read as single precision first: 1.99f is 1.99000000954 (double: 2136746229.76).
    EXPECT_EQ(SizeBytes("1.99", 3, english), 2136746240);
    EXPECT_EQ(SizeBytes("1.99999999", 3, english), 0); // 2.0f GB overflows
    EXPECT_EQ(RoundToInt32(2147483647.4).value_or(-1), 2147483647);
    EXPECT_FALSE(RoundToInt32(2147483647.5));
    EXPECT_EQ(RoundToInt32(-0.5).value_or(-1), 0);
}
