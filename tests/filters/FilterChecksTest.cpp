// The editor's value checks: what passes, how it is rewritten, which prompt a failure gets.
#include "filters/FilterChecks.h"

#include <gtest/gtest.h>

using namespace filters;

TEST(FilterChecks, PositiveNumbersAreRewrittenShortest) {
    EXPECT_EQ(CheckPositiveNumber(" 0128 ").text, "128");
    EXPECT_EQ(CheckPositiveNumber("12.50").text, "12.5");
    EXPECT_TRUE(CheckPositiveNumber("   ").ok()) << "an empty box always passes";
    for (const char* bad : {"0", "-3", "abc", "12kb"})
        EXPECT_EQ(CheckPositiveNumber(bad).failure, CheckFailure::Value) << bad;
}

TEST(FilterChecks, DurationsAreReadAsTimesOfDay) {
    EXPECT_EQ(CheckDuration("1:30").text, "01:30:00");
    EXPECT_EQ(CheckDuration(" 0:3:7 ").text, "00:03:07");
    for (const char* bad : {"0:00", "0:0:0", "25:00", "1:75", "90", "1:2:3:4", "a:b"})
        EXPECT_FALSE(CheckDuration(bad).ok()) << bad;
}

TEST(FilterChecks, YearsAreOneValueOrARisingRange) {
    for (const char* good : {"1999", "1965-1969", ""})
        EXPECT_TRUE(CheckYear(good).ok()) << good;
    for (const char* bad : {"0", "1970-1960", "1970-1970", "1-2-3", "19x5", "-1990", "1990-"})
        EXPECT_FALSE(CheckYear(bad).ok()) << bad;
}

TEST(FilterChecks, SizesTellShapeFromLimit) {
    const QLocale c(QLocale::English, QLocale::UnitedStates);
    EXPECT_TRUE(CheckSize("1023", false, c).ok());
    EXPECT_TRUE(CheckSize("1,5", false, c).ok()) << "the comma is the locale's point";
    EXPECT_TRUE(CheckSize("10-20", true, c).ok());
    EXPECT_EQ(CheckSize("5-6", false, c).failure, CheckFailure::SizeSingleShape);
    EXPECT_EQ(CheckSize("10", true, c).failure, CheckFailure::SizeRangeShape);
    for (const char* bad : {"1024", "0", "x"})
        EXPECT_EQ(CheckSize(bad, false, c).failure, CheckFailure::SizeLimit) << bad;
    for (const char* bad : {"1-2-3", "20-10", "0-5", "5-2000"})
        EXPECT_EQ(CheckSize(bad, true, c).failure, CheckFailure::SizeLimit) << bad;
}

TEST(FilterChecks, PromptsFollowTheFailure) {
    EXPECT_EQ(CheckPrompt(CheckFailure::Value, "Bad", "format"), "Bad");
    EXPECT_EQ(CheckPrompt(CheckFailure::SizeSingleShape, "Bad", "format"), "Bad (format=####)");
    EXPECT_EQ(CheckPrompt(CheckFailure::SizeRangeShape, "Bad", "format"), "Bad (format=####-####)");
    EXPECT_EQ(CheckPrompt(CheckFailure::SizeLimit, "Bad", "format"), "Bad (max value(s)=1023).");
}
