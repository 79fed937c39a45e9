// Names built from tags, and the plan of a rename, without the disk.
#include "editing/RenamePlan.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

FileRecord record(const QString& path, const QString& artist, const QString& track,
                  const QString& title, qint32 id = 1) {
    FileRecord r;
    r.id = id;
    r.fullPath = path;
    r.artist = artist;
    r.track = track;
    r.title = title;
    r.album = QStringLiteral("Alb");
    r.year = QStringLiteral("2001");
    return r;
}

} // namespace

TEST(RenameNames, TagsTrackRuleAndExtension) {
    const FileRecord a = record(QStringLiteral("/m/a.mp3"), QStringLiteral("X"),
                                QStringLiteral("3"), QStringLiteral("Y"));
    EXPECT_EQ(RenamePlan::BuildName(QStringLiteral("%A - %N - %T"), a),
              QStringLiteral("X - 03 - Y.mp3"));
    EXPECT_EQ(RenamePlan::BuildName(QStringLiteral("%Y %B %B"), a),
              QStringLiteral("2001 Alb Alb.mp3"));
    // Tags are case-sensitive: "%t" stays as typed.
    EXPECT_EQ(RenamePlan::BuildName(QStringLiteral("%T %t"), a), QStringLiteral("Y %t.mp3"));
    // The file's own extension in another letter case is not added again.
    EXPECT_EQ(RenamePlan::BuildName(QStringLiteral("%T.MP3"), a), QStringLiteral("Y.MP3"));
    EXPECT_EQ(RenamePlan::BuildName(QStringLiteral("%T.wma"), a), QStringLiteral("Y.wma.mp3"));
    // Values are used as stored, untrimmed, and replaced in the order N T A B Y:
    // a title holding "%A" gets the artist.
    const FileRecord b = record(QStringLiteral("/m/b.wma"), QStringLiteral("Art"),
                                QStringLiteral(" 7"), QStringLiteral(" %A "));
    EXPECT_EQ(RenamePlan::BuildName(QStringLiteral("%N%T"), b), QStringLiteral("07 Art .wma"));

    EXPECT_EQ(RenamePlan::TrackText(QStringLiteral("7")), QStringLiteral("07"));
    EXPECT_EQ(RenamePlan::TrackText(QStringLiteral("12")), QStringLiteral("12"));
    EXPECT_EQ(RenamePlan::TrackText(QStringLiteral("123")), QStringLiteral("123"));
    EXPECT_EQ(RenamePlan::TrackText(QStringLiteral("0")), QStringLiteral("00"));
    EXPECT_EQ(RenamePlan::TrackText(QStringLiteral("3/12")), QStringLiteral("3/12"));
    EXPECT_EQ(RenamePlan::TrackText(QString()), QString());
    EXPECT_EQ(RenamePlan::TrackText(QStringLiteral("A1")), QStringLiteral("A1"));

    EXPECT_TRUE(RenamePlan::HasTag(QStringLiteral("x%Yx")));
    EXPECT_FALSE(RenamePlan::HasTag(QStringLiteral("%t %a %n %b %y % N")));
}

TEST(RenamePlanSteps, BadNamesFailTheirFileOnly) {
    const QList<FileRecord> records = {
        record(QStringLiteral("/m/1.mp3"), QStringLiteral("A"), QStringLiteral("3/12"),
               QStringLiteral("One"), 1),
        record(QStringLiteral("/m/2.mp3"), QStringLiteral("A"), QStringLiteral("2"),
               QStringLiteral("Why?"), 2),
        record(QStringLiteral("/m/3.mp3"), QStringLiteral("A"), QStringLiteral("3"),
               QStringLiteral("AC/DC"), 3),
        record(QStringLiteral("/m/4.mp3"), QStringLiteral("A"), QStringLiteral("4"),
               QStringLiteral("../../etc/x"), 4),
        record(QString(), QString(), QString(), QString(), 77),
        record(QStringLiteral("/m/6.mp3"), QStringLiteral("A"), QStringLiteral("6"),
               QStringLiteral("Six"), 6),
    };
    const QList<RenamePlan::Step> plan = RenamePlan::Plan(QStringLiteral("%N %T"), records);
    ASSERT_EQ(plan.size(), 6);
    EXPECT_EQ(RenamePlan::BuildName(QStringLiteral("%N %T"), records[0]),
              QStringLiteral("3/12 One.mp3"));
    // "3/12" is put in as it stands: its "/" would reach into a folder, so it fails.
    EXPECT_FALSE(plan[0].problem.isEmpty());
    EXPECT_TRUE(plan[0].newPath.isEmpty());
    EXPECT_FALSE(plan[1].problem.isEmpty());
    EXPECT_FALSE(plan[2].problem.isEmpty());
    EXPECT_FALSE(plan[3].problem.isEmpty());
    EXPECT_FALSE(plan[4].problem.isEmpty());
    EXPECT_EQ(plan[4].id, 77);
    EXPECT_TRUE(plan[5].problem.isEmpty());
    EXPECT_EQ(plan[5].oldPath, QStringLiteral("/m/6.mp3"));
    EXPECT_EQ(plan[5].newPath, QStringLiteral("/m/06 Six.mp3"));

    const QList<RenamePlan::Step> dashed =
        RenamePlan::Plan(QStringLiteral("%A - %T"), {records[0]});
    EXPECT_EQ(dashed[0].newPath, QStringLiteral("/m/A - One.mp3"));
    for (const QString& bad : {QStringLiteral("a\\b"), QStringLiteral("a:b"), QStringLiteral("a*b"),
                               QStringLiteral("a\"b"), QStringLiteral("a<b"), QStringLiteral("a>b"),
                               QStringLiteral("a|b"), QStringLiteral("a\nb"), QString(QChar(0)),
                               QStringLiteral(" "), QStringLiteral(".."), QStringLiteral("/")})
        EXPECT_FALSE(RenamePlan::NameProblem(bad).isEmpty()) << bad.toStdString();
    EXPECT_TRUE(RenamePlan::NameProblem(QStringLiteral("Ünïcode & 'quotes' #1.mp3")).isEmpty());
}

TEST(RenamePlanSteps, PreviewFollowsTheOrderOfTheRenames) {
    auto step = [](const char* from, const char* to) {
        RenamePlan::Step s;
        s.oldPath = QString::fromLatin1(from);
        s.newPath = QString::fromLatin1(to);
        return s;
    };
    QList<RenamePlan::Step> steps = {
        step("/m/a", "/m/x"), // free
        step("/m/b", "/m/x"), // taken by the first
        step("/m/c", "/m/a"), // freed by the first
        step("/m/d", "/m/e"), // exists on disk
        step("/m/e", "/m/e"), // its own name: nothing to do
    };
    const QSet<QString> disk = {QStringLiteral("/m/a"), QStringLiteral("/m/b"),
                                QStringLiteral("/m/c"), QStringLiteral("/m/d"),
                                QStringLiteral("/m/e")};
    RenamePlan::Preview(steps, [&](const QString& p) { return disk.contains(p); });
    EXPECT_TRUE(steps[0].problem.isEmpty());
    EXPECT_FALSE(steps[1].problem.isEmpty());
    EXPECT_TRUE(steps[2].problem.isEmpty());
    EXPECT_FALSE(steps[3].problem.isEmpty());
    EXPECT_TRUE(steps[4].problem.isEmpty());
}
