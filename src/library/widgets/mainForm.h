#pragma once
// The main window: toolbar, the left pane with the library tree, micro player
// and search box, the splitter, the file list (or the audio-CD panel in its
// place) and the status bar with its progress bar.
#include "core/AppSettings.h"
#include "library/widgets/MainMenus.h"
#include "player/widgets/MicroPlayer.h"
#include "util/checkUpdForm.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <memory>

class CDSniff;
struct CdInfo;
struct RipRequest;
class DividerSplitter;
class IndexEngineForm;
class FileListView;
class LibraryBrowser;
class LibraryTreeWidget;
class MprisService;
class MediaLibrary;
class clsMUI;
class frmSplash;
class popMsgClass;
class QComboBox;
class wizForm;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QStatusBar;
class QToolBar;
class QToolButton;
class QTreeView;
class QTreeWidget;

class mainForm : public QMainWindow {
    Q_OBJECT
public:
    // Minimum size of the window in twips, and in pixels while the size hook is in.
    static constexpr int MinWidthTwips = 5100;
    static constexpr int MinHeightTwips = 4500;
    static constexpr int HookMinWidth = 600;
    static constexpr int HookMinHeight = 400;
    static constexpr int MinTreePaneTwips = 2730;
    static constexpr int MinListTwips = 1400;

    // Where start-up finds its files; the defaults are the application's own.
    struct StartupOptions {
        QStringList arguments; // the command line, without the program name
        QString langFolder;    // default: the Lang folder beside the program
        QString dataFolder;    // default: mainMod::DataFolder()
        QString templatePath;  // default: mainMod::TemplatePath()
    };

    explicit mainForm(AppSettings& settings, QWidget* parent = nullptr);
    ~mainForm() override;

    // The start-up sequence. False after a fatal failure, which has been shown;
    // the process should then end with a non-zero status.
    bool StartUp(const StartupOptions& options);
    // Where start-up looks for the indexing engine's program (before StartUp);
    // empty, the default: no engine, the library refreshes itself.
    void setEngineFolder(const QString& folder) { m_engineFolder = folder; }
    // The orderly stop: the mirror of StartUp (run by a confirmed close).
    void Shutdown();
    bool devMode() const { return m_devMode; }
    bool isShutDown() const { return m_shutDown; }

    clsMUI* lang() const { return m_lang.get(); }
    MediaLibrary* mLib2() const { return m_mediaLib.get(); }
    popMsgClass* popups() const { return m_popups.get(); }
    // The CD watcher (created at start-up, watching unless in developer mode).
    CDSniff* cdSniff() const { return m_cdSniff; }
    // The tree, list and search of the library (after start-up opened it).
    LibraryBrowser* browser() const { return m_browser; }
    // The splash while start-up or shut-down shows it.
    frmSplash* splash() const { return m_splash; }
    // Texts shown in the tree for empty artist and album tags.
    QString EmptyArtistText;
    QString EmptyAlbumText;

    // An update check (mainForm_update.cpp): a scheduled one runs at most once a
    // day and reports only a newer version; a manual one also says why it failed.
    // Nothing happens while one runs or when Misc\UpdateURL is empty.
    void CheckForUpdates(bool scheduled);
    // The running check, or null.
    checkUpdForm* UpdateChecker() const { return m_updateChecker.data(); }

    // The Library menu and File > Preferences (mainForm_library.cpp). The
    // dialogs are window-modal and report back when they close.
    // Refreshes every media folder; false (and said why) when it cannot start.
    bool RefreshLibraryContents(bool force);
    void EditMediaFolders();
    void CleanUpLibrary();
    // Runs a clean-up choice, then offers the wizard.
    void CleanUp(int choice);
    void ShowWizard();
    void ShowPreferences();
    // The library wizard while it is open, else null.
    wizForm* wizard() const;
    // The indexing engine's client (after start-up, when an engine is configured).
    IndexEngineForm* indexEngine() const { return m_engine; }

    AppSettings& settings() { return m_settings; }
    MainMenus& menus() { return m_menus; }

