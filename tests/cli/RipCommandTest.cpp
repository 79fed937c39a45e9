#include "cli/CliFixture.h"
#include "convert/TagObject.h"
#include "support/CdImage.h"

#include <QDir>
#include <QFile>

namespace {

class RipCommandTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        fixtures::WriteCdImage(dir.path() + "/data/cd-images", "disc", {44100 + 9, 20000, 30000});
    }
    QString out() const { return dir.path() + "/out"; }
    QStringList files(const QString& folder) const {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
};

TEST_F(RipCommandTest, ChosenTracksToMp3WithTheDiscFacts) {
    ProcessResult r =
        qvr({"rip",  "1",           "--tracks", "1,3",     "--format", "mp3",       "--to",
             out(),  "--subfolder", "--artist", "Band",    "--album",  "Live",      "--year",
             "1990", "--genre",     "Blues",    "--title", "3=Encore", "--pattern", "%n-%t"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString folder = out() + "/Band - Live";
    EXPECT_EQ(files(folder), (QStringList{"01-Track 1.mp3", "03-Encore.mp3"}));
    EXPECT_EQ(r.out, folder + "/01-Track 1.mp3\n" + folder + "/03-Encore.mp3\n");
    const auto at = [&r](const char* line) { return r.err.indexOf(QLatin1String(line)); };
    EXPECT_GE(at("[2/2] 03-Encore.mp3: ripping\n"), 0) << r.err.toStdString();
    EXPECT_LT(at("[2/2] 03-Encore.mp3: ripping\n"), at("[2/2] 03-Encore.mp3: ripped, encoding\n"));
    EXPECT_LT(at("[2/2] 03-Encore.mp3: ripped, encoding\n"), at("[2/2] 03-Encore.mp3: done\n"));
    EXPECT_TRUE(r.err.contains("overall 100%")) << r.err.toStdString();
    Id3TagObject tag;
    ASSERT_TRUE(tag.Open(folder + "/03-Encore.mp3"));
    EXPECT_EQ(tag.Title(), "Encore");
    EXPECT_EQ(tag.Artist(), "Band");
    EXPECT_EQ(tag.TrackText(), "3");
    EXPECT_EQ(tag.GenreName(), "Blues");
}

TEST_F(RipCommandTest, DefaultsComeFromTheSettings) {
    ASSERT_EQ(qvr({"settings", "set", "CD-Rip\\Output Format", "2"}).exitCode, 0);
    ASSERT_EQ(qvr({"settings", "set", "CD-Rip\\FileName Format", "%T (%N)"}).exitCode, 0);
    ASSERT_EQ(qvr({"settings", "set", "CD-Rip\\Last Rip Location", out()}).exitCode, 0);
    ProcessResult r = qvr({"rip", "1", "--tracks", "2"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(files(out()), QStringList{"Track 2 (02).wav"});
}

TEST_F(RipCommandTest, ConflictsAreListedAndNothingIsRipped) {
    ASSERT_TRUE(QDir().mkpath(out()));
    QFile mine(out() + "/02 - Track 2.wav");
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.write("mine");
    mine.close();
    ProcessResult r = qvr({"rip", "1", "--format", "wav", "--to", out()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(out() + "/02 - Track 2.wav: the file already exists"))
        << r.err.toStdString();
    EXPECT_EQ(files(out()), QStringList{"02 - Track 2.wav"});

    r = qvr({"rip", "1", "--format", "wav", "--to", out(), "--pattern", "%A", "--artist", "Band",
             "--tracks", "1,3"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.count("two tracks get the same file name"), 2) << r.err.toStdString();
    r = qvr({"rip", "1", "--format", "wav", "--to", out(), "--pattern", "%A", "--tracks", "1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("the file name is empty")) << r.err.toStdString();

    r = qvr({"rip", "1", "--tracks", "4", "--to", out()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("no audio track 4")) << r.err.toStdString();
    r = qvr({"rip", "1", "--format", "ogg", "--to", out()});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(files(out()), QStringList{"02 - Track 2.wav"});
}

} // namespace
