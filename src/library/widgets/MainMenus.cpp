#include "library/widgets/MainMenus.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenuBar>

namespace {

QAction* entry(QMenu* menu, const char* name, const QString& text, bool enabled = true) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QLatin1String(name));
    a->setEnabled(enabled);
    return a;
}

QAction* separator(QMenu* menu, const char* name) {
    QAction* a = menu->addSeparator();
    a->setObjectName(QLatin1String(name));
    return a;
}

QAction* arrayEntry(QMenu* menu, const char* name, int index, const QString& text) {
    QAction* a = text.isEmpty() ? menu->addSeparator() : menu->addAction(text);
    a->setObjectName(QLatin1String(name));
    a->setProperty("index", index);
    return a;
}

QMenu* topMenu(QMainWindow* window, const char* name, const QString& title) {
    QMenu* menu = window->menuBar()->addMenu(title);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

} // namespace

void MainMenus::build(QMainWindow* w) {
    mnuFile = topMenu(w, "mnuFile", QStringLiteral("&File"));
    mnuPreferences = entry(mnuFile, "mnuPreferences", QStringLiteral("Preferences"), true);
    mnuLanguage = mnuFile->addMenu(QStringLiteral("Language"));
    mnuLanguage->setObjectName(QStringLiteral("mnuLanguage"));
    mnuLanguage->menuAction()->setObjectName(QStringLiteral("mnuLanguage"));
    mnuSepServer = separator(mnuFile, "mnuSepServer");
    mnuManageServer = entry(mnuFile, "mnuManageServer", QStringLiteral("Manage Server"));
    separator(mnuFile, "mnuSepExit");
    mnuExit = entry(mnuFile, "mnuExit", QStringLiteral("Exit"));
    mnuExit->setShortcut(QKeySequence(QStringLiteral("Alt+F4")));

    mnuView = topMenu(w, "mnuView", QStringLiteral("&View"));
    mnuViewLibrary = entry(mnuView, "mnuViewLibrary", QStringLiteral("Library"), false);
    mnuViewLibrary->setCheckable(true);
    mnuViewLibrary->setChecked(true);
    mnuViewFilters = entry(mnuView, "mnuViewFilters", QStringLiteral("Filters"));
    mnuViewRating = entry(mnuView, "mnuViewRating", QStringLiteral("Rating"));
    mnuViewVFolders = entry(mnuView, "mnuViewVFolders", QStringLiteral("My Virtual Folders"));
    separator(mnuView, "mnuSepColumns");
    mnuListColumns = entry(mnuView, "mnuListColumns", QStringLiteral("List Columns"));
    separator(mnuView, "mnuSepPlayer");
    mnuMicroPlayer = entry(mnuView, "mnuMicroPlayer", QStringLiteral("MicroPlayer"));
    mnuToolBar = entry(mnuView, "mnuToolBar", QStringLiteral("ToolBar"));
    for (QAction* a : {mnuViewFilters, mnuViewRating, mnuViewVFolders, mnuMicroPlayer, mnuToolBar})
        a->setCheckable(true);

    mnuLibrary = topMenu(w, "mnuLibrary", QStringLiteral("&Library"));
    const QString library[] = {QStringLiteral("Refresh Contents"),
                               QStringLiteral("Edit Media Folders"), QString(),
                               QStringLiteral("Clean up")};
    for (int i = 0; i < 4; ++i)
        smLibrary << arrayEntry(mnuLibrary, "smLibrary", i, library[i]);
    smLibrary[0]->setShortcut(QKeySequence(QStringLiteral("Ctrl+F5")));

    mnuList = topMenu(w, "mnuList", QStringLiteral("L&ist"));
    mnuSelectAll = entry(mnuList, "mnuSelectAll", QStringLiteral("Select All"));
    mnuSelectAll->setShortcut(QKeySequence::SelectAll);
    mnuInvertSelection = entry(mnuList, "mnuInvertSelection", QStringLiteral("Invert Selection"));
    separator(mnuList, "mnuSepSelected");
    mnuSelectedItems = mnuList->addMenu(QStringLiteral("Selected Items"));
    mnuSelectedItems->setObjectName(QStringLiteral("mnuSelectedItems"));
    mnuSelectedItems->menuAction()->setObjectName(QStringLiteral("mnuSelectedItems"));
    const QString list2[] = {QStringLiteral("Set Artist"),
                             QStringLiteral("Set Album"),
                             QStringLiteral("Set Year"),
                             QStringLiteral("Set Genre"),
                             QStringLiteral("Enum Tracks"),
                             QString(),
                             QStringLiteral("Get CD info from CDDB"),
                             QString(),
                             QStringLiteral("Rename files with ID3")};
    const char* keys[] = {"Ctrl+R", "Ctrl+B", "Ctrl+Y", "Ctrl+G", "Ctrl+T"};
    for (int i = 0; i < 9; ++i) {
        QAction* a = arrayEntry(mnuSelectedItems, "smList2", i, list2[i]);
        if (i < 5) a->setShortcut(QKeySequence(QLatin1String(keys[i])));
        smList2 << a;
    }

    mnuHelp = topMenu(w, "mnuHelp", QStringLiteral("&Help"));
    mnuCheckUpdates = entry(mnuHelp, "mnuCheckUpdates", QStringLiteral("Check for updates"), false);
    mnuSysInfo = entry(mnuHelp, "mnuSysInfo", QStringLiteral("System Information"));
    mnuSepServerHelp = separator(mnuHelp, "mnuSepServerHelp");
    mnuServerHelp = entry(mnuHelp, "mnuServerHelp", QStringLiteral("Server Help"));
    separator(mnuHelp, "mnuSepAbout");
    mnuAbout = entry(mnuHelp, "mnuAbout", QStringLiteral("About"));
    mnuAbout->setShortcut(QKeySequence::HelpContents);
}

void MainMenus::setLanguages(const QList<QPair<int, QString>>& languages, int current) {
    qDeleteAll(smLang);
    smLang.clear();
    auto* group = new QActionGroup(mnuLanguage);
    for (int i = 0; i < languages.size(); ++i) {
        QAction* a = arrayEntry(mnuLanguage, "smLang", i, languages[i].second);
        a->setCheckable(true);
        a->setData(QString::number(languages[i].first)); // the tag: the language id
        a->setChecked(languages[i].first == current);
        group->addAction(a);
        smLang << a;
    }
}
