// Jet's Format, number text and date reading, called directly.
#include "core/JetFormat.h"
#include "core/JetDates.h"
#include "core/JetNumbers.h"
#include "core/OleDate.h"

#include <gtest/gtest.h>

namespace {

QString fmt(double x, const char* pattern) {
    JetFormat::Value v;
    v.kind = JetFormat::Value::Kind::Number;
    v.number = x;
    return JetFormat::format(v, QString::fromUtf8(pattern)).value_or("<null>");
}

QString fmtText(const char* text, const char* pattern) {
    JetFormat::Value v;
    v.kind = JetFormat::Value::Kind::Text;
    v.text = QString::fromUtf8(text);
    return JetFormat::format(v, QString::fromUtf8(pattern)).value_or("<null>");
}

// Saturday 2024-03-02 14:05:09, and the same day at 09:03:04.
const double kAfternoon = OleDate::fromDate(2024, 3, 2) + (14 * 3600 + 5 * 60 + 9) / 86400.0;
const double kMorning = OleDate::fromDate(2024, 3, 2) + (9 * 3600 + 3 * 60 + 4) / 86400.0;

} // namespace

TEST(JetFormat, NamedDateAndTimeFormatsInUsEnglish) {
    EXPECT_EQ(fmt(kAfternoon, "General Date"), "3/2/2024 2:05:09 PM");
    EXPECT_EQ(fmt(OleDate::fromDate(2024, 3, 2), "general date"), "3/2/2024");
    EXPECT_EQ(fmt(0.5, "General Date"), "12:00:00 PM");
    EXPECT_EQ(fmt(kAfternoon, "Long Date"), "Saturday, March 2, 2024");
    EXPECT_EQ(fmt(kAfternoon, "Medium Date"), "02-Mar-24");
    EXPECT_EQ(fmt(kAfternoon, "Short Date"), "3/2/2024");
    EXPECT_EQ(fmt(kAfternoon, "Long Time"), "2:05:09 PM");
    EXPECT_EQ(fmt(kMorning, "Medium Time"), "09:03 AM");
    EXPECT_EQ(fmt(kAfternoon, "Short Time"), "14:05");
    // Text that reads as a date is formatted; other text comes back as it is.
    EXPECT_EQ(fmtText("2024-03-02 14:05:09", "Short Date"), "3/2/2024");
    EXPECT_EQ(fmtText("soon", "Short Date"), "soon");
}

TEST(JetFormat, DatePatternTokens) {
    EXPECT_EQ(fmt(kAfternoon, "yyyy-mm-dd hh:nn:ss"), "2024-03-02 14:05:09");
    EXPECT_EQ(fmt(kAfternoon, "yyyy-MM-dd"), "2024-03-02");
    EXPECT_EQ(fmt(kMorning, "h:m:s"), "9:3:4") << "m after h is the minute";
    EXPECT_EQ(fmt(kAfternoon, "d mmm yy, dddd (ddd) mmmm"), "2 Mar 24, Saturday (Sat) March");
    EXPECT_EQ(fmt(kAfternoon, "ddddd|dddddd|ttttt|c"),
              "3/2/2024|Saturday, March 2, 2024|2:05:09 PM|3/2/2024 2:05:09 PM");
    EXPECT_EQ(fmt(kAfternoon, "q y w ww"), "1 62 7 9");
    // The AM/PM tokens keep the case they are written in; any of them makes the hours 12-hour.
    EXPECT_EQ(fmt(kAfternoon, "h:nn AM/PM"), "2:05 PM");
    EXPECT_EQ(fmt(kMorning, "hh:nn am/pm"), "09:03 am");
    EXPECT_EQ(fmt(kAfternoon, "h A/P"), "2 P");
    EXPECT_EQ(fmt(kMorning, "h a/p"), "9 a");
    EXPECT_EQ(fmt(kAfternoon, "h ampm"), "2 PM");
    EXPECT_EQ(fmt(OleDate::fromDate(2024, 3, 2), "h:nn AM/PM"), "12:00 AM");
    // Quoted text and backslash escapes are literal.
    EXPECT_EQ(fmt(kAfternoon, "\"Day\" d \\o\\f mmmm"), "Day 2 of March");
    EXPECT_EQ(fmt(kAfternoon, "yyyy\\-mm"), "2024-03");
}

