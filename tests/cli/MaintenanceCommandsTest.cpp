// qvr folders add with the editor's rules, and qvr clean.
#include "cli/CliFixture.h"
#include "support/AudioFixtures.h"

#include <QFile>

namespace {

class MaintenanceCommands : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        ASSERT_EQ(qvr({"settings", "set", "Misc\\LCID", "1033"}).exitCode, 0);
        ASSERT_TRUE(QDir().mkpath(music() + "/Rock"));
    }
    QString music() const { return dir.path() + "/Music"; }
    QString count(const QString& table) {
        return qvr({"sql", "select count(*) as n from " + table}).out.section('\n', 1, 1);
    }
};

} // namespace

TEST_F(MaintenanceCommands, FoldersAddRefusesDuplicatesAndNestedFoldersWithTheLanguageText) {
    ProcessResult r = qvr({"folders", "add", music()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, music() + "/\n");

    r = qvr({"folders", "add", music() + "/"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "This folder is already one of your media folders.\n");

    r = qvr({"folders", "add", music() + "/Rock"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "This folder is already included in the media folder " + music() + "/.\n");

    r = qvr({"folders", "add", dir.path() + "/missing"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "The folder could not be added to your media folders.\n");

    // The texts follow the chosen language.
    ASSERT_EQ(qvr({"settings", "set", "Misc\\LCID", "1031"}).exitCode, 0);
    r = qvr({"folders", "add", music()});
    EXPECT_EQ(r.err, "Dieser Ordner ist bereits einer Ihrer Medienordner.\n");
    EXPECT_EQ(qvr({"folders", "list"}).out.count('\n'), 1);
}

TEST_F(MaintenanceCommands, TheWholeFileSystemNeedsYes) {
    ProcessResult r = qvr({"folders", "add", "/"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith("You chose a whole drive.")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("--yes"));
    EXPECT_EQ(qvr({"folders", "list"}).out, QString());

    r = qvr({"folders", "add", "/", "--yes"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "/\n");
    // Every other folder now lies inside it.
    r = qvr({"folders", "add", music()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("media folder /.")) << r.err.toStdString();
}

TEST_F(MaintenanceCommands, CleanEmptiesForgetsOrMakesTheLibraryAgain) {
    EXPECT_EQ(qvr({"clean", "0"}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(library())) << "no library is made to be cleaned";
    ASSERT_TRUE(fixtures::WriteMp3(music() + "/a.mp3", fixtures::ArtistOnly("A")));
    ASSERT_EQ(qvr({"folders", "add", music()}).exitCode, 0);
    ASSERT_EQ(qvr({"scan"}).exitCode, 0);
    ASSERT_EQ(qvr({"sql", "insert into vfolders (name) values ('Party')"}).exitCode, 0);
    ASSERT_EQ(count("files"), "1");

    ProcessResult r = qvr({"clean", "0"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(count("files"), "0");
    EXPECT_EQ(count("mmfolders"), "1");
    EXPECT_EQ(count("vfolders"), "1");

    ASSERT_EQ(qvr({"scan"}).exitCode, 0);
    r = qvr({"clean", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(count("files"), "0");
    EXPECT_EQ(count("mmfolders"), "0");
    EXPECT_EQ(count("vfolders"), "1");

    r = qvr({"clean", "2"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(count("vfolders"), "0");
    EXPECT_EQ(count("id3_genres"), "148") << "made from the template";
    EXPECT_TRUE(QFile::exists(music() + "/a.mp3"));

    EXPECT_EQ(qvr({"clean", "3"}).exitCode, 2);
    EXPECT_EQ(qvr({"clean"}).exitCode, 2);
}
