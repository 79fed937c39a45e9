#include "library/widgets/mainForm.h"

#include "components/MediaLibrary.h"
#include "core/Twips.h"
#include "core/widgets/Artwork.h"
#include "lang/Mui.h"
#include "library/widgets/DividerSplitter.h"
#include "library/widgets/FileListView.h"
#include "library/widgets/LibraryTreeWidget.h"
#include "player/widgets/MicroPlayer.h"
#include "util/widgets/popMsgClass.h"

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

struct ToolbarEntry {
    const char* icon;
    const char* toolTip;
};

const ToolbarEntry kToolbar[8] = {
    {"tb_mediafolders", "Edit Media Folders"},
    {"tb_refresh", "Refresh Library Contents"},
    {"tb_microplayer", "Show/Hide Microplayer"},
    {"tb_columns", "Choose list columns"},
    {"tb_preferences", "Preferences"},
    {"tb_sysinfo", "System Information"},
    {"tb_about", "About Quavero"},
    {"tb_server", "Manage Quavero Server"},
};

} // namespace

mainForm::mainForm(AppSettings& settings, QWidget* parent)
    : QMainWindow(parent), m_settings(settings) {
    setObjectName(QStringLiteral("mainForm"));
    setWindowIcon(Artwork::Icon(QStringLiteral("app")));
    m_menus.build(this);
    buildToolbar();
    buildPanes();
    buildStatusBar();
    connectViewMenu();
    connectMenus();
    connectLibraryMenu();
    connectProperties();
    connectBatchMenus();
    applyMinimumSize();
}

mainForm::~mainForm() = default;

double mainForm::logicalDpi() const {
    const QScreen* s = screen();
    return s ? s->logicalDotsPerInch() : 96.0;
}

int mainForm::toPixels(int twips) const {
    return Twips::ToPixels(twips, logicalDpi());
}
int mainForm::toTwips(int pixels) const {
    return Twips::FromPixels(pixels, logicalDpi());
}

void mainForm::buildToolbar() {
    toolbarBg = addToolBar(QStringLiteral("Toolbar"));
    toolbarBg->setObjectName(QStringLiteral("toolbarBg"));
    toolbarBg->setMovable(false);
    toolbarBg->setFloatable(false);
    toolbarBg->toggleViewAction()->setVisible(false);
    toolbarBg->setIconSize(QSize(24, 24));
    setContextMenuPolicy(Qt::NoContextMenu);

    QAction* targets[8] = {m_menus.smLibrary[1],   m_menus.smLibrary[0],   m_menus.mnuMicroPlayer,
                           m_menus.mnuListColumns, m_menus.mnuPreferences, m_menus.mnuSysInfo,
                           m_menus.mnuAbout,       m_menus.mnuManageServer};
    for (int i = 0; i < 8; ++i) {
        auto* button = new QToolButton(toolbarBg);
        button->setObjectName(QStringLiteral("toolbarBut"));
        button->setProperty("index", i);
        button->setIcon(Artwork::Icon(QLatin1String(kToolbar[i].icon)));
        button->setToolTip(QLatin1String(kToolbar[i].toolTip));
        button->setAutoRaise(true);
        QAction* target = targets[i];
        // A button runs its menu entry exactly as if it had been chosen.
        connect(button, &QToolButton::clicked, target, &QAction::trigger);
        auto follow = [button, target] {
            button->setEnabled(target->isEnabled());
            button->setVisible(target->isVisible());
        };
        connect(target, &QAction::changed, button, follow);
        follow();
        QAction* slot = toolbarBg->addWidget(button);
        // Visibility of a toolbar widget goes through its action.
        connect(target, &QAction::changed, slot,
                [slot, target] { slot->setVisible(target->isVisible()); });
        toolbarBut << button;
        if (i == 4 || i == 6) toolbarBg->addSeparator();
    }
}