TEST(JetFormat, NumberPatterns) {
    EXPECT_EQ(fmt(5, "000"), "005");
    EXPECT_EQ(fmt(0.5, "#.##"), ".5");
    EXPECT_EQ(fmt(5, "#.##"), "5.");
    EXPECT_EQ(fmt(0.5, "0.00"), "0.50");
    EXPECT_EQ(fmt(1234.5, "#,##0.00"), "1,234.50");
    EXPECT_EQ(fmt(1234567.891, "#,##0"), "1,234,568");
    EXPECT_EQ(fmt(123, "#,##0"), "123");
    EXPECT_EQ(fmt(0, "#,##0"), "0");
    EXPECT_EQ(fmt(0, "#"), "");
    EXPECT_EQ(fmt(2.5, "0"), "3") << "Format rounds halves away from zero";
    EXPECT_EQ(fmt(0.125, "0.00"), "0.13");
    EXPECT_EQ(fmt(1.005, "0.00"), "1.01") << "rounded as the decimal 1.005";
    EXPECT_EQ(fmt(0.256, "0%"), "26%");
    EXPECT_EQ(fmt(0.256, "0.0%"), "25.6%");
    EXPECT_EQ(fmt(1234567, "#,##0,"), "1,235") << "a comma before the point scales by 1000";
    EXPECT_EQ(fmt(12345, "0.00E+00"), "1.23E+04");
    EXPECT_EQ(fmt(0.000123, "0.0E-0"), "1.2E-4");
    EXPECT_EQ(fmt(12345, "0.0e-00"), "1.2e04");
    EXPECT_EQ(fmt(5551234567, "(000) 000-0000"), "(555) 123-4567");
    EXPECT_EQ(fmt(1234567, "(###) ###-####"), "() 123-4567");
    EXPECT_EQ(fmt(5, "0 \"kg\""), "5 kg");
    EXPECT_EQ(fmt(5, "\\#0"), "#5");
    EXPECT_EQ(fmt(5.5, ".00"), "5.50");
    EXPECT_EQ(fmt(-5, "$0.00"), "-$5.00");
}

TEST(JetFormat, NumberSections) {
    EXPECT_EQ(fmt(5, "0;(0)"), "5");
    EXPECT_EQ(fmt(-5, "0;(0)"), "(5)");
    EXPECT_EQ(fmt(0, "0;(0);\"zero\""), "zero");
    EXPECT_EQ(fmt(-5, "0;;\"zero\""), "-5") << "an empty section borrows the first";
    EXPECT_EQ(fmt(0, "0;(0);"), "0");
    JetFormat::Value null;
    EXPECT_EQ(JetFormat::format(null, u"0;(0);\"zero\";\"none\"").value_or("<null>"), "none");
    EXPECT_EQ(JetFormat::format(null, u"0;(0)").value_or("<null>"), "<null>");
    EXPECT_EQ(fmt(0, "0;-0;0;\"none\""), "0");
}

