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
#include "lang/widgets/FormLang.h"

#include <QAction>

void mainForm::connectMenus() {
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
    auto openOrHide = [this](const QString& path, QList<QAction*> entries) {
        if (Shell::current().OpenDocument(path)) return;
        Dialogs::current().MsgBox(QStringLiteral("Missing resource"),
                                  Dialogs::OkOnly | Dialogs::Exclamation, mainMod::AppName());
        for (QAction* entry : entries)
            entry->setVisible(false);
    };
    connect(m_menus.mnuManageServer, &QAction::triggered, this, [this, openOrHide] {
        openOrHide(mainMod::ServerConfigPath(), {m_menus.mnuManageServer, m_menus.mnuSepServer});
    });
    connect(m_menus.mnuServerHelp, &QAction::triggered, this, [this, openOrHide] {
        openOrHide(mainMod::ServerHelpPath(), {m_menus.mnuServerHelp, m_menus.mnuSepServerHelp});
    });
}
