// The media-folder rules and the clean-up choices, on a real library.
#include "library/LibraryMaintenance.h"
#include "core/LibrarySchema.h"
#include "support/AudioFixtures.h"
#include "support/LibraryFixture.h"

#include <QDir>
#include <QFile>

using Placement = MediaFolderStore::Placement;

class MediaFolderRules : public LibraryTest {
protected:
    QString folder(const QString& name) {
        const QString path = dir() + '/' + name;
        EXPECT_TRUE(QDir().mkpath(path));
        return path;
    }
    MediaFolderStore& store() { return *lib.MediaFolders(); }
};

TEST_F(MediaFolderRules, TheSameFolderIsADuplicateWithOrWithoutItsSlash) {
    const QString music = folder("Music");
    ASSERT_TRUE(store().Add(music + '/'));
    for (const QString& again : {music, music + '/', music + "//", music + "/./"}) {
        const Placement p = store().Place(again);
        EXPECT_EQ(p.kind, Placement::Duplicate) << again.toStdString();
        EXPECT_EQ(p.path, music + '/');
    }
}

TEST_F(MediaFolderRules, LetterCaseMakesAnotherFolder) {
    const QString upper = folder("Music");
    const QString lower = folder("music");
    ASSERT_TRUE(store().Add(upper));
    const Placement p = store().Place(lower);
    EXPECT_EQ(p.kind, Placement::New);
    EXPECT_EQ(p.path, lower + '/') << "never upper-cased";
    EXPECT_TRUE(store().Add(p.path));
    EXPECT_EQ(store().FolderCount(), 2);
}

TEST_F(MediaFolderRules, AFolderInsideAListedOneIsNestedButItsParentIsNot) {
    const QString music = folder("Music");
    const QString rock = folder("Music/Rock");
    folder("MusicBox");
    ASSERT_TRUE(store().Add(music));

    const Placement nested = store().Place(rock);
    EXPECT_EQ(nested.kind, Placement::Nested);
    EXPECT_EQ(nested.container, music + '/');
    EXPECT_EQ(LibraryMaintenance::RefusalText(nested), QString()) << "no language loaded";
    // A sibling whose name merely starts alike is not inside.
    EXPECT_EQ(store().Place(dir() + "/MusicBox").kind, Placement::New);

    // The other way round: the parent of a listed folder may join.
    ASSERT_TRUE(store().Remove(music, false));
    ASSERT_TRUE(store().Add(rock));
    EXPECT_EQ(store().Place(music).kind, Placement::New);
}

TEST_F(MediaFolderRules, OnlyTheFileSystemRootIsAWholeDrive) {
    EXPECT_TRUE(MediaFolderStore::IsWholeDrive(store().Place("/").path));
    EXPECT_TRUE(MediaFolderStore::IsWholeDrive(store().Place("//").path));
    EXPECT_FALSE(MediaFolderStore::IsWholeDrive(store().Place("/home").path));
    EXPECT_FALSE(MediaFolderStore::IsWholeDrive(store().Place(dir()).path));
}

class CleanUpChoices : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        fill();
    }
    // Two files, one of them in the virtual folder Party.
    void fill() {
        if (lib.MediaFolders()->FolderCount() == 0) addMusicFolder();
        ASSERT_TRUE(fixtures::WriteMp3(music() + "/a.mp3", fixtures::ArtistOnly("A")));
        ASSERT_TRUE(fixtures::WriteMp3(music() + "/b.mp3", fixtures::ArtistOnly("B")));
        scan();
        ASSERT_EQ(count("files"), 2);
        VirtualFolderStore& vf = *lib.VirtualFolders();
        const qint32 party = vf.FindFolder("Party", true);
        ASSERT_GT(party, 0);
        ASSERT_TRUE(vf.AddFile(idOf("a.mp3"), party));
        ASSERT_EQ(count("vffiles"), 1);
    }
    int count(const QString& table) {
        const QStringList r = rows("select count(*) as n from " + table, {"n"});
        return r.isEmpty() ? -1 : r[0].toInt();
    }
    QString templatePath() {
        const QString path = dir() + "/data.blk";
        if (!QFile::exists(path)) {
            EXPECT_TRUE(LibrarySchema::createTemplate(path).ok());
        }
        return path;
    }
};

TEST_F(CleanUpChoices, EmptyingKeepsTheVirtualFolderNamesAndForgettingDropsTheMediaFolders) {
    for (const int choice : {LibraryMaintenance::EmptyLibrary, LibraryMaintenance::ForgetFolders}) {
        SCOPED_TRACE(choice);
        if (choice == LibraryMaintenance::ForgetFolders) fill();
        ASSERT_TRUE(LibraryMaintenance::CleanUp(lib, choice, QString()));
        EXPECT_EQ(count("files"), 0);
        EXPECT_EQ(count("vffiles"), 0);
        EXPECT_EQ(rows("select name from vfolders", {"name"}), QStringList{"Party"});
        const int folders = choice == LibraryMaintenance::EmptyLibrary ? 1 : 0;
        EXPECT_EQ(count("mmfolders"), folders);
        EXPECT_EQ(lib.MediaFolders()->FolderCount(), folders) << "the store was read again";
        EXPECT_TRUE(QFile::exists(music() + "/a.mp3")) << "files on disk stay";
    }
}

TEST_F(CleanUpChoices, ANewDatabaseIsMadeFromTheTemplateAndOpenedAtOnce) {
    const QString tmpl = templatePath();
    ASSERT_TRUE(LibraryMaintenance::CleanUp(lib, LibraryMaintenance::NewDatabase, tmpl));
    EXPECT_TRUE(lib.IsOpen());
    EXPECT_EQ(lib.DatabasePath(), dbPath());
    EXPECT_EQ(count("files"), 0);
    EXPECT_EQ(count("vfolders"), 0);
    EXPECT_EQ(lib.MediaFolders()->FolderCount(), 0);
    EXPECT_TRUE(QFile::exists(tmpl)) << "the template is copied, not moved";
    // The fresh library works: a scan fills it again.
    addMusicFolder();
    EXPECT_EQ(scan().added, 2);
}

TEST_F(CleanUpChoices, WithoutATemplateTheNewDatabaseIsMadeEmpty) {
    ASSERT_TRUE(
        LibraryMaintenance::CleanUp(lib, LibraryMaintenance::NewDatabase, dir() + "/missing.blk"));
    EXPECT_TRUE(lib.IsOpen());
    EXPECT_EQ(count("files"), 0);
    EXPECT_EQ(count("mmfolders"), 0);
}

TEST_F(CleanUpChoices, UnknownChoicesAndClosedLibrariesAreRefused) {
    EXPECT_FALSE(LibraryMaintenance::CleanUp(lib, 3, QString()));
    EXPECT_EQ(count("files"), 2);
    lib.CloseLibrary();
    EXPECT_FALSE(LibraryMaintenance::CleanUp(lib, LibraryMaintenance::EmptyLibrary, QString()));
}
