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
    r.album = "Alb";
    r.year = "2001";
    return r;
}

} // namespace

TEST(RenameNames, TagsTrackRuleAndExtension) {
    const FileRecord a = record("/m/a.mp3", "X", "3", "Y");
    EXPECT_EQ(RenamePlan::BuildName("%A - %N - %T", a), "X - 03 - Y.mp3");
    EXPECT_EQ(RenamePlan::BuildName("%Y %B %B", a), "2001 Alb Alb.mp3");
    // Tags are case-sensitive: "%t" stays as typed.
    EXPECT_EQ(RenamePlan::BuildName("%T %t", a), "Y %t.mp3");
    // The file's own extension in another letter case is not added again.
    EXPECT_EQ(RenamePlan::BuildName("%T.MP3", a), "Y.MP3");
    EXPECT_EQ(RenamePlan::BuildName("%T.wma", a), "Y.wma.mp3");
    // Values are used as stored, untrimmed, and replaced in the order N T A B Y:
    // a title holding "%A" gets the artist.
    const FileRecord b = record("/m/b.wma", "Art", " 7", " %A ");
    EXPECT_EQ(RenamePlan::BuildName("%N%T", b), "07 Art .wma");

    EXPECT_EQ(RenamePlan::TrackText("7"), "07");
    EXPECT_EQ(RenamePlan::TrackText("12"), "12");
    EXPECT_EQ(RenamePlan::TrackText("123"), "123");
    EXPECT_EQ(RenamePlan::TrackText("0"), "00");
    EXPECT_EQ(RenamePlan::TrackText("3/12"), "3/12");
    EXPECT_EQ(RenamePlan::TrackText(QString()), QString());
    EXPECT_EQ(RenamePlan::TrackText("A1"), "A1");

    EXPECT_TRUE(RenamePlan::HasTag("x%Yx"));
    EXPECT_FALSE(RenamePlan::HasTag("%t %a %n %b %y % N"));
}

TEST(RenamePlanSteps, BadNamesFailTheirFileOnly) {
    const QList<FileRecord> records = {
        record("/m/1.mp3", "A", "3/12", "One", 1),
        record("/m/2.mp3", "A", "2", "Why?", 2),
        record("/m/3.mp3", "A", "3", "AC/DC", 3),
        record("/m/4.mp3", "A", "4", "../../etc/x", 4),
        record(QString(), QString(), QString(), QString(), 77),
        record("/m/6.mp3", "A", "6", "Six", 6),
    };
    const QList<RenamePlan::Step> plan = RenamePlan::Plan("%N %T", records);
    ASSERT_EQ(plan.size(), 6);
    EXPECT_EQ(RenamePlan::BuildName("%N %T", records[0]), "3/12 One.mp3");
    // "3/12" is put in as it stands: its "/" would reach into a folder, so it fails.
    EXPECT_FALSE(plan[0].problem.isEmpty());
    EXPECT_TRUE(plan[0].newPath.isEmpty());
    EXPECT_FALSE(plan[1].problem.isEmpty());
    EXPECT_FALSE(plan[2].problem.isEmpty());
    EXPECT_FALSE(plan[3].problem.isEmpty());
    EXPECT_FALSE(plan[4].problem.isEmpty());
    EXPECT_EQ(plan[4].id, 77);
    EXPECT_TRUE(plan[5].problem.isEmpty());
    EXPECT_EQ(plan[5].oldPath, "/m/6.mp3");
    EXPECT_EQ(plan[5].newPath, "/m/06 Six.mp3");

    const QList<RenamePlan::Step> dashed = RenamePlan::Plan("%A - %T", {records[0]});
    EXPECT_EQ(dashed[0].newPath, "/m/A - One.mp3");
    for (const QString& bad : QStringList{"a\\b", "a:b", "a*b", "a\"b", "a<b", "a>b", "a|b", "a\nb",
                                          QString(QChar(0)), " ", "..", "/"})
        EXPECT_FALSE(RenamePlan::NameProblem(bad).isEmpty()) << bad.toStdString();
    EXPECT_TRUE(RenamePlan::NameProblem("Ünïcode & 'quotes' #1.mp3").isEmpty());
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
    const QSet<QString> disk = {"/m/a", "/m/b", "/m/c", "/m/d", "/m/e"};
    RenamePlan::Preview(steps, [&](const QString& p) { return disk.contains(p); });
    EXPECT_TRUE(steps[0].problem.isEmpty());
    EXPECT_FALSE(steps[1].problem.isEmpty());
    EXPECT_TRUE(steps[2].problem.isEmpty());
    EXPECT_FALSE(steps[3].problem.isEmpty());
    EXPECT_TRUE(steps[4].problem.isEmpty());
}