void mainForm::buildPanes() {
    splitter = new DividerSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->setChildrenCollapsible(false);
    splitter->setHandleWidth(5);

    mmPic = new QWidget(splitter);
    mmPic->setObjectName(QStringLiteral("mmPic"));
    auto* pane = new QVBoxLayout(mmPic);
    const int margin = toPixels(60);
    pane->setContentsMargins(margin, margin, margin, margin);
    pane->setSpacing(4);

    tv1 = new LibraryTreeWidget(mmPic);
    pane->addWidget(tv1, 1);

    MicroPlayer = new ::MicroPlayer(mmPic);
    MicroPlayer->hide();
    pane->addWidget(MicroPlayer);
    attachMicroPlayer();

    sFrame = new QFrame(mmPic);
    sFrame->setObjectName(QStringLiteral("sFrame"));
    auto* search = new QHBoxLayout(sFrame);
    search->setContentsMargins(0, 0, 0, 0);
    sText = new QLineEdit(sFrame);
    sText->setObjectName(QStringLiteral("sText"));
    sText->setClearButtonEnabled(true);
    sText->setPlaceholderText(QStringLiteral("Search"));
    sBut = new QPushButton(QStringLiteral("Search"), sFrame);
    sBut->setObjectName(QStringLiteral("sBut"));
    search->addWidget(sText, 1);
    search->addWidget(sBut);
    pane->addWidget(sFrame);

    listArea = new QStackedWidget(splitter);
    listArea->setObjectName(QStringLiteral("listArea"));
    llist = new FileListView(listArea);
    acdFrame = buildAcdPanel(listArea);
    listArea->addWidget(llist);
    listArea->addWidget(acdFrame);

    mmPic->setMinimumWidth(toPixels(MinTreePaneTwips));
    listArea->setMinimumWidth(toPixels(MinListTwips));
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);
    splitter->divider()->setObjectName(QStringLiteral("divLabel"));

    connect(splitter, &QSplitter::splitterMoved, this,
            [this] { m_settings.TreeWidth = treePaneTwips(); });
    // The progress panel stands under the tree pane, however the pane got its width.
    mmPic->installEventFilter(this);
}

bool mainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mmPic && event->type() == QEvent::Resize && mainPBar)
        mainPBar->parentWidget()->setFixedWidth(mmPic->width());
    return QMainWindow::eventFilter(watched, event);
}

void mainForm::buildStatusBar() {
    stBar = statusBar();
    stBar->setObjectName(QStringLiteral("stBar"));
    stBar->setSizeGripEnabled(true);
    // Panel 1 holds the progress bar under the tree pane; 2 status texts; 3 the
    // selection; 4 the size of the listed files; 5 their number.
    auto* first = new QWidget(stBar);
    auto* firstLayout = new QHBoxLayout(first);
    firstLayout->setContentsMargins(2, 1, 2, 1);
    mainPBar = new QProgressBar(first);
    mainPBar->setObjectName(QStringLiteral("mainPBar"));
    mainPBar->setRange(0, 100);
    mainPBar->setValue(0);
    mainPBar->setTextVisible(false);
    mainPBar->setMaximumHeight(14);
    firstLayout->addWidget(mainPBar);
    stBar->addWidget(first);
    m_panels << nullptr;
    for (int i = 2; i <= 5; ++i) {
        auto* label = new QLabel(stBar);
        label->setObjectName(QStringLiteral("stBarPanel%1").arg(i));
        stBar->addWidget(label, i == 2 || i == 3 ? 1 : 0);
        m_panels << label;
    }
    first->setFixedWidth(toPixels(m_settings.TreeWidth));
}

void mainForm::setStatusPanel(int panel, const QString& text) {
    if (panel >= 2 && panel <= 5) m_panels[panel - 1]->setText(text);
}

QString mainForm::statusPanel(int panel) const {
    return panel >= 2 && panel <= 5 ? m_panels[panel - 1]->text() : QString();
}

