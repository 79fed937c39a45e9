// The main window with a real indexing engine: the client starts the engine
// at start-up, "Refresh Contents" runs a pass in it, and the window shows the
// progress, the state and the result.
#include "components/MediaFolderStore.h"
#include "components/MediaLibrary.h"
#include "core/LibraryPaths.h"
#include "core/Settings.h"
#include "engine/EngineInstance.h"
#include "engine/IndexEngineForm.h"
#include "lang/Mui.h"
#include "library/widgets/LibraryTreeWidget.h"
#include "library/widgets/mainForm.h"
#include "library/widgets/mmFoldersForm.h"
#include "library/widgets/wizForm.h"
#include "support/AudioFixtures.h"
#include "support/widgets/MainWindowFixture.h"
#include "util/widgets/popMsgClass.h"
#include "util/widgets/popMsgForm.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <csignal>

using mainMod::WriteSetting;

namespace {

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

class EngineWindow : public StartedMainWindow {
protected:
    QTemporaryDir noEngine; // a program folder without the engine

    EngineWindow() {
        WriteSetting("Misc\\CheckForUpdates", "0");
        WriteSetting("WMsg\\LibRefreshResults", "1");
        WriteSetting("IndexingEngine\\WatchFolders", "0");
        WriteSetting("IndexingEngine\\ServicePort", QString::number(freePort()), true);
        mainMod::SetDatabaseCreated(false);
    }
    void SetUp() override {} // each test picks the engine's folder
    void TearDown() override {
        StartedMainWindow::TearDown();
        // The engine outlives the window by design; the test ends it.
        const qint64 pid = EngineInstance::holder(data.path()).section(' ', 0, 0).toLongLong();
        if (pid > 0) {
            ::kill(static_cast<pid_t>(pid), SIGTERM);
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return EngineInstance::holder(data.path()).isEmpty(); }, 10000));
        }
    }
    QString music() const { return data.path() + "/Music"; }
    void start(const QString& engineFolder) {
        ASSERT_NO_FATAL_FAILURE(copyTemplateLibrary());
        launch({}, engineFolder);
    }
};

} // namespace

TEST_F(EngineWindow, RefreshContentsFillsTheLibraryThroughTheEngine) {
    for (const char* artist : {"Alpha", "Beta", "Gamma"})
        ASSERT_TRUE(
            fixtures::WriteMp3(music() + "/" + artist + ".mp3", fixtures::ArtistOnly(artist)));
    start(QStringLiteral(QUAVERO_BIN_DIR));
    IndexEngineForm* engine = form->indexEngine();
    ASSERT_NE(engine, nullptr);
    ASSERT_TRUE(engine->Connected()) << "start-up started the engine and connected";
    EXPECT_TRUE(EngineInstance::isRunning(data.path()));
    ASSERT_TRUE(form->mLib2()->MediaFolders()->Add(music()));

    QList<int> progress;
    QObject::connect(form->mainPBar, &QProgressBar::valueChanged,
                     [&](int value) { progress << value; });
    QStringList states;
    QObject::connect(engine, &IndexEngineForm::IndexStateChanged,
                     [&] { states << form->statusPanel(2); });
    form->menus().smLibrary[0]->trigger();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return artists() == QStringList({"Alpha", "Beta", "Gamma"});
        },
        30000))
        << artists().join(',').toStdString();

    EXPECT_TRUE(dialogs.asked.isEmpty());
    EXPECT_EQ(count("files"), 3) << "the engine's rows are the window's";
    EXPECT_EQ(form->mainPBar->value(), 0) << "reset at the end";
    EXPECT_TRUE(progress.contains(100)) << "the engine's progress reached the bar";
    EXPECT_TRUE(states.contains(text(656)))
        << "state texts are resolved through the language: " << states.join('|').toStdString();
    EXPECT_FALSE(engine->NotifyProgress);
    EXPECT_FALSE(engine->NotifyState);
    ASSERT_EQ(form->popups()->forms().size(), 1) << "the user asked for the pass";
    EXPECT_EQ(form->popups()->forms()[0]->MText(), text(19, {"3", "3", "0", "0"}));

    // A pass the user did not ask for still updates the tree, but without a popup.
    ASSERT_TRUE(fixtures::WriteMp3(music() + "/Delta.mp3", fixtures::ArtistOnly("Delta")));
    ASSERT_TRUE(engine->Start(false));
    ASSERT_TRUE(QTest::qWaitFor([&] { return artists().contains("Delta"); }, 30000));
    EXPECT_EQ(form->popups()->forms().size(), 1);

    // Closing the window lets go of the client; the engine goes on for others.
    form->Shutdown();
    EXPECT_EQ(form->indexEngine(), nullptr);
    EXPECT_TRUE(EngineInstance::isRunning(data.path()));
}

TEST_F(EngineWindow, TheWizardWaitsForTheEnginesPass) {
    for (const char* artist : {"Alpha", "Beta"})
        ASSERT_TRUE(
            fixtures::WriteMp3(music() + "/" + artist + ".mp3", fixtures::ArtistOnly(artist)));
    start(QStringLiteral(QUAVERO_BIN_DIR));
    ASSERT_TRUE(form->indexEngine()->Connected());
    form->ShowWizard();
    wizForm* wizard = form->wizard();
    ASSERT_NE(wizard, nullptr);
    QTest::mouseClick(wizard->nextBUT, Qt::LeftButton);
    QTest::mouseClick(wizard->nextBUT, Qt::LeftButton);
    mmFoldersForm* editor = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (editor = wizard->findChild<mmFoldersForm*>()) && editor->isVisible(); },
        3000));
    dialogs.folders << music();
    QTest::mouseClick(editor->addBUT, Qt::LeftButton);
    QTest::mouseClick(editor->closeBut, Qt::LeftButton);
    ASSERT_EQ(wizard->step(), 2);

    QStringList shown;
    QObject::connect(form->indexEngine(), &IndexEngineForm::IndexProgressChanged, wizard,
                     [&] { shown << wizard->scanPC->text(); });
    QTest::mouseClick(wizard->nextBUT, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return wizard->step() == 4; }, 30000));
    EXPECT_EQ(count("files"), 2);
    EXPECT_TRUE(shown.contains(text(21, {"100"}))) << shown.join('|').toStdString();
    EXPECT_TRUE(dialogs.asked.isEmpty());
    wizard->reject();
}

TEST_F(EngineWindow, AnUnreachableEngineIsSaidAndStartsNothing) {
    start(noEngine.path());
    ASSERT_NE(form->indexEngine(), nullptr);
    EXPECT_FALSE(form->indexEngine()->Connected());
    ASSERT_TRUE(QDir().mkpath(music()));
    ASSERT_TRUE(form->mLib2()->MediaFolders()->Add(music()));

    EXPECT_FALSE(form->RefreshLibraryContents(false));
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].text, text(652));
    EXPECT_EQ(dialogs.asked[0].title, text(653));
    EXPECT_FALSE(form->mLib2()->IsRefreshing()) << "no refresh of the window's own";
    EXPECT_FALSE(form->indexEngine()->NotifyProgress);
    EXPECT_FALSE(form->indexEngine()->NotifyState);
}
