#include "cd/widgets/ripWizForm.h"
#include "components/MediaFolderStore.h"
#include "components/MediaLibrary.h"
#include "core/LibraryPaths.h"
#include "core/Settings.h"
#include "library/widgets/mainForm.h"
#include "support/CdImage.h"
#include "support/ModalWindows.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

class RipFromMainWindow : public ConfigDirTest {
protected:
    QTemporaryDir data, target;
    ScriptedDialogs dialogs;
    AppSettings settings;

    RipFromMainWindow() {
        mainMod::WriteSetting("Misc\\ShowLoadWindow", "0");
        mainMod::WriteSetting("CD-Rip\\Last Rip Location", target.path());
        mainMod::WriteSetting("CD-Rip\\Output Format", "2");
        fixtures::WriteCdImage(data.path() + "/cd-images", "disc", {44100, 20000});
    }
    mainForm::StartupOptions options() const { return {{}, {}, data.path() + "/", {}}; }
};

TEST_F(RipFromMainWindow, RippedFolderJoinsTheMediaFolders) {
    mainForm form(settings);
    ASSERT_TRUE(form.StartUp(options()));
    mainMod::SetDatabaseCreated(false);
    RipRequest request;
    request.artist = "Someone";
    request.album = "Something";
    request.drive = 1;
    request.tracks = {{"First", 1}, {"Second", 2}};
    bool ran = false;
    whenShown<ripWizForm>([&](ripWizForm& wizard) {
        QSignalSpy ended(&wizard, &ripWizForm::ripEnded);
        QTest::mouseClick(wizard.cmdNext, Qt::LeftButton);
        QTest::mouseClick(wizard.cmdNext, Qt::LeftButton);
        ASSERT_TRUE(ended.wait(20000));
        ran = true;
        QTest::mouseClick(wizard.cmdNext, Qt::LeftButton); // Close
    });
    form.ShowRipWizard(request);
    ASSERT_TRUE(ran);
    EXPECT_EQ(QDir(target.path() + "/Someone - Something").entryList(QDir::Files),
              (QStringList{"01 - First.wav", "02 - Second.wav"}));
    MediaFolderStore* folders = form.mLib2()->MediaFolders();
    ASSERT_EQ(folders->FolderCount(), 1);
    EXPECT_EQ(folders->FolderPath(0), MediaFolderStore::Normalize(target.path()));

    // Again into the same folder: it is listed once.
    whenShown<ripWizForm>([&](ripWizForm& wizard) {
        wizard.fName->setText("%T again");
        QSignalSpy ended(&wizard, &ripWizForm::ripEnded);
        QTest::mouseClick(wizard.cmdNext, Qt::LeftButton);
        QTest::mouseClick(wizard.cmdNext, Qt::LeftButton);
        ASSERT_TRUE(ended.wait(20000));
        QTest::mouseClick(wizard.cmdNext, Qt::LeftButton);
    });
    form.ShowRipWizard(request);
    EXPECT_EQ(folders->FolderCount(), 1);
    form.Shutdown();
}

} // namespace
