// The Library menu: refreshing the library, the media-folder editor, the
// clean-up, the library wizard, and File > Preferences.
#include "library/widgets/mainForm.h"

#include "components/MediaLibrary.h"
#include "core/Dialogs.h"
#include "core/LibraryPaths.h"
#include "lang/AppLang.h"
#include "lang/widgets/FormLang.h"
#include "library/LibraryMaintenance.h"
#include "library/LibraryTree.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/configForm.h"
#include "library/widgets/mmFoldersForm.h"
#include "library/widgets/optionForm.h"
#include "library/widgets/wizForm.h"

#include <QAction>
#include <QCoreApplication>
#include <QProgressBar>

void mainForm::connectLibraryMenu() {
    connect(m_menus.smLibrary[0], &QAction::triggered, this,
            [this] { RefreshLibraryContents(false); });
    connect(m_menus.smLibrary[1], &QAction::triggered, this, &mainForm::EditMediaFolders);
    connect(m_menus.smLibrary[3], &QAction::triggered, this, &mainForm::CleanUpLibrary);
    connect(m_menus.mnuPreferences, &QAction::triggered, this, &mainForm::ShowPreferences);
}

bool mainForm::RefreshLibraryContents(bool force) {
    if (!m_mediaLib) return false;
    m_userRefresh = true;
    mainPBar->setValue(0);
    // Without an engine the media library refreshes itself; it reads every
    // file it has not seen, so force changes nothing there.
    if (m_engine ? refreshThroughEngine(force) : m_mediaLib->RefreshLibrary(QString(), 0))
        return true;
    m_userRefresh = false;
    Dialogs::current().MsgBox(mainMod::LangText(652), Dialogs::OkOnly | Dialogs::Exclamation,
                              mainMod::LangText(653));
    return false;
}

void mainForm::EditMediaFolders() {
    if (!m_mediaLib) return;
    auto* editor = new mmFoldersForm(*m_mediaLib->MediaFolders(), this);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    FormLang::SetFormLang(editor);
    connect(editor, &QDialog::finished, this, [this, editor](int) {
        if (editor->Changed() && m_mediaLib) m_mediaLib->RefreshLibrary(QString(), 0);
    });
    editor->open();
}

void mainForm::CleanUpLibrary() {
    if (!m_mediaLib) return;
    auto* choice = new optionForm(this);
    choice->setAttribute(Qt::WA_DeleteOnClose);
    FormLang::SetFormLang(choice);
    choice->SetCaption(mainMod::LangText(22));
    for (int text : {37, 38, 39})
        choice->AddOption(mainMod::LangText(text));
    choice->SelectOption(0);
    connect(choice, &QDialog::finished, this, [this, choice](int) {
        if (choice->result() == 1) CleanUp(choice->SelectedIndex());
    });
    choice->open();
}

void mainForm::CleanUp(int choice) {
    if (!m_mediaLib) return;
    if (choice == LibraryMaintenance::NewDatabase) {
        // The library is closed while its file is made again: no event of the
        // old file may reach the window meanwhile.
        detachLibraryEvents();
        QCoreApplication::processEvents();
        LibraryMaintenance::CleanUp(*m_mediaLib, choice, m_templatePath);
        QCoreApplication::processEvents();
        attachLibraryEvents();
        mainMod::SetDatabaseCreated(false);
    } else {
        LibraryMaintenance::CleanUp(*m_mediaLib, choice, m_templatePath);
    }
    emit treeRebuildRequested(TreeSection::All);
    if (Dialogs::current().MsgBox(mainMod::LangText(40), Dialogs::YesNo | Dialogs::Question,
                                  mainMod::LangText(41)) == Dialogs::Yes)
        ShowWizard();
}

void mainForm::ShowWizard() {
    if (!m_mediaLib || m_wizard) return;
    m_wizard = new wizForm(
        *m_mediaLib->MediaFolders(), [this](bool force) { return RefreshLibraryContents(force); },
        this);
    m_wizard->setAttribute(Qt::WA_DeleteOnClose);
    FormLang::SetFormLang(m_wizard);
    m_wizard->open();
}

void mainForm::ShowPreferences() {
    auto* preferences = new configForm(m_settings, this);
    preferences->setAttribute(Qt::WA_DeleteOnClose);
    FormLang::SetFormLang(preferences);
    connect(preferences, &QDialog::finished, this, [this, preferences](int) {
        if (preferences->result() == 1 && preferences->LogoChanged())
            setListLogo(m_settings.ShowLogo);
    });
    preferences->open();
}

wizForm* mainForm::wizard() const {
    return m_wizard.data();
}
