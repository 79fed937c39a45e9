#pragma once
// The main window's menu bar. Every entry is a QAction whose objectName is the
// name the language files use; control arrays carry their index in the
// dynamic property "index".
#include <QList>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;

struct MainMenus {
    QMenu* mnuFile = nullptr;
    QAction* mnuPreferences = nullptr;
    QMenu* mnuLanguage = nullptr;
    QList<QAction*> smLang; // built from the available languages
    QAction* mnuSepServer = nullptr;
    QAction* mnuManageServer = nullptr;
    QAction* mnuExit = nullptr;

    QMenu* mnuView = nullptr;
    QAction* mnuViewLibrary = nullptr;
    QAction* mnuViewFilters = nullptr;
    QAction* mnuViewRating = nullptr;
    QAction* mnuViewVFolders = nullptr;
    QAction* mnuListColumns = nullptr;
    QAction* mnuMicroPlayer = nullptr;
    QAction* mnuToolBar = nullptr;

    QMenu* mnuLibrary = nullptr;
    QList<QAction*> smLibrary; // 0 Refresh Contents, 1 Edit Media Folders, 2 -, 3 Clean up

    QMenu* mnuList = nullptr;
    QAction* mnuSelectAll = nullptr;
    QAction* mnuInvertSelection = nullptr;
    QMenu* mnuSelectedItems = nullptr;
    QList<QAction*> smList2; // 0..8, separators at 5 and 7

    QMenu* mnuHelp = nullptr;
    QAction* mnuCheckUpdates = nullptr;
    QAction* mnuSysInfo = nullptr;
    QAction* mnuSepServerHelp = nullptr;
    QAction* mnuServerHelp = nullptr;
    QAction* mnuAbout = nullptr;

    // Builds the menu bar of the window with the design-time texts.
    void build(QMainWindow* window);
    // Replaces the language entries: one per (id, name), ticking the current one.
    void setLanguages(const QList<QPair<int, QString>>& languages, int current);
};
