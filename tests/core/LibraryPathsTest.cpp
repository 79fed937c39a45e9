// Where the library lives and how a missing one is made from the template.
#include "core/LibraryPaths.h"
#include "core/LibrarySchema.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(LibraryPaths, MissingDatabaseIsMadeFromTheTemplateOnce) {
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/data");
    QDir().mkpath(folder);
    const QString blk = dir.path() + QStringLiteral("/data.blk");
    ASSERT_TRUE(LibrarySchema::createTemplate(blk).ok());
    // Shipped templates may be read-only; the copy must not be.
    QFile::setPermissions(blk, QFile::ReadOwner);
    mainMod::SetDatabaseCreated(false);
    const QString path = mainMod::GetDatabasePath(folder, blk);
    EXPECT_EQ(path, folder + QStringLiteral("/data.qvd"));
    EXPECT_TRUE(mainMod::DatabaseCreated());
    EXPECT_TRUE(QFileInfo(path).isWritable());
    mainMod::SetDatabaseCreated(false);
    EXPECT_EQ(mainMod::GetDatabasePath(folder + QStringLiteral("/"), blk), path);
    EXPECT_FALSE(mainMod::DatabaseCreated());
}

TEST(LibraryPaths, WithoutTemplateThereIsNoDatabase) {
    QTemporaryDir dir;
    mainMod::SetDatabaseCreated(false);
    EXPECT_EQ(mainMod::GetDatabasePath(dir.path(), dir.path() + QStringLiteral("/missing.blk")),
              QString());
    EXPECT_TRUE(mainMod::DatabaseCreated());
    EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/data.qvd")));
    mainMod::SetDatabaseCreated(false);
}

TEST(LibraryPaths, DataFolderFollowsTheEnvironment) {
    QTemporaryDir dir;
    {
        ScopedEnv env("QUAVERO_DATA_DIR", dir.path() + QStringLiteral("/custom"));
        EXPECT_EQ(mainMod::DataFolder(), dir.path() + QStringLiteral("/custom/"));
        EXPECT_TRUE(QFileInfo(dir.path() + QStringLiteral("/custom")).isDir());
        // A template in the data folder wins over the one beside the program.
        ASSERT_TRUE(
            LibrarySchema::createTemplate(dir.path() + QStringLiteral("/custom/data.blk")).ok());
        EXPECT_EQ(mainMod::TemplatePath(), dir.path() + QStringLiteral("/custom/data.blk"));
        mainMod::SetDatabaseCreated(false);
        EXPECT_EQ(mainMod::GetDatabasePath(), dir.path() + QStringLiteral("/custom/data.qvd"));
        EXPECT_TRUE(mainMod::DatabaseCreated());
        mainMod::SetDatabaseCreated(false);
    }
    // The build puts the template beside the executables.
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral(QUAVERO_BIN_DIR "/data.blk")));
}
