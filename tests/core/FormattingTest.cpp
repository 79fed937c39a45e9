#include "core/Formatting.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace mainMod;

TEST(Formatting, QuotingDoublesQuotes) {
    EXPECT_EQ(SqlQuote("Guns N' Roses' Best"), "Guns N'' Roses'' Best");
    EXPECT_EQ(SqlQuote("12\" Mix"), "12\" Mix");
    EXPECT_EQ(QuoteText("a b"), "\"a b\"");
    EXPECT_EQ(QuoteText("The \"Best\" Band's"), "\"The \"\"Best\"\" Band's\"");
    EXPECT_EQ(CutAtNul(QStringLiteral("ab") + QChar(0) + "cd"), "ab");
    EXPECT_EQ(CutAtNul("abc"), "abc");
}

TEST(Formatting, DurationsWrapAtOneDay) {
    EXPECT_EQ(FormatDuration(0), "00:00:00");
    EXPECT_EQ(FormatDuration(245.9), "00:04:05");
    EXPECT_EQ(FormatDuration(3725), "01:02:05");
    EXPECT_EQ(FormatDuration(90000), "01:00:00");
    EXPECT_EQ(FormatDuration(-5), "00:00:00");
    EXPECT_EQ(FormatDuration("abc"), "00:00:00");
    EXPECT_EQ(FormatDuration("61"), "00:01:01");
}

TEST(Formatting, SizesWithUnitsAndTrimmedDecimals) {
    EXPECT_EQ(FormatSize(0), "0 bytes");
    EXPECT_EQ(FormatSize(1023), "1,023 bytes");
    EXPECT_EQ(FormatSize(1024), "1 KB");
    EXPECT_EQ(FormatSize(1536), "1.5 KB");
    EXPECT_EQ(FormatSize(1600), "1.56 KB");
    EXPECT_EQ(FormatSize(5000000), "4.77 MB");
    EXPECT_EQ(FormatSize(3.5 * 1024 * 1024 * 1024), "3.5 GB");
    EXPECT_EQ(FormatSize(2.0 * 1024 * 1024 * 1024 * 1024), "2 TB");
    EXPECT_EQ(FormatSize(1024.0 * 1024 * 1024 * 1024 * 1024), "1 B") << "no unit letter beyond T";
    EXPECT_EQ(FormatSize(-7), "0 bytes");
    EXPECT_EQ(FormatSize(1536, true), "1.5 Ko");
    EXPECT_EQ(FormatSize(12, true), "12 octets");
}

TEST(Formatting, BitratesAndFrequencies) {
    EXPECT_EQ(FormatBitrate(128000), "128 Kbps");
    EXPECT_EQ(FormatBitrate(1411200), "1,411 Kbps");
    EXPECT_EQ(FormatBitrate(-1), "0 Kbps");
    EXPECT_EQ(FormatFrequency(44100), "44.10 KHz");
    EXPECT_EQ(FormatFrequency(48000), "48.00 KHz");
    EXPECT_EQ(FormatFrequency(800), "800.00 Hz");
    EXPECT_EQ(FormatFrequency(2500000), "2.50 MHz");
}

TEST(Formatting, FollowsTheLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatSize(1600), "1,56 KB");
    EXPECT_EQ(FormatSize(1023), "1.023 bytes");
    EXPECT_EQ(FormatFrequency(44100), "44,10 KHz");
    QLocale::setDefault(saved);
}
