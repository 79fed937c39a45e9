// The audio-CD panel in the main window, filled from a virtual drive.
#include "cd/widgets/AcdPanel.h"
#include "cd/CDSniff.h"
#include "cd/RipRequest.h"
#include "cd/clsRIP.h"
#include "cddb/CdInfo.h"
#include "core/LibraryPaths.h"
#include "library/widgets/FileListView.h"
#include "library/widgets/LibraryTreeWidget.h"
#include "library/widgets/mainForm.h"
#include "support/CdImage.h"
#include "support/widgets/MainWindowFixture.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>

class AcdPanelTest : public StartedMainWindow {
protected:
    AcdPanel* panel = nullptr;
    QList<RipRequest> ripped;
    fixtures::CdImage image;

    void SetUp() override {} // each test starts on its own disc

    // The window started on a disc of count tracks of two seconds each, shown.
    void startWithDisc(int count) {
        image = fixtures::WriteCdImage(data.path() + "/cd-images", "disc",
                                       QList<int64_t>(count, 2 * 44100));
        ASSERT_NO_FATAL_FAILURE(start());
        panel = qobject_cast<AcdPanel*>(form->acdFrame);
        ASSERT_NE(panel, nullptr);
        panel->setRipWizard([this](const RipRequest& r) { ripped.append(r); });
        form->resize(1000, 650);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void click(QTreeWidget* view, QTreeWidgetItem* item, Qt::KeyboardModifiers keys = {}) {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, keys,
                          view->visualItemRect(item).center());
    }
    QStringList ripNames(int request) const {
        QStringList out;
        for (const RipTrackEntry& t : ripped.at(request).tracks)
            out << QString::number(t.number) + ":" + t.name;
        return out;
    }
};

TEST_F(AcdPanelTest, TwelveTrackDiscFillsThePanelAndRipsTheChosenTracks) {
    startWithDisc(12);
    form->listArea->setCurrentWidget(form->acdFrame);
    form->ShowCD(1);
    ASSERT_EQ(panel->tlist->topLevelItemCount(), 12);
    EXPECT_EQ(panel->tlist->topLevelItem(0)->text(0), "Track 1");
    EXPECT_EQ(panel->tlist->topLevelItem(0)->text(1), "01");
    EXPECT_EQ(panel->tlist->topLevelItem(11)->text(1), "12");
    EXPECT_EQ(panel->tlist->topLevelItem(11)->text(2), "0:02");
    clsRIP rip;
    ASSERT_TRUE(rip.ReadDrive(form->cdSniff()->AudioCds().at(0)));
    EXPECT_EQ(panel->cdiTracks->text(), "12");
    EXPECT_EQ(panel->cdiID->text(), rip.DiscId().toUpper().remove(QRegularExpression("^0+")));
    EXPECT_EQ(panel->cddbQuery(), rip.CddbQuery());
    EXPECT_TRUE(panel->btGetCDInfo->isEnabled());
    ASSERT_TRUE(panel->btRipCD[0]->isEnabled() && panel->btRipCD[1]->isEnabled());

    panel->cdiAlbum->setText("Album");
    panel->cdiGenre->setCurrentIndex(panel->cdiGenre->findText("Jazz"));
    QTest::mouseClick(panel->btRipCD[1], Qt::LeftButton);
    ASSERT_EQ(ripped.size(), 1) << "the wizard opens even for no tracks";
    EXPECT_TRUE(ripped[0].tracks.isEmpty());

    // Rows 2 and 5, the second with Ctrl; clicked bottom-up, passed in disc order.
    click(panel->tlist, panel->tlist->topLevelItem(4));
    click(panel->tlist, panel->tlist->topLevelItem(1), Qt::ControlModifier);
    QTest::mouseClick(panel->btRipCD[1], Qt::LeftButton);
    ASSERT_EQ(ripped.size(), 2);
    EXPECT_EQ(ripNames(1), QStringList({"2:Track 2", "5:Track 5"}));
    EXPECT_EQ(ripped[1].drive, 1);
    EXPECT_EQ(ripped[1].album, "Album");
    EXPECT_EQ(ripped[1].genreText, "Jazz");
    EXPECT_EQ(ripped[1].genreNumber, 8);
    QTest::mouseClick(panel->btRipCD[0], Qt::LeftButton);
    EXPECT_EQ(ripped.at(2).tracks.size(), 12) << "Rip all ignores the selection";
}