TEST(JetFormat, NamedNumberFormats) {
    EXPECT_EQ(fmt(1234.5, "General Number"), "1234.5");
    EXPECT_EQ(fmt(1234.5, "Currency"), "$1,234.50");
    EXPECT_EQ(fmt(-1234.5, "Currency"), "($1,234.50)");
    EXPECT_EQ(fmt(1234.5, "Fixed"), "1234.50");
    EXPECT_EQ(fmt(0.5, "Fixed"), "0.50");
    EXPECT_EQ(fmt(1234.5, "Standard"), "1,234.50");
    EXPECT_EQ(fmt(0.125, "Percent"), "12.50%");
    EXPECT_EQ(fmt(12345, "Scientific"), "1.23E+04");
    EXPECT_EQ(fmt(2, "Yes/No"), "Yes");
    EXPECT_EQ(fmt(0, "Yes/No"), "No");
    EXPECT_EQ(fmt(-1, "True/False"), "True");
    EXPECT_EQ(fmt(0, "On/Off"), "Off");
    // Numeric text is a number; other text stays.
    EXPECT_EQ(fmtText("5", "000"), "005");
    EXPECT_EQ(fmtText("0", "yes/no"), "No");
    EXPECT_EQ(fmtText("abc", "000"), "abc");
    EXPECT_EQ(fmtText("007", ""), "007");
    EXPECT_EQ(fmt(1.5, ""), "1.5");
}

TEST(JetNumbers, TextAndRoundingOnFifteenDigits) {
    EXPECT_EQ(JetNumbers::text(0.1 + 0.2), "0.3");
    EXPECT_EQ(JetNumbers::text(1999.0), "1999");
    EXPECT_EQ(JetNumbers::text(-2.5), "-2.5");
    EXPECT_EQ(JetNumbers::text(123456789012345.0), "123456789012345");
    EXPECT_EQ(JetNumbers::text(1e15), "1E+15");
    EXPECT_EQ(JetNumbers::text(0.00001), "0.00001");
    EXPECT_EQ(JetNumbers::text(0.0000015), "1.5E-06");
    EXPECT_EQ(JetNumbers::round(2.5, 0), 2);
    EXPECT_EQ(JetNumbers::round(3.5, 0), 4);
    EXPECT_EQ(JetNumbers::round(-0.5, 0), 0);
    EXPECT_EQ(JetNumbers::round(9.995, 2), 10);
    EXPECT_DOUBLE_EQ(JetNumbers::round(0.285, 2), 0.28);
    double x = 0;
    EXPECT_TRUE(JetNumbers::parse(u" -1.5e3 ", x));
    EXPECT_EQ(x, -1500);
    EXPECT_TRUE(JetNumbers::parse(u"&HFF", x));
    EXPECT_EQ(x, 255);
    EXPECT_FALSE(JetNumbers::parse(u"1,5", x));
    EXPECT_FALSE(JetNumbers::parse(u"12abc", x));
    EXPECT_FALSE(JetNumbers::parse(u".", x));
}

TEST(JetDates, ReadsUsEnglishDatesAndTimes) {
    double d = 0;
    ASSERT_TRUE(JetDates::parse(u"12/31/1999 11:30 PM", d));
    EXPECT_DOUBLE_EQ(d, OleDate::fromDate(1999, 12, 31) + (23 * 60 + 30) / 1440.0);
    ASSERT_TRUE(JetDates::parse(u"March 2, 2024", d));
    EXPECT_EQ(d, 45353);
    ASSERT_TRUE(JetDates::parse(u"2 sept 2024", d));
    EXPECT_EQ(d, OleDate::fromDate(2024, 9, 2));
    ASSERT_TRUE(JetDates::parse(u"3/2/29", d));
    EXPECT_EQ(d, OleDate::fromDate(2029, 3, 2));
    ASSERT_TRUE(JetDates::parse(u"3/2/30", d));
    EXPECT_EQ(d, OleDate::fromDate(1930, 3, 2));
    ASSERT_TRUE(JetDates::parse(u"12:00 PM", d));
    EXPECT_EQ(d, 0.5);
    EXPECT_FALSE(JetDates::parse(u"2024-02-30", d));
    EXPECT_FALSE(JetDates::parse(u"Foo 2, 2024", d));
    EXPECT_FALSE(JetDates::parse(u"13:00 PM", d));
    EXPECT_FALSE(JetDates::parse(u"yesterday", d));
    EXPECT_FALSE(JetDates::parse(u"2024-03-02x", d));
}
