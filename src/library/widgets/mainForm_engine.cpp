// The indexing engine's client as the main window uses it: created at
// start-up, asked for a pass by "Refresh Contents" and the wizard, and its
// progress, state and report shown in the window.
#include "library/widgets/mainForm.h"

#include "engine/IndexEngineForm.h"
#include "lang/AppLang.h"
#include "library/widgets/wizForm.h"
#include "util/widgets/Popups.h"

#include <QProgressBar>
#include <algorithm>

void mainForm::startEngineClient(const StartupOptions& options) {
    if (m_engineFolder.isEmpty()) return;
    m_engine = new IndexEngineForm(this);
    m_engine->setProgramFolder(m_engineFolder);
    if (!options.dataFolder.isEmpty()) m_engine->setDataFolder(options.dataFolder);
    connect(m_engine, &IndexEngineForm::IndexProgressChanged, this,
            &mainForm::iEngine_IndexProgressChanged);
    connect(m_engine, &IndexEngineForm::IndexStateChanged, this,
            &mainForm::iEngine_IndexStateChanged);
    connect(m_engine, &IndexEngineForm::IndexCompleted, this, &mainForm::iEngine_IndexCompleted);
    // Passes the engine runs by itself (watched folders) report too: the tree follows them.
    m_engine->NotifyReport = true;
    m_engine->Connect();
}

void mainForm::stopEngineClient() {
    delete m_engine; // closes the connection; the engine itself goes on
    m_engine = nullptr;
}

bool mainForm::refreshThroughEngine(bool force) {
    m_engine->NotifyProgress = true;
    m_engine->NotifyState = true;
    // An engine that stopped since start-up (idle stop, a crash) is started again.
    if (!m_engine->Connected()) m_engine->Connect();
    if (m_engine->Start(force)) return true;
    m_engine->NotifyState = false;
    m_engine->NotifyProgress = false;
    return false;
}

void mainForm::iEngine_IndexProgressChanged(qint16 percent) {
    mainPBar->setValue(std::clamp<int>(percent, 0, 100));
    if (m_wizard) m_wizard->RefreshProgress(percent);
}

void mainForm::iEngine_IndexStateChanged(qint16, const QString& text) {
    // The first panel holds the progress bar; texts go to the first text panel.
    setStatusPanel(2, mainMod::LangTextRef(text));
}

void mainForm::iEngine_IndexCompleted(qint32 checked, qint32 added, qint32 updated,
                                      qint32 removed) {
    m_engine->NotifyProgress = false;
    m_engine->NotifyState = false;
    mainPBar->setValue(0);
    emit treeRebuildRequested(1);
    if (m_userRefresh) {
        m_userRefresh = false;
        if (m_settings.LibRefreshResults)
            mainMod::ShowPopup(
                mainMod::LangText(19, {QString::number(checked), QString::number(added),
                                       QString::number(updated), QString::number(removed)}),
                64, mainMod::LangText(20), 10);
    }
    if (m_wizard) m_wizard->LibRefreshComplete();
}
