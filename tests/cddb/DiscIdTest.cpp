// Disc ids and query commands for library files laid out as one CD.
#include "cddb/cddbQFromFiles.h"

#include <QRandomGenerator>
#include <QStringList>
#include <gtest/gtest.h>
#include <vector>

namespace {

// The CDDB disc id as the protocol defines it, from track lengths in seconds:
// each track starts 2 s (150 frames) after the previous one ends; the checksum
// adds the digits of every start in seconds; the length is lead-out minus the
// first start.
QString referenceQuery(const std::vector<int>& lengths) {
    std::vector<long long> startFrames;
    long long frame = 0;
    for (int length : lengths) {
        frame += 150;
        startFrames.push_back(frame);
        frame += 75LL * length;
    }
    const long long leadOutSeconds = frame / 75;
    long long checksum = 0;
    for (long long f : startFrames)
        for (long long s = f / 75; s > 0; s /= 10)
            checksum += s % 10;
    const unsigned long long id = ((checksum % 255ULL) << 24) |
                                  ((leadOutSeconds - startFrames[0] / 75) << 8) | lengths.size();
    QStringList parts{QStringLiteral("cddb query"),
                      QString::number(id & 0xFFFFFFFFULL, 16).toUpper(),
                      QString::number(lengths.size())};
    for (long long f : startFrames)
        parts << QString::number(f);
    parts << QString::number(leadOutSeconds);
    return parts.join(QLatin1Char(' '));
}

QString queryOf(const QList<QVariant>& durations) {
    cddbQFromFiles disc;
    for (const QVariant& d : durations)
        EXPECT_TRUE(disc.AddTrack(d).ok());
    return disc.QueryCommand();
}

} // namespace

TEST(DiscIdFromFiles, WorkedExamplesAndSevenDigitIds) {
    EXPECT_EQ(queryOf({180, 200, 240}),
              QStringLiteral("cddb query 20027003 3 150 13800 28950 626"));
    cddbQFromFiles one;
    one.AddTrack(5);
    EXPECT_EQ(one.DiscId(), QStringLiteral("2000501"));
    EXPECT_EQ(cddbQFromFiles().QueryCommand(), QString()) << "no tracks, no query";
}

TEST(DiscIdFromFiles, MatchesTheProtocolDefinitionForRandomDiscs) {
    QRandomGenerator random(1234);
    for (int round = 0; round < 200; ++round) {
        std::vector<int> lengths(1 + random.bounded(40));
        QList<QVariant> durations;
        for (int& l : lengths) {
            l = random.bounded(1, 1200);
            durations << l;
        }
        EXPECT_EQ(queryOf(durations), referenceQuery(lengths)) << round;
    }
}

TEST(DiscIdFromFiles, DurationsAsNumbersAndTimes) {
    // Halves round to even; times are m:ss or h:mm:ss.
    EXPECT_EQ(cddbQFromFiles::Seconds(59.5), 60);
    EXPECT_EQ(cddbQFromFiles::Seconds(60.5), 60);
    EXPECT_EQ(cddbQFromFiles::Seconds(QStringLiteral(" 61.5 ")), 62);
    EXPECT_EQ(cddbQFromFiles::Seconds(QStringLiteral("3:25")), 205);
    EXPECT_EQ(cddbQFromFiles::Seconds(QStringLiteral("1:02:03")), 3723);
    for (const char* unusable : {"abc", "", "3:75", "1:2:3:4", "x:10", "-5"})
        EXPECT_EQ(cddbQFromFiles::Seconds(QString::fromLatin1(unusable)), -1) << unusable;

    cddbQFromFiles disc;
    disc.AddTrack(QStringLiteral("abc"));
    disc.AddTrack(QVariant());
    EXPECT_EQ(disc.TrackCount(), 0);
    disc.AddTrack(QStringLiteral("3:00"));
    disc.AddTrack(200.4);
    disc.AddTrack(QStringLiteral("0:04:00"));
    EXPECT_EQ(disc.QueryCommand(), QStringLiteral("cddb query 20027003 3 150 13800 28950 626"));
}

TEST(DiscIdFromFiles, AtMost256TracksAndResetStartsAgain) {
    cddbQFromFiles disc;
    for (int i = 0; i < 257; ++i)
        disc.AddTrack(10);
    EXPECT_EQ(disc.TrackCount(), 256);
    EXPECT_EQ(disc.QueryCommand().split(QLatin1Char(' ')).size(), 2 + 2 + 256 + 1);
    disc.Reset();
    disc.AddTrack(180);
    EXPECT_EQ(disc.QueryCommand(), QStringLiteral("cddb query 200B401 1 150 182"));
}

TEST(DiscIdFromFiles, DiscsBeyondThe32BitRangeAreRefused) {
    cddbQFromFiles disc;
    EXPECT_TRUE(disc.AddTrack(100).ok());
    EXPECT_FALSE(disc.AddTrack(40000000).ok());
    EXPECT_EQ(disc.TrackCount(), 1);
    EXPECT_EQ(disc.QueryCommand(), QStringLiteral("cddb query 2006401 1 150 102"));
}
