#include "cd/RipPlan.h"
#include "cd/RipTempFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace cd;

namespace {

class RipPlanTest : public ::testing::Test {
protected:
    RipPlanInput input(const QString& pattern, int format = RipMp3) const {
        RipPlanInput in;
        in.folder = dir.path();
        in.pattern = pattern;
        in.format = format;
        in.artist = QStringLiteral("The Band");
        in.album = QStringLiteral("First");
        in.year = QStringLiteral("1999");
        in.tracks = {{1, QStringLiteral("Intro")},
                     {2, QStringLiteral("Song")},
                     {12, QStringLiteral("Outro")}};
        return in;
    }
    QString root() const { return dir.path() + '/'; }
    QTemporaryDir dir;
};

TEST_F(RipPlanTest, PatternTagsInEitherCase) {
    const auto upper = BuildRipPlan(input(QStringLiteral("%N - %T")));
    const auto lower = BuildRipPlan(input(QStringLiteral("%n - %t")));
    ASSERT_EQ(upper.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(lower.at(i).name, upper.at(i).name);
    EXPECT_EQ(upper.at(0).name, "01 - Intro.mp3");
    EXPECT_EQ(upper.at(2).name, "12 - Outro.mp3");
    EXPECT_EQ(upper.at(0).folder, root());
    EXPECT_EQ(BuildRipPlan(input(QStringLiteral("%a_%b_%y_%N%%%x"))).at(1).name,
              "The Band_First_1999_02%%%x.mp3");
    // A title holding a tag is not filled in again.
    auto in = input(QStringLiteral("%T"), RipWav);
    in.tracks = {{3, QStringLiteral("100%A")}};
    EXPECT_EQ(BuildRipPlan(in).at(0).name, "100%A.wav");
}

TEST_F(RipPlanTest, ExtensionAddedOnlyWhenMissing) {
    EXPECT_EQ(BuildRipPlan(input(QStringLiteral("%T.MP3"))).at(0).name, "Intro.MP3");
    EXPECT_EQ(BuildRipPlan(input(QStringLiteral("%T.mp3"), RipWma)).at(0).name, "Intro.mp3.wma");
    EXPECT_EQ(BuildRipPlan(input(QStringLiteral("%T.Wav"), RipWav)).at(0).name, "Intro.Wav");
    EXPECT_EQ(BuildRipPlan(input(QStringLiteral("%T"), RipWma)).at(0).name, "Intro.wma");
}

TEST_F(RipPlanTest, SubfolderFromArtistAndAlbum) {
    auto in = input(QStringLiteral("%N"));
    in.subfolder = true;
    EXPECT_EQ(BuildRipPlan(in).at(0).folder, root() + "The Band - First/");
    in.album = QStringLiteral("  ");
    EXPECT_EQ(BuildRipPlan(in).at(0).folder, root() + "The Band/");
    in.artist.clear();
    in.album = QStringLiteral("First");
    EXPECT_EQ(BuildRipPlan(in).at(0).folder, root() + "First/");
    in.album.clear();
    EXPECT_EQ(BuildRipPlan(in).at(0).folder, root()) << "nothing to name a subfolder after";
    EXPECT_EQ(RipFolder(dir.path() + "//", false, "A", "B"), root());
}

TEST_F(RipPlanTest, DiscDataNeverBecomesAPath) {
    auto in = input(QStringLiteral("%A/%T"));
    in.subfolder = true;
    in.artist = QStringLiteral("AC/DC");
    in.album = QStringLiteral("Live / 1992");
    in.tracks = {{1, QStringLiteral("Thunder/Struck")}};
    const RipTarget target = BuildRipPlan(in).at(0);
    EXPECT_EQ(target.folder, root() + "AC-DC - Live - 1992/");
    EXPECT_EQ(target.name, "AC-DC-Thunder-Struck.mp3");
    in.artist = QStringLiteral("..");
    in.album.clear();
    EXPECT_EQ(BuildRipPlan(in).at(0).folder, root() + "__/") << "no climbing out of the folder";

    // A track without a title (beyond a look-up's titles) must not become ".mp3".
    in = input(QStringLiteral("%T"));
    in.tracks = {{1, QStringLiteral("One")}, {2, QStringLiteral(" ")}};
    const auto plan = BuildRipPlan(in);
    EXPECT_EQ(plan.at(0).check, RipTarget::Ready);
    EXPECT_EQ(plan.at(1).check, RipTarget::NoName);
    EXPECT_FALSE(RipPlanUsable(plan));
}

TEST_F(RipPlanTest, ExistingFilesAndEqualNamesAreMarked) {
    auto plan = BuildRipPlan(input(QStringLiteral("%N - %T")));
    EXPECT_TRUE(RipPlanUsable(plan));
    QFile existing(root() + "02 - Song.mp3");
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    plan = BuildRipPlan(input(QStringLiteral("%N - %T")));
    EXPECT_EQ(plan.at(0).check, RipTarget::Ready);
    EXPECT_EQ(plan.at(1).check, RipTarget::Exists);
    EXPECT_FALSE(RipPlanUsable(plan));

    auto in = input(QStringLiteral("%T"));
    in.tracks = {
        {1, QStringLiteral("Same")}, {2, QStringLiteral("Other")}, {3, QStringLiteral("SAME")}};
    plan = BuildRipPlan(in);
    EXPECT_EQ(plan.at(0).check, RipTarget::SameName);
    EXPECT_EQ(plan.at(1).check, RipTarget::Ready);
    EXPECT_EQ(plan.at(2).check, RipTarget::SameName);
    EXPECT_FALSE(RipPlanUsable(plan));
}

TEST_F(RipPlanTest, TemporaryWavNeverTakesAnExistingFile) {
    EXPECT_EQ(RipTempName(7), "~RIP0007.WAV");
    QFile mine(root() + "~RIP0500.WAV");
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.write("someone's");
    mine.close();
    QList<double> draws = {0.5, 0.5004, 0.25};
    const auto made = CreateRipTempFile(dir.path(), [&] { return draws.takeFirst(); });
    ASSERT_TRUE(made.ok());
    EXPECT_EQ(made.value(), root() + "~RIP0250.WAV");
    EXPECT_TRUE(draws.isEmpty());
    ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
    EXPECT_EQ(mine.readAll(), "someone's");

    int count = 0;
    const auto none = CreateRipTempFile(dir.path(), [&] {
        ++count;
        return 0.5;
    });
    EXPECT_FALSE(none.ok());
    EXPECT_EQ(count, 20);
}

} // namespace
