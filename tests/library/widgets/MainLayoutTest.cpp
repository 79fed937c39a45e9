#include "library/widgets/DividerSplitter.h"
#include "library/widgets/mainForm.h"

#include <QAction>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

class MainLayout : public ::testing::Test {
protected:
    AppSettings settings;
    mainForm form{settings};
    void SetUp() override {
        form.restoreLayout();
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
};

TEST_F(MainLayout, WindowKeepsItsMinimumSize) {
    form.resize(100, 100);
    EXPECT_EQ(form.width(), form.toPixels(mainForm::MinWidthTwips));
    EXPECT_EQ(form.height(), form.toPixels(mainForm::MinHeightTwips));
    form.installSizeHook();
    form.resize(100, 100);
    EXPECT_EQ(form.size(), QSize(600, 400));
    form.removeSizeHook();
    form.resize(100, 100);
    EXPECT_EQ(form.width(), form.toPixels(mainForm::MinWidthTwips));
}

TEST_F(MainLayout, SplitterKeepsPaneAndListMinimums) {
    form.resize(900, 600);
    QTest::qWait(10);
    form.splitter->dragDividerTo(0);
    EXPECT_EQ(form.mmPic->width(), form.toPixels(mainForm::MinTreePaneTwips));
    EXPECT_NEAR(settings.TreeWidth, mainForm::MinTreePaneTwips, 15);
    form.splitter->dragDividerTo(form.splitter->width());
    EXPECT_EQ(form.listArea->width(), form.toPixels(mainForm::MinListTwips));
    form.setTreePaneTwips(4500);
    EXPECT_EQ(form.mmPic->width(), form.toPixels(4500));
}

TEST_F(MainLayout, SizesAreRememberedInTwipsWhileNormal) {
    form.resize(800, 560);
    EXPECT_EQ(settings.Width, 800 * 15);
    EXPECT_EQ(settings.Height, 560 * 15);
    EXPECT_EQ(settings.WindowState, 0);
    form.setWindowState(Qt::WindowMaximized);
    QTest::qWait(20);
    EXPECT_NE(form.width(), 800);
    EXPECT_EQ(settings.Width, 800 * 15) << "a maximised window keeps the normal size";
    EXPECT_EQ(settings.WindowState, 2);
}

TEST_F(MainLayout, ToolbarAndViewToggles) {
    form.menus().mnuToolBar->trigger();
    EXPECT_FALSE(settings.ShowToolBar);
    EXPECT_TRUE(form.toolbarBg->isHidden());
    EXPECT_FALSE(form.menus().mnuToolBar->isChecked());
    form.menus().mnuToolBar->trigger();
    EXPECT_TRUE(settings.ShowToolBar);

    // Button 2 runs the View menu's MicroPlayer entry.
    EXPECT_TRUE(form.MicroPlayer->isHidden());
    form.toolbarBut[2]->click();
    EXPECT_TRUE(settings.MPVisible);
    EXPECT_TRUE(form.MicroPlayer->isVisible());
    EXPECT_TRUE(form.menus().mnuMicroPlayer->isChecked());

    QStringList removed;
    int rebuilt = -1;
    QObject::connect(&form, &mainForm::treeBranchRemoved, [&](const QString& k) { removed << k; });
    QObject::connect(&form, &mainForm::treeRebuildRequested, [&](int s) { rebuilt = s; });
    form.menus().mnuViewRating->trigger();
    EXPECT_FALSE(settings.ShowRatings);
    EXPECT_EQ(removed, QStringList{"_rat"});
    form.menus().mnuViewRating->trigger();
    EXPECT_TRUE(settings.ShowRatings);
    EXPECT_TRUE(form.menus().mnuViewRating->isChecked());
    EXPECT_EQ(rebuilt, 0);
}

TEST_F(MainLayout, ToolbarButtonsFollowTheirEntries) {
    ASSERT_EQ(form.toolbarBut.size(), 8);
    EXPECT_EQ(form.toolbarBut[7]->toolTip(), "Manage Quavero Server");
    EXPECT_EQ(form.toolbarBut[7]->property("index").toInt(), 7);
    form.menus().mnuManageServer->setVisible(false);
    EXPECT_FALSE(form.toolbarBut[7]->isVisible());
    for (int i : {0, 1, 4}) // Edit Media Folders, Refresh, Preferences
        EXPECT_TRUE(form.toolbarBut[i]->isEnabled()) << i;
    form.menus().mnuPreferences->setEnabled(false);
    EXPECT_FALSE(form.toolbarBut[4]->isEnabled());
}

TEST(MainLayoutPanels, ProgressPanelFollowsTheTreePane) {
    AppSettings settings;
    settings.TreeWidth = 398 * 15; // a pane the user had widened
    mainForm form{settings};
    form.restoreLayout();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QWidget* panel = form.mainPBar->parentWidget();
    EXPECT_EQ(form.mmPic->width(), 398);
    EXPECT_EQ(panel->width(), form.mmPic->width()) << "at start-up";

    // Dragged with the mouse.
    DividerHandle* bar = form.splitter->divider();
    const QPoint grip = bar->rect().center();
    QTest::mousePress(bar, Qt::LeftButton, {}, grip);
    EXPECT_TRUE(bar->isDragging()) << "grey while dragged";
    QTest::mouseMove(bar, grip + QPoint(-60, 0));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, grip + QPoint(-60, 0));
    EXPECT_FALSE(bar->isDragging());
    QTest::qWait(20);
    EXPECT_NE(form.mmPic->width(), 398);
    EXPECT_EQ(panel->width(), form.mmPic->width()) << "after a drag";

    form.setTreePaneTwips(300 * 15);
    QTest::qWait(20);
    EXPECT_EQ(panel->width(), form.mmPic->width()) << "after a change in code";
}
