#include "core/LibraryPaths.h"
#include "core/Settings.h"
#include "lang/Mui.h"
#include "library/widgets/mainForm.h"
#include "support/FakeHttpServer.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"
#include "util/UpdateSettings.h"
#include "util/checkUpdForm.h"
#include "util/widgets/popMsgClass.h"
#include "util/widgets/popMsgForm.h"

#include <QAction>
#include <QDate>
#include <QTest>

using mainMod::ReadSetting;
using mainMod::WriteSetting;

class UpdateCheckWindow : public ConfigDirTest {
protected:
    QTemporaryDir data;
    ScriptedDialogs dialogs;
    AppSettings settings;
    FakeHttpServer server;

    UpdateCheckWindow() {
        WriteSetting("Misc\\ShowLoadWindow", "0");
        WriteSetting("Misc\\UpdateURL", server.url("/"));
        mainMod::SetDatabaseCreated(false);
    }
    mainForm::StartupOptions options() const { return {{}, {}, data.path() + "/", {}}; }
    static QString today() { return QDate::currentDate().toString("yyyy-MM-dd"); }
    // Waits until the check the window started is over.
    static bool checkDone(mainForm& form) {
        return QTest::qWaitFor([&] { return form.UpdateChecker() == nullptr; }, 5000);
    }
    // The notice with that title, once it is shown.
    static popMsgForm* popup(mainForm& form, const QString& title) {
        popMsgForm* found = nullptr;
        const bool shown = QTest::qWaitFor(
            [&] {
                for (popMsgForm* f : form.popups()->forms())
                    if (f->mTitle() == title) found = f;
                return found != nullptr;
            },
            3000);
        return shown ? found : nullptr;
    }
};

TEST_F(UpdateCheckWindow, ActivationRunsTheDailyCheckOnceAndAnnouncesANewVersion) {
    server.page("/getinfo2.asp", "version=99.0\r\nrdate=2026-03-01\r\nmsg=Hi|There\r\n[EOF]");
    mainForm form(settings);
    ASSERT_TRUE(form.StartUp(options()));
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests().size() == 1; }, 5000));
    ASSERT_TRUE(checkDone(form));
    EXPECT_TRUE(ReadSetting("Misc\\LastUpdateCheck").startsWith(today()));
    popMsgForm* notice = popup(form, form.lang()->Text(911));
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->MText().contains("99.0"));
    EXPECT_TRUE(notice->MText().contains("2026-03-01"));
    EXPECT_TRUE(notice->MText().endsWith("Hi\r\nThere"));

    // Another activation the same day asks nothing.
    QEvent activation(QEvent::ActivationChange);
    QApplication::sendEvent(&form, &activation);
    QTest::qWait(100);
    EXPECT_EQ(form.UpdateChecker(), nullptr);
    EXPECT_EQ(server.requests().size(), 1);
    form.Shutdown();
}

TEST_F(UpdateCheckWindow, HelpMenuRunsAManualCheckThatReportsFailures) {
    WriteSetting("Misc\\CheckForUpdates", "0");
    server.page("/getinfo2.asp", "version=99.0\r\n");
    mainForm form(settings);
    ASSERT_TRUE(form.StartUp(options()));
    QTest::qWait(100);
    EXPECT_TRUE(server.requests().isEmpty()) << "scheduled checks are off";
    QAction* entry = form.menus().mnuCheckUpdates;
    ASSERT_TRUE(entry->isEnabled());
    ASSERT_TRUE(entry->isVisible());
    entry->trigger();
    ASSERT_NE(form.UpdateChecker(), nullptr);
    EXPECT_FALSE(form.UpdateChecker()->Quiet);
    ASSERT_TRUE(checkDone(form));
    EXPECT_EQ(server.requests().size(), 1);
    popMsgForm* notice = popup(form, form.lang()->Text(913));
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->MText().contains(form.lang()->Text(88)));
    form.Shutdown();
}

TEST_F(UpdateCheckWindow, AnEmptyEndpointHidesTheEntryAndAsksNothing) {
    WriteSetting("Misc\\UpdateURL", "");
    mainForm form(settings);
    ASSERT_TRUE(form.StartUp(options()));
    form.activateWindow();
    form.CheckForUpdates(false);
    QTest::qWait(100);
    EXPECT_FALSE(form.menus().mnuCheckUpdates->isVisible());
    EXPECT_EQ(form.UpdateChecker(), nullptr);
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_TRUE(ReadSetting("Misc\\LastUpdateCheck").isEmpty());
    form.Shutdown();
}
