// The media library's events, as the main window handles them.
#include "library/widgets/mainForm.h"

#include "components/MediaLibrary.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "library/widgets/FileListView.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/wizForm.h"
#include "util/widgets/Popups.h"

#include <QHeaderView>
#include <QProgressBar>
#include <QTreeView>
#include <cmath>

void mainForm::attachLibraryEvents() {
    connect(m_mediaLib.get(), &MediaLibrary::RefreshComplete, this,
            &mainForm::mLib2_RefreshComplete);
    connect(m_mediaLib.get(), &MediaLibrary::RefreshProgress, this,
            &mainForm::mLib2_RefreshProgress);
    connect(m_mediaLib.get(), &MediaLibrary::StatusUpdate, this, &mainForm::mLib2_StatusUpdate);
}

void mainForm::detachLibraryEvents() {
    if (m_mediaLib) m_mediaLib->disconnect(this);
}

void mainForm::mLib2_RefreshComplete(qint32 seen, qint32 added, qint32 updated, qint32 removed) {
    mainPBar->setValue(0);
    m_userRefresh = false;
    if (m_wizard) m_wizard->LibRefreshComplete();
    emit treeRebuildRequested(1);
    if (m_settings.LibRefreshResults && m_lang)
        mainMod::ShowPopup(m_lang->Text(19, {QString::number(seen), QString::number(added),
                                             QString::number(updated), QString::number(removed)}),
                           64, m_lang->Text(20), 10);
}

void mainForm::mLib2_RefreshProgress(float percent) {
    mainPBar->setValue(static_cast<int>(std::clamp(std::floor(percent), 0.0f, 100.0f)));
    if (m_wizard) m_wizard->RefreshProgress(percent);
}

void mainForm::mLib2_StatusUpdate(qint32, const QString& text) {
    setStatusPanel(2, mainMod::LangTextRef(text));
}

void mainForm::setListLogo(bool shown) {
    m_listLogo = shown;
    llist->setShowLogo(shown);
}

void mainForm::captureColumnWidths() {
    if (m_browser) m_browser->CaptureColumnWidths();
}
