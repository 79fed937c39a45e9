// Files handed to the program by the desktop: what the library knows, what it
// lacks, and which folders would have to join it.
#include "library/OpenedFiles.h"
#include "support/LibraryFixture.h"

#include <QDir>
#include <QFile>

namespace {

class OpenedFilesTest : public LibraryTest {
protected:
    QString write(const QString& relative) {
        const QString path = dir() + "/" + relative;
        QDir().mkpath(QFileInfo(path).path());
        EXPECT_TRUE(relative.endsWith(".wav") ? fixtures::WriteWav(path)
                                              : fixtures::WriteMp3(path, {}));
        return path;
    }
};

TEST_F(OpenedFilesTest, SortsKnownAndOutsideFilesAndOffersEachUncoveredFolderOnce) {
    addMusicFolder();
    const QString known = write("music/a.mp3");
    scan();
    const QString unscanned = write("music/new/b.mp3"); // under a media folder already
    const QString c = write("other/c.mp3");
    const QString d = write("other/d.wav");
    const QString e = write("more/e.mp3");
    // A program named like audio is never taken, nor are options and missing paths.
    const QString script = dir() + "/other/x.mp3";
    ASSERT_TRUE(fixtures::WriteBytes(script, "#!/bin/sh\ntouch marker\n"));
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const OpenedFiles files = SortOpenedFiles(
        lib, {"/debug", "devmode", known, unscanned, c, script, d, c, e, dir() + "/missing.mp3"});
    EXPECT_EQ(files.known, QStringList{known});
    EXPECT_EQ(files.outside, (QStringList{unscanned, c, d, e}));
    EXPECT_EQ(files.folders, (QStringList{dir() + "/other", dir() + "/more"}));
}

TEST_F(OpenedFilesTest, RelativePathsAreTakenFromTheCurrentFolder) {
    const QString c = write("other/c.mp3");
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir() + "/other"));
    const OpenedFiles files = SortOpenedFiles(lib, {"c.mp3", "./c.mp3", "../other/c.mp3"});
    QDir::setCurrent(previous);
    EXPECT_EQ(files.outside, QStringList{c});
    EXPECT_EQ(files.folders, QStringList{dir() + "/other"});
}

} // namespace
