// Disc ids and query commands for library files laid out as one CD.
#include "cddb/cddbQFromFiles.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// The CDDB disc id as the protocol defines it: each track starts 150 frames
// after the previous one ends; the checksum adds the digits of every start in
// seconds; the length is lead-out minus first start.
QString referenceQuery(const QList<int>& lengths) {
    QString offsets;
    long long frame = 0, checksum = 0;
    for (int length : lengths) {
        frame += 150;
        offsets += QLatin1Char(' ') + QString::number(frame);
        for (long long s = frame / 75; s > 0; s /= 10)
            checksum += s % 10;
        frame += 75LL * length;
    }
    const unsigned long long id =
        ((checksum % 255) << 24) | ((frame / 75 - 2) << 8) | unsigned(lengths.size());
    return QStringLiteral("cddb query %1 %2%3 %4")
        .arg(QString::number(id & 0xFFFFFFFF, 16).toUpper())
        .arg(lengths.size())
        .arg(offsets)
        .arg(frame / 75);
}

} // namespace

TEST(DiscIdFromFiles, MatchesTheProtocolDefinition) {
    cddbQFromFiles disc;
    for (const QVariant& d : {QVariant(180), QVariant("3:20"), QVariant(" 240.4 ")})
        disc.AddTrack(d);
    EXPECT_EQ(disc.QueryCommand(), QStringLiteral("cddb query 20027003 3 150 13800 28950 626"));
    disc.Reset();
    disc.AddTrack(5);
    EXPECT_EQ(disc.DiscId(), QStringLiteral("2000501")) << "seven digits; Reset starts again";

    QRandomGenerator random(1234);
    for (int round = 0; round < 100; ++round) {
        QList<int> lengths;
        disc.Reset();
        for (int n = 1 + random.bounded(40); n > 0; --n) {
            lengths << random.bounded(1, 1200);
            disc.AddTrack(lengths.last());
        }
        EXPECT_EQ(disc.QueryCommand(), referenceQuery(lengths)) << round;
    }
}

TEST(DiscIdFromFiles, DurationsLimitsAndOverflow) {
    EXPECT_EQ(cddbQFromFiles::Seconds(59.5), 60) << "halves to even";
    EXPECT_EQ(cddbQFromFiles::Seconds(60.5), 60);
    EXPECT_EQ(cddbQFromFiles::Seconds("3:25"), 205);
    EXPECT_EQ(cddbQFromFiles::Seconds("1:02:03"), 3723);
    for (const char* unusable : {"abc", "", "3:75", "1:2:3:4", "-5"})
        EXPECT_EQ(cddbQFromFiles::Seconds(QString::fromLatin1(unusable)), -1) << unusable;

    cddbQFromFiles disc;
    EXPECT_EQ(disc.QueryCommand(), QString()) << "no tracks, no query";
    for (int i = 0; i < 258; ++i)
        disc.AddTrack(i == 0 ? QVariant("abc") : QVariant(10));
    EXPECT_EQ(disc.TrackCount(), 256);
    disc.Reset();
    EXPECT_TRUE(disc.AddTrack(100).ok());
    EXPECT_FALSE(disc.AddTrack(40000000).ok()) << "frame offsets beyond 32 bits";
    EXPECT_EQ(disc.QueryCommand(), QStringLiteral("cddb query 2006401 1 150 102"));
}
