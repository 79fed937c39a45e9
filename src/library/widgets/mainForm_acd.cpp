// The audio-CD panel that takes the file list's place for a disc.
#include "cd/CDSniff.h"
#include "cd/clsRIP.h"
#include "cd/widgets/AcdPanel.h"
#include "library/widgets/mainForm.h"

#include <QApplication>
#include <QStackedWidget>

namespace {

// Reading a real drive's table of contents can take seconds.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

QFrame* mainForm::buildAcdPanel(QWidget* parent) {
    auto* panel = new AcdPanel(parent);
    cdiGenre = panel->cdiGenre;
    panel->setLookUp(
        [this](const QString& query, CdInfo& info) { return LookUpDisc(query, info); });
    panel->setRipWizard([this](const RipRequest& request) { ShowRipWizard(request); });
    return panel;
}

void mainForm::ShowCD(int number) {
    auto* panel = qobject_cast<AcdPanel*>(acdFrame);
    if (!panel) return;
    // One look at the watcher's list gives both the count and the disc, so the
    // disc read is the one the tree's node stands for.
    const QList<cd::CdDrive> discs =
        number >= 1 && m_cdSniff ? m_cdSniff->AudioCds() : QList<cd::CdDrive>();
    // A rebuilt tree selects its node again (a language switch, another disc
    // coming or going); the panel on screen keeps its disc and what was typed.
    if (number >= 1 && number <= discs.size() && listArea->currentWidget() == acdFrame &&
        panel->isShowing(number, discs.at(number - 1)))
        return;
    panel->Reset();
    if (number < 1 || number > discs.size()) return;
    const WaitCursor wait;
    clsRIP rip;
    rip.ReadDrive(discs.at(number - 1));
    panel->ShowDisc(number, rip, discs.at(number - 1));
}
