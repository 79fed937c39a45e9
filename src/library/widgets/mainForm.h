#pragma once
// The main window: toolbar, the left pane with the library tree, micro player
// and search box, the splitter, the file list (or the audio-CD panel in its
// place) and the status bar with its progress bar.
#include "core/AppSettings.h"
#include "library/widgets/MainMenus.h"

#include <QList>
#include <QMainWindow>
#include <QStringList>

class DividerSplitter;
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

    explicit mainForm(AppSettings& settings, QWidget* parent = nullptr);
    ~mainForm() override;

    AppSettings& settings() { return m_settings; }
    MainMenus& menus() { return m_menus; }

    // The size hook: a minimum tracking size of 600 by 400 pixels.
    void installSizeHook();
    void removeSizeHook();
    bool sizeHookInstalled() const { return m_sizeHook; }

    // Shows or hides the toolbar, stores the flag and ticks the View entry.
    void SetToolbarVisible(bool visible);
    void setMicroPlayerVisible(bool visible);
    // Applies the stored tree width, window size and state (start-up).
    void restoreLayout();
    // The tree pane's width in twips.
    int treePaneTwips() const;
    void setTreePaneTwips(int twips);

    // Status bar panels 1..5 (1 holds the progress bar).
    void setStatusPanel(int panel, const QString& text);
    QString statusPanel(int panel) const;

    // Widgets by their system names.
    QToolBar* toolbarBg = nullptr;
    QList<QToolButton*> toolbarBut;
    QWidget* mmPic = nullptr;
    QTreeWidget* tv1 = nullptr;
    QFrame* MicroPlayer = nullptr;
    QFrame* sFrame = nullptr;
    QLineEdit* sText = nullptr;
    QPushButton* sBut = nullptr;
    DividerSplitter* splitter = nullptr;
    QStackedWidget* listArea = nullptr;
    QTreeView* llist = nullptr;
    QFrame* acdFrame = nullptr;
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

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildToolbar();
    void buildPanes();
    void buildStatusBar();
    void connectViewMenu();
    void toggleBranch(bool AppSettings::*flag, QAction* entry, const QString& key);
    void rememberWindowSize();
    void applyMinimumSize();

    AppSettings& m_settings;
    MainMenus m_menus;
    QList<QLabel*> m_panels;
    bool m_sizeHook = false;
    bool m_resizeSuspended = false;
};