    // The size hook: a minimum tracking size of 600 by 400 pixels.
    void installSizeHook();
    void removeSizeHook();
    bool sizeHookInstalled() const { return m_sizeHook; }

    // Shows or hides the toolbar, stores the flag and ticks the View entry.
    void SetToolbarVisible(bool visible);
    void setMicroPlayerVisible(bool visible);

    // Playback and the file actions of the list (mainForm_play.cpp).
    // Shows the micro player when hidden, then plays the file with that title.
    void PlayWithMicroPlayer(const QString& path, const QString& title, int flag = 0);
    // Full paths joined by CR LF, in list order; nothing without an external player.
    void PlayInWinamp(const QString& paths, bool enqueue);
    // Copies the files into a chosen folder (or a subfolder of it named after a
    // tree node) with the copy dialog.
    void SendToFolder(const QString& subfolder, const QStringList& sources);
    // The files as a list that file managers paste; false when there is none.
    bool CopyFilesToClipboard(const QStringList& paths);
    // Collects the paths for the clipboard and says when that failed.
    void CopyToClipboard(const QStringList& paths);
    // Opens the desktop's file manager on the file's folder.
    void BrowseFolder(const QString& path);
    // Switches on and connects the list menu's external-player, Send to
    // Folder/Disk, Copy and Browse Folder entries and the tree's Send To.
    void connectPlayActions(LibraryBrowser* browser);
    // Applies the stored tree width, window size and state (start-up).
    void restoreLayout();
    // The tree pane's width in twips.
    int treePaneTwips() const;
    void setTreePaneTwips(int twips);

    // The faded logo behind the file list.
    void setListLogo(bool shown);
    bool listLogo() const { return m_listLogo; }
    // Copies the widths of the shown list columns into the column settings.
    void captureColumnWidths();

    // The properties of the selected list items (mainForm_props.cpp): the editor
    // for one, the summary for several; after an edit the list or the library
    // branch follows.
    void ShowProperties();
    // Files given on the command line (mainForm_open.cpp): asks before a folder
    // joins the library, shows the others' properties.
    void OpenFiles(const QStringList& arguments);

    // Audio CDs and CDDB. The audio-CD panel for CD number (1-based) in place of
    // the file list (mainForm_acd.cpp).
    void ShowCD(int number);
    // Runs the CD information dialog on a CDDB query command; true when a disc
    // was read or chosen, which is then in info (mainForm_cddb.cpp).
    bool LookUpDisc(const QString& query, CdInfo& info);
    // The rip wizard, modal, for the panel's disc and tracks (mainForm_rip.cpp).
    void ShowRipWizard(const RipRequest& request);
    // The conversion dialog, modal, for the files in this order; the library
    // view is rebuilt when files joined or left the library (mainForm_convert.cpp).
    void ConvertFiles(const QStringList& paths);
    // Switches on and connects the list menu's New Format.
    void connectConvertAction(LibraryBrowser* browser);
    // Status bar panels 1..5 (1 holds the progress bar).
    void setStatusPanel(int panel, const QString& text);
    QString statusPanel(int panel) const;

    // Widgets by their system names.
    QToolBar* toolbarBg = nullptr;
    QList<QToolButton*> toolbarBut;
    QWidget* mmPic = nullptr;
    LibraryTreeWidget* tv1 = nullptr;
    ::MicroPlayer* MicroPlayer = nullptr;
    QFrame* sFrame = nullptr;
    QLineEdit* sText = nullptr;
    QPushButton* sBut = nullptr;
    DividerSplitter* splitter = nullptr;
    QStackedWidget* listArea = nullptr;
    FileListView* llist = nullptr;
    QFrame* acdFrame = nullptr;
    QComboBox* cdiGenre = nullptr; // the audio-CD panel's genres, item data = number
    QStatusBar* stBar = nullptr;
    QProgressBar* mainPBar = nullptr;

