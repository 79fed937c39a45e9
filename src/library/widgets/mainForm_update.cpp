// The main window's side of the update check: the daily check on activation,
// the Help menu's manual check and the notices of the result.
#include "library/widgets/mainForm.h"

#include "core/AppInfo.h"
#include "core/LibraryPaths.h"
#include "util/UpdateNotice.h"
#include "util/UpdateSettings.h"
#include "util/checkUpdForm.h"
#include "util/widgets/Popups.h"

#include <QAction>

void mainForm::Form_Activate() {
    if (!m_started || m_shutDown) return;
    // A new, empty library: the wizard helps to fill it. It does not hold up
    // the daily check, which runs in the background anyway.
    if (mainMod::DatabaseCreated()) {
        mainMod::SetDatabaseCreated(false);
        ShowWizard();
    }
    if (m_settings.CheckForUpdates) CheckForUpdates(true);
}

void mainForm::setUpMenuUpdateEntry() {
    // Without an endpoint (a packager's or the user's choice) there is nothing to ask.
    const bool available = !mainMod::UpdateUrl().isEmpty();
    m_menus.mnuCheckUpdates->setEnabled(available);
    m_menus.mnuCheckUpdates->setVisible(available);
    connect(m_menus.mnuCheckUpdates, &QAction::triggered, this, [this] { CheckForUpdates(false); });
}

void mainForm::CheckForUpdates(bool scheduled) {
    if (m_updateChecker) return; // one check at a time
    const QString endpoint = mainMod::UpdateUrl();
    if (endpoint.isEmpty()) return;
    if (!mainMod::ClaimUpdateCheck(scheduled)) return;
    m_updateChecker =
        new checkUpdForm(endpoint, mainMod::AppVersion(), checkUpdForm::DefaultTimeLimitMs, this);
    m_updateChecker->Quiet = scheduled;
    connect(m_updateChecker, &checkUpdForm::UpdateAvailable, this,
            &mainForm::UpdateChecker_UpdateAvailable);
    connect(m_updateChecker, &checkUpdForm::UpdateUnAvailable, this,
            &mainForm::UpdateChecker_UpdateUnAvailable);
    connect(m_updateChecker, &checkUpdForm::Finished, this, &mainForm::releaseUpdateChecker);
    m_updateChecker->Start();
}

void mainForm::UpdateChecker_UpdateAvailable(const QString& version, bool, const QDate& releaseDate,
                                             const QString& message) {
    const mainMod::UpdateNotice notice =
        mainMod::UpdateAvailableNotice(version, releaseDate, message);
    mainMod::ShowPopup(notice.text, 64, notice.title, 20);
}

void mainForm::UpdateChecker_UpdateUnAvailable(const QString& text, bool error) {
    if (!error) return;
    const mainMod::UpdateNotice notice = mainMod::UpdateFailedNotice(text);
    mainMod::ShowPopup(notice.text, 64, notice.title, 15);
}

void mainForm::releaseUpdateChecker() {
    if (!m_updateChecker) return;
    m_updateChecker->disconnect(this);
    m_updateChecker->deleteLater();
    m_updateChecker = nullptr;
}