void mainForm::connectViewMenu() {
    connect(m_menus.mnuViewFilters, &QAction::triggered, this, [this] {
        toggleBranch(&AppSettings::ShowFilters, m_menus.mnuViewFilters, QStringLiteral("_fil"));
    });
    connect(m_menus.mnuViewRating, &QAction::triggered, this, [this] {
        toggleBranch(&AppSettings::ShowRatings, m_menus.mnuViewRating, QStringLiteral("_rat"));
    });
    connect(m_menus.mnuViewVFolders, &QAction::triggered, this, [this] {
        toggleBranch(&AppSettings::ShowVFolders, m_menus.mnuViewVFolders, QStringLiteral("_mfr"));
    });
    connect(m_menus.mnuMicroPlayer, &QAction::triggered, this,
            [this] { setMicroPlayerVisible(MicroPlayer->isHidden()); });
    connect(m_menus.mnuToolBar, &QAction::triggered, this,
            [this] { SetToolbarVisible(toolbarBg->isHidden()); });
    connect(m_menus.mnuExit, &QAction::triggered, this, &QWidget::close);
}

void mainForm::toggleBranch(bool AppSettings::*flag, QAction* entry, const QString& key) {
    if (m_settings.*flag) {
        entry->setChecked(false);
        m_settings.*flag = false;
        emit treeBranchRemoved(key);
    } else {
        entry->setChecked(true);
        m_settings.*flag = true;
        emit treeRebuildRequested(0);
    }
}

void mainForm::setMicroPlayerVisible(bool visible) {
    MicroPlayer->setVisible(visible);
    m_settings.MPVisible = visible;
    m_menus.mnuMicroPlayer->setChecked(visible);
}

void mainForm::SetToolbarVisible(bool visible) {
    m_settings.ShowToolBar = visible;
    toolbarBg->setVisible(visible);
    m_menus.mnuToolBar->setChecked(visible);
}

void mainForm::applyMinimumSize() {
    const QSize twipsMinimum(toPixels(MinWidthTwips), toPixels(MinHeightTwips));
    setMinimumSize(m_sizeHook ? twipsMinimum.expandedTo(QSize(HookMinWidth, HookMinHeight))
                              : twipsMinimum);
}

void mainForm::installSizeHook() {
    m_sizeHook = true;
    applyMinimumSize();
}

void mainForm::removeSizeHook() {
    m_sizeHook = false;
    applyMinimumSize();
}

int mainForm::treePaneTwips() const {
    return toTwips(mmPic->width());
}

void mainForm::setTreePaneTwips(int twips) {
    const int pane = std::max(toPixels(twips), mmPic->minimumWidth());
    const int total = splitter->width() - splitter->handleWidth();
    splitter->setSizes({pane, std::max(total - pane, listArea->minimumWidth())});
}

void mainForm::restoreLayout() {
    m_resizeSuspended = true;
    resize(toPixels(m_settings.Width), toPixels(m_settings.Height));
    if (m_settings.WindowState == 2)
        setWindowState(windowState() | Qt::WindowMaximized);
    else
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    SetToolbarVisible(m_settings.ShowToolBar);
    m_resizeSuspended = false;
    setTreePaneTwips(m_settings.TreeWidth);
    setMicroPlayerVisible(m_settings.MPVisible);
    m_menus.mnuViewFilters->setChecked(m_settings.ShowFilters);
    m_menus.mnuViewRating->setChecked(m_settings.ShowRatings);
    m_menus.mnuViewVFolders->setChecked(m_settings.ShowVFolders);
}

void mainForm::rememberWindowSize() {
    if (m_resizeSuspended) return;
    const Qt::WindowStates state = windowState();
    if (!(state & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))) {
        m_settings.Width = toTwips(width());
        m_settings.Height = toTwips(height());
    }
    m_settings.WindowState = (state & Qt::WindowMaximized)   ? 2
                             : (state & Qt::WindowMinimized) ? 1
                                                             : 0;
}

void mainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    rememberWindowSize();
}

void mainForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) rememberWindowSize();
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) Form_Activate();
}
