// Opening audio files with the program, as a file manager does: the folder
// joins the library only after a Yes; otherwise the properties show the file.
#include "components/MediaLibrary.h"
#include "core/LibraryPaths.h"
#include "core/Settings.h"
#include "editing/widgets/propForm.h"
#include "editing/widgets/propMForm.h"
#include "lang/Mui.h"
#include "library/widgets/mainForm.h"
#include "support/AudioFixtures.h"
#include "support/ModalWindows.h"
#include "support/widgets/MainWindowFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class OpenFilesWindow : public StartedMainWindow {
protected:
    OpenFilesWindow() { mainMod::WriteSetting("Misc\\CheckForUpdates", "0"); }
    void SetUp() override { start({"devmode"}); }
    QString write(const QString& relative) {
        const QString path = data.path() + "/" + relative;
        QDir().mkpath(QFileInfo(path).path());
        fixtures::TagFields tags;
        tags.title = QFileInfo(path).baseName();
        EXPECT_TRUE(fixtures::WriteMp3(path, tags));
        return path;
    }
};

TEST_F(OpenFilesWindow, YesAddsTheFolderAndReadsItsFiles) {
    const QString song = write("Albums/one.mp3");
    write("Albums/two.mp3");
    dialogs.answers = {Dialogs::Yes};
    form->OpenFiles({song});
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].text, form->lang()->Text(925, {data.path() + "/Albums"}));
    EXPECT_EQ(dialogs.asked[0].style, Dialogs::YesNo | Dialogs::Question);
    ASSERT_EQ(form->mLib2()->MediaFolders()->FolderCount(), 1);
    ASSERT_TRUE(form->mLib2()->WaitForRefresh(20000));
    FileRecord record;
    ASSERT_TRUE(form->mLib2()->GetFileRecord(song, record));
    EXPECT_GT(record.id, 0);
}

TEST_F(OpenFilesWindow, NoKeepsTheLibraryAndShowsTheFilesProperties) {
    const QString song = write("Elsewhere/one.mp3");
    dialogs.answers = {Dialogs::No};
    QString shown;
    whenShown<propForm>([&](propForm& editor) { shown = editor.ffFilename->text(); }, form.get());
    form->OpenFiles({song});
    EXPECT_EQ(shown, "one.mp3");
    EXPECT_EQ(form->mLib2()->MediaFolders()->FolderCount(), 0);
    FileRecord record;
    form->mLib2()->GetFileRecord(song, record);
    EXPECT_EQ(record.id, 0);
}

TEST_F(OpenFilesWindow, FilesTheLibraryHoldsShowWithoutAQuestion) {
    const QString one = write("Music/one.mp3");
    const QString two = write("Music/two.mp3");
    ASSERT_TRUE(form->mLib2()->MediaFolders()->Add(data.path() + "/Music"));
    ASSERT_GT(form->mLib2()->AddLibraryFile(one), 0);
    ASSERT_GT(form->mLib2()->AddLibraryFile(two), 0);
    bool summary = false;
    whenShown<propMForm>([&](propMForm&) { summary = true; }, form.get());
    form->OpenFiles({one, two, "-platform", "offscreen"});
    EXPECT_TRUE(dialogs.asked.isEmpty());
    EXPECT_TRUE(summary);
}

} // namespace