TEST_F(AcdPanelTest, AStaleNumberLeavesAnEmptyPanel) {
    startWithDisc(3);
    form->ShowCD(1);
    panel->cdiArtist->setText("typed");
    ASSERT_TRUE(QFile::remove(image.cuePath));
    form->cdSniff()->Poll();
    form->ShowCD(1);
    EXPECT_EQ(panel->tlist->topLevelItemCount(), 0);
    EXPECT_EQ(panel->cdNumber(), 0);
    EXPECT_EQ(panel->cdiTracks->text() + panel->cdiID->text() + panel->cdiArtist->text(), "");
    EXPECT_EQ(panel->cddbQuery(), "");
    EXPECT_FALSE(panel->btGetCDInfo->isEnabled() || panel->btRipCD[0]->isEnabled() ||
                 panel->btRipCD[1]->isEnabled());
    panel->RipCD(0);
    EXPECT_TRUE(ripped.isEmpty()) << "an empty list rips nothing";
}

TEST_F(AcdPanelTest, InfoButtonFillsTheDiscAndFallsBackToTheCategorysGenre) {
    startWithDisc(3);
    CdInfo answer;
    answer.artist = "The Band";
    answer.year = "1971";
    answer.category = "rock";
    answer.genre = "Proto-Something"; // no standard genre
    answer.tracks[0] = {"Opening", 1};
    answer.tracks[1] = {"Closing", 2};
    QStringList queries;
    bool succeed = false;
    panel->setLookUp([&](const QString& query, CdInfo& info) {
        queries << query;
        if (succeed) info = answer;
        return succeed;
    });
    form->ShowCD(1);
    panel->btGetCDInfo->click();
    EXPECT_EQ(queries, QStringList({panel->cddbQuery()}));
    EXPECT_EQ(panel->tlist->topLevelItem(0)->text(0), "Track 1") << "a failure changes nothing";

    succeed = true;
    panel->btGetCDInfo->click();
    EXPECT_EQ(panel->tlist->topLevelItem(1)->text(0), "Closing");
    EXPECT_EQ(panel->tlist->topLevelItem(2)->text(0), "");
    EXPECT_EQ(panel->cdiArtist->text() + panel->cdiYear->text(), "The Band1971");
    EXPECT_EQ(panel->cdiGenre->currentText(), "Rock");
    answer.genre = "jazz"; // a known genre text wins over the category
    panel->btGetCDInfo->click();
    EXPECT_EQ(panel->cdiGenre->currentData().toInt(), 8);

    form->ShowCD(5); // no such CD, no query: no look-up
    panel->GetCDInfo();
    EXPECT_EQ(queries.size(), 3);
}

TEST_F(AcdPanelTest, ClickingTheCdNodeShowsThePanelAndAnotherNodeTheList) {
    startWithDisc(5);
    QTreeWidgetItem* node = form->tv1->node("_cdi1");
    ASSERT_NE(node, nullptr);
    form->tv1->scrollToItem(node);
    click(form->tv1, node);
    EXPECT_EQ(form->listArea->currentWidget(), form->acdFrame);
    EXPECT_FALSE(form->menus().mnuList->isEnabled());
    EXPECT_EQ(panel->tlist->topLevelItemCount(), 5);

    // Another disc rebuilds the branch and reselects the node: what was typed stays.
    panel->tlist->topLevelItem(0)->setText(0, "Typed");
    fixtures::WriteCdImage(data.path() + "/cd-images", "other", {44100});
    form->cdSniff()->Poll();
    ASSERT_NE(form->tv1->node("_cdi2"), nullptr);
    EXPECT_EQ(form->tv1->currentItem(), form->tv1->node("_cdi1"));
    EXPECT_EQ(panel->tlist->topLevelItem(0)->text(0), "Typed");
    for (QAction* entry : form->menus().smLang)
        if (entry->data().toString() == "1031") entry->trigger();
    EXPECT_EQ(panel->tlist->topLevelItem(1)->text(0), "Nr. 2") << "standard titles follow";
    EXPECT_EQ(panel->tlist->topLevelItem(0)->text(0), "Typed");

    click(form->tv1, form->tv1->node("_lib"));
    EXPECT_EQ(form->listArea->currentWidget(), qobject_cast<QWidget*>(form->llist));
}
