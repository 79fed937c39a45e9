// The File and Help menu entries the main window owns.
#include "library/widgets/mainForm.h"

#include "components/LibraryFactsReader.h"
#include "components/MediaLibrary.h"
#include "core/AppInfo.h"
#include "core/Dialogs.h"
#include "core/LibraryPaths.h"
#include "core/Shell.h"
#include "core/widgets/aboutForm.h"
#include "core/widgets/sysInfoForm.h"
#include "lang/AppLang.h"
#include "lang/widgets/FormLang.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/listTreeConfig.h"

#include <QAction>

void mainForm::chooseListColumns() {
    QStringList titles;
    for (int c = 0; c < ListColumns::Count; ++c)
        titles << mainMod::LangText(ListColumns::HeaderTextNumber(c));
    listTreeConfig chooser(0, titles, m_settings, this);
    FormLang::SetFormLang(&chooser);
    chooser.exec();
    if (chooser.result() != 1) return;
    chooser.applyTo(m_settings);
    if (m_browser) {
        m_browser->BuildColumns();
        m_browser->FillList(FileList::LastQuery, ListMode::Keep);
    }
}

void mainForm::connectMenus() {
    connect(m_menus.mnuListColumns, &QAction::triggered, this, &mainForm::chooseListColumns);
    connect(m_menus.mnuSysInfo, &QAction::triggered, this, [this] {
        sysInfoForm info(ReadLibraryFacts(mainMod::DataFolder(),
                                          m_mediaLib ? m_mediaLib->DatabasePath() : QString()),
                         this);
        FormLang::SetFormLang(&info);
        info.exec();
    });
    connect(m_menus.mnuAbout, &QAction::triggered, this, [this] {
        aboutForm about(this);
        FormLang::SetFormLang(&about);
        about.exec();
    });
    // Documents that may be missing: the entry goes when they cannot be opened.
    auto openOrHide = [this](const QString& path, QList<QAction*> entries, bool program) {
        if (program ? Shell::current().Execute(path, {}) : Shell::current().OpenDocument(path))
            return;
        Dialogs::current().MsgBox(QStringLiteral("Missing resource"),
                                  Dialogs::OkOnly | Dialogs::Exclamation, mainMod::AppName());
        for (QAction* entry : entries)
            entry->setVisible(false);
    };
    connect(m_menus.mnuManageServer, &QAction::triggered, this, [this, openOrHide] {
        openOrHide(mainMod::ServerConfigPath(), {m_menus.mnuManageServer, m_menus.mnuSepServer},
                   true);
    });
    connect(m_menus.mnuServerHelp, &QAction::triggered, this, [this, openOrHide] {
        openOrHide(mainMod::ServerHelpPath(), {m_menus.mnuServerHelp, m_menus.mnuSepServerHelp},
                   false);
    });
}
