#include "filters/FilterData.h"
#include "filters/FilterCompiler.h"

#include <gtest/gtest.h>

using namespace filters;

namespace {

const QChar Nul(u'\0');

QString line(const char* name, const char* value) {
    return QLatin1String(name) + Nul + QLatin1String(value);
}

FilterGrid busyGrid() {
    FilterGrid g = FilterGrid::reset(QDateTime(QDate(2024, 3, 2), QTime(15, 0)));
    for (int i = 0; i < RowCount; ++i) {
        g.rows[i].op = OperatorCount(i) - 1;
        g.rows[i].negated = i % 2;
    }
    g.rows[Row::Album].text = " spaced \"quoted\" ";
    g.rows[Row::Artist].text = "Björk*1";
    g.rows[Row::Year].text = "1990-1999";
    g.rows[Row::DateAdded].from = QDateTime(QDate(2001, 1, 1), QTime(0, 0));
    g.rows[Row::DateAdded].until = QDateTime(QDate(2002, 2, 2), QTime(0, 0));
    g.rows[Row::FileDate].days = "14";
    g.rows[Row::FileSize].text = "1-2";
    g.rows[Row::BitRate].text = "192";
    g.rows[Row::Duration].text = "00:03:00";
    g.genre = 3;
    g.sizeUnit = 2;
    g.logic = 1;
    return g;
}

} // namespace

TEST(FilterData, EveryControlHasALine) {
    FilterGrid g = FilterGrid::reset(QDateTime::currentDateTime());
    g.rows[Row::Album].op = 2;
    const QStringList lines = EncodeGrid(g).split("\r\n");
    EXPECT_EQ(lines.size(), 2 * RowCount + 4 + 1 + 3 * 2 + 5);
    EXPECT_TRUE(lines.contains(line("cmbCondition*0", "2")));
    EXPECT_TRUE(lines.contains(line("cmbCondition*10", "0")));
    EXPECT_TRUE(lines.contains(line("ckNOT*4", "0")));
    EXPECT_TRUE(lines.contains(line("fTxt*3", "")));
    EXPECT_TRUE(lines.contains(line("cmbGenre", "0")));
    EXPECT_TRUE(lines.contains(line("szTxt", "")));
    EXPECT_TRUE(lines.contains(line("cmbLogic", "0")));
    for (const QString& l : lines) {
        EXPECT_EQ(l.count(Nul), 1) << l.toStdString();
        EXPECT_TRUE(IsStoredControl(l.section(Nul, 0, 0).section(QLatin1Char('*'), 0, 0)));
    }
}

TEST(FilterData, RoundTripKeepsTheGridAndItsStatement) {
    const FilterGrid g = busyGrid();
    const QString fdata = EncodeGrid(g);
    const FilterGrid back = DecodeGrid(fdata, FilterGrid::reset(QDateTime()));
    EXPECT_EQ(EncodeGrid(back), fdata);
    const GenreList genres{{255, "any"}, {1, "a"}, {2, "b"}, {3, "c"}};
    // The pickers come back at midnight; the 15:00 ones as the following day.
    FilterGrid expected = g;
    expected.rows[Row::FileDate].from = QDateTime(QDate(2024, 3, 3), QTime(0, 0));
    expected.rows[Row::FileDate].until = expected.rows[Row::FileDate].from;
    EXPECT_EQ(Compile(back, genres), Compile(expected, genres));
    EXPECT_EQ(back.rows[Row::Album].text, g.rows[Row::Album].text);
    EXPECT_EQ(back.rows[Row::Artist].negated, true);
    EXPECT_EQ(back.logic, 1);
    EXPECT_EQ(back.sizeUnit, 2);
}

TEST(FilterData, PickersRoundHalfDaysToEven) {
    // 2024-03-02 is day 45353, 2024-03-03 day 45354.
    EXPECT_EQ(PickerDayNumber(QDateTime(QDate(2024, 3, 2), QTime(11, 59))), 45353);
    EXPECT_EQ(PickerDayNumber(QDateTime(QDate(2024, 3, 2), QTime(12, 0))), 45354);
    EXPECT_EQ(PickerDayNumber(QDateTime(QDate(2024, 3, 3), QTime(12, 0))), 45354);
    EXPECT_EQ(PickerDayNumber(QDateTime(QDate(2024, 3, 2), QTime(15, 0))), 45354);
    FilterGrid g;
    ApplyLines(ReadFdata(line("dtF*1", "45354")), g);
    EXPECT_EQ(g.rows[Row::FileDate].until, QDateTime(QDate(2024, 3, 3), QTime(0, 0)));
}

TEST(FilterData, HostileDataRestoresSafely) {
    const FilterGrid base = busyGrid();
    const QString hostile =
        QStringList{
            "cmbCondition*0",               // no NUL
            line("cmbLogic", "0") + "\r",   // a stray CR in the value
            line("fltName", "x"),           // not a grid control
            line("lblField*0", "x"),        //
            line("cmbCondition*99", "1"),   // no such index
            line("cmbCondition", "1"),      // group member without index
            line("szTxt*0", "1"),           // single control with index
            line("cmbCondition*1", "9999"), // beyond the list: nothing chosen
            line("ckNOT*1", "7"),           // not a check box state
            line("dtI*0", "1e300"),         // beyond the pickers' range
            line("dtF*0", "nan"),           // no number: day 0
            line("cmbFSize", "-5"),         //
            line("fTxt*-1", "x"),           //
            line("CMBCONDITION*2", "1"),    // names ignore letter case
            line("fTxt*2", QString(5000, 'x').toLatin1().constData()),
            QString(Nul),
            "",
        }
            .join("\r\n");
    const FilterGrid g = DecodeGrid(hostile, base);
    EXPECT_EQ(g.logic, 0);
    EXPECT_EQ(g.rows[0].op, base.rows[0].op);
    EXPECT_EQ(g.rows[1].op, -1);
    EXPECT_EQ(g.rows[1].negated, base.rows[1].negated);
    EXPECT_EQ(g.rows[2].op, 1);
    EXPECT_EQ(g.rows[2].text.size(), 5000);
    EXPECT_EQ(g.rows[Row::DateAdded].from, base.rows[Row::DateAdded].from);
    EXPECT_EQ(g.rows[Row::DateAdded].until, QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
    EXPECT_EQ(g.rows[Row::FileSize].text, base.rows[Row::FileSize].text);
    EXPECT_EQ(g.sizeUnit, -1);
    // Whatever was restored still compiles.
    EXPECT_TRUE(Compile(g, {{255, "any"}}).startsWith("select * from files"));
    EXPECT_EQ(ReadFdata(QString()).size(), 0);
}