    double logicalDpi() const;
    int toPixels(int twips) const;
    int toTwips(int pixels) const;

signals:
    // The View menu asks for a tree rebuild (section as MakeTree takes it).
    void treeRebuildRequested(int section);
    // A branch was switched off: its top-level node goes.
    void treeBranchRemoved(const QString& key);
    // The splash window has just been shown (start-up or shut-down).
    void splashShown();
    // The list's columns are to be built from the column settings.
    void columnsRebuildRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildToolbar();
    void buildPanes();
    void buildStatusBar();
    void attachMicroPlayer(); // mainForm_play.cpp
    void connectViewMenu();
    void connectMenus(); // mainForm_menus.cpp
    void connectLibraryMenu();
    // The properties key of the list (mainForm_props.cpp).
    void connectProperties();
    void showOpenedFiles(const QStringList& paths);
    void chooseListColumns();
    void toggleBranch(bool AppSettings::*flag, QAction* entry, const QString& key);
    void rememberWindowSize();
    void applyMinimumSize();

    // Start-up pieces (mainForm_startup.cpp).
    bool failStartUp(const QString& text, const QString& title);
    void splashStep(int percent, const QString& act = QString());
    void closeSplash();
    bool openLibrary(const StartupOptions& options);
    void compactDaily();
    void applyLanguage();
    void reportDamagedSettings();
    void buildLanguageMenu();
    void hideMissingServerEntries();
    // The media library's events (mainForm_events.cpp).
    void attachLibraryEvents();
    void detachLibraryEvents();
    void mLib2_RefreshComplete(qint32 seen, qint32 added, qint32 updated, qint32 removed);
    void mLib2_RefreshProgress(float percent);
    void mLib2_StatusUpdate(qint32 code, const QString& text);
    // The indexing engine's client and its events (mainForm_engine.cpp).
    void startEngineClient(const StartupOptions& options);
    void stopEngineClient();
    bool refreshThroughEngine(bool force);
    void iEngine_IndexProgressChanged(qint16 percent);
    void iEngine_IndexStateChanged(qint16 state, const QString& text);
    void iEngine_IndexCompleted(qint32 checked, qint32 added, qint32 updated, qint32 removed);
    // The CD watcher and the audio-CD panel (mainForm_cd.cpp).
    void FillGenreList();
    // The audio-CD panel, its buttons wired to the look-up and the rip wizard (mainForm_acd.cpp).
    QFrame* buildAcdPanel(QWidget* parent);
    void startCdWatcher(const StartupOptions& options);
    void stopCdWatcher();
    void rebuildCdBranch();
    void CDSniff_AudioCdIN();
    void CDSniff_AudioCdOUT();
    // Activation and the update check's events (mainForm_update.cpp).
    void Form_Activate();
    void setUpMenuUpdateEntry();
    void UpdateChecker_UpdateAvailable(const QString& version, bool beta, const QDate& releaseDate,
                                       const QString& message);
    void UpdateChecker_UpdateUnAvailable(const QString& text, bool error);
    void releaseUpdateChecker();
    // The "Selected Items" entries that change many files (mainForm_batch.cpp).
    void connectBatchMenus();
    QList<qint64> listIds(bool selectedOnly) const;
    void afterBatch(bool rebuildLibrary);
    void batchSetValue(int entry);
    void batchSetGenre();
    void batchEnumTracks();
    void batchRename();
    // The selection as the tracks of one CD, tagged from a CDDB look-up (mainForm_cddb.cpp).
    void batchLookUpDisc();

    AppSettings& m_settings;
    std::unique_ptr<clsMUI> m_lang;
    std::unique_ptr<MediaLibrary> m_mediaLib;
    std::unique_ptr<popMsgClass> m_popups;
    frmSplash* m_splash = nullptr;
    CDSniff* m_cdSniff = nullptr;
    IndexEngineForm* m_engine = nullptr;
    QString m_engineFolder;
    LibraryBrowser* m_browser = nullptr;
    bool m_devMode = false;
    bool m_started = false;
    bool m_shutDown = false;
    bool m_listLogo = false;
    MainMenus m_menus;
    QList<QLabel*> m_panels;
    bool m_sizeHook = false;
    bool m_resizeSuspended = false;
    QPointer<checkUpdForm> m_updateChecker;
    QPointer<wizForm> m_wizard;
    QString m_templatePath;
    bool m_userRefresh = false; // the running refresh was asked for by the user
    MprisService* m_mpris = nullptr;
};
