#include "core/PathHelpers.h"
#include "core/FileLock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mainMod;

TEST(PathHelpers, NormalizePath) {
    EXPECT_EQ(NormalizePath("  /music//rock/ ", true), "/music/rock/");
    EXPECT_EQ(NormalizePath("/music//rock", true), "/music/rock/");
    EXPECT_EQ(NormalizePath("/music/rock/", false), "/music/rock");
    EXPECT_EQ(NormalizePath("//server/share/", false), "//server/share");
    EXPECT_EQ(NormalizePath("//server//share", true), "//server/share/");
    EXPECT_EQ(NormalizePath("", true), "/");
    EXPECT_EQ(NormalizePath("", false), "");
    EXPECT_EQ(NormalizePath("/a///b", false), "/a//b") << "one pass, left to right";
    EXPECT_EQ(NormalizePath("rel\\name", false), "rel\\name") << "a backslash is a name character";
}

TEST(PathHelpers, NamesAndExistence) {
    EXPECT_EQ(FileNameOf("/music/rock/song.mp3"), "song.mp3");
    EXPECT_EQ(FileNameOf("song.mp3"), "song.mp3");
    EXPECT_EQ(FileNameOf("/music/"), "");
    QTemporaryDir dir;
    EXPECT_TRUE(FileExists(dir.path()));
    EXPECT_FALSE(FileExists(dir.path() + "/nothing"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(AppFolder().endsWith('/'));
    EXPECT_FALSE(AppFolder().endsWith("//"));
    EXPECT_EQ(ShortPath("/a b/c"), "/a b/c");
    EXPECT_EQ(LongPath("/a b/c/"), "/a b/c");
    EXPECT_EQ(LongPath("/"), "/");
}

TEST(PathHelpers, ValidFileNames) {
    EXPECT_TRUE(IsValidFileName("01 - Intro.mp3"));
    EXPECT_TRUE(IsValidFileName("Sigur Rós – Ágætis byrjun"));
    EXPECT_FALSE(IsValidFileName("a:b"));
    EXPECT_FALSE(IsValidFileName("a\tb"));
    EXPECT_FALSE(IsValidFileName("   "));
    EXPECT_FALSE(IsValidFileName(""));
    for (const char* bad : {"a\"b", "a<b", "a>b", "a|b", "a*b", "a?b", "a\\b", "a/b"})
        EXPECT_FALSE(IsValidFileName(bad)) << bad;
    EXPECT_TRUE(IsValidNamePart("AC/DC") == false);
    EXPECT_FALSE(IsValidNamePart(".hidden"));
    EXPECT_FALSE(IsValidNamePart("  .hidden"));
    EXPECT_TRUE(IsValidNamePart("a.b"));
}

TEST(PathHelpers, UsableFolders) {
    QTemporaryDir dir;
    const QString file = dir.path() + "/f.txt";
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_TRUE(IsUsableFolder(dir.path()));
    EXPECT_TRUE(IsUsableFolder(dir.path() + "/"));
    EXPECT_FALSE(IsUsableFolder(file));
    EXPECT_FALSE(IsUsableFolder("relative/path"));
    EXPECT_FALSE(IsUsableFolder(""));
    EXPECT_TRUE(IsUsableFolder(dir.path() + "/new"));
    EXPECT_FALSE(QDir(dir.path() + "/new").exists()) << "the probe folder is removed";
    EXPECT_FALSE(IsUsableFolder(file + "/sub")) << "cannot be created";
}

TEST(PathHelpers, LockedFilesAndTempNames) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/engine.lock";
    EXPECT_FALSE(IsFileLocked(path)) << "missing file";
    {
        FileLock lock(path);
        ASSERT_TRUE(lock.locked());
        EXPECT_TRUE(IsFileLocked(path));
        FileLock second(path, FileLock::TryOnce);
        EXPECT_FALSE(second.locked());
    }
    EXPECT_FALSE(IsFileLocked(path));

    const TempFileName t = MakeTempFileName(".wav");
    EXPECT_TRUE(t.name.startsWith('~'));
    EXPECT_TRUE(t.name.endsWith(".wav"));
    EXPECT_EQ(t.name.size(), 12);
    EXPECT_EQ(t.path, t.folder + t.name);
    EXPECT_TRUE(t.folder.endsWith('/'));
    EXPECT_FALSE(QFile::exists(t.path));
}
