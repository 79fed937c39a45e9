// The audio-CD panel in the main window: filled from a virtual drive, its
// buttons handing the disc to the look-up and the rip wizard, and its texts.
#include "cd/widgets/AcdPanel.h"
#include "cd/CDSniff.h"
#include "cd/RipRequest.h"
#include "cd/clsRIP.h"
#include "cddb/CdInfo.h"
#include "core/LibraryPaths.h"
#include "core/Settings.h"
#include "lang/Mui.h"
#include "library/widgets/FileListView.h"
#include "library/widgets/LibraryTreeWidget.h"
#include "library/widgets/MainMenus.h"
#include "library/widgets/mainForm.h"
#include "support/CdImage.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>
#include <memory>

namespace {

class AcdPanelTest : public ConfigDirTest {
protected:
    QTemporaryDir data;
    ScriptedDialogs dialogs;
    AppSettings settings;
    std::unique_ptr<mainForm> form;
    AcdPanel* panel = nullptr;
    QList<RipRequest> ripped;

    AcdPanelTest() {
        mainMod::WriteSetting("Misc\\ShowLoadWindow", "0");
        mainMod::WriteSetting("Misc\\LCID", "1033");
    }
    ~AcdPanelTest() override {
        if (form) form->Shutdown();
    }
    QString images() const { return data.path() + "/cd-images"; }
    // A disc of count tracks of two seconds each, then the window started on it.
    fixtures::CdImage startWithDisc(int count) {
        QList<int64_t> frames;
        for (int i = 0; i < count; ++i)
            frames.append(2 * 44100 + i * 588);
        const fixtures::CdImage image = fixtures::WriteCdImage(images(), "disc", frames);
        start();
        return image;
    }
    void start() {
        form = std::make_unique<mainForm>(settings);
        EXPECT_TRUE(form->StartUp({{}, {}, data.path() + "/", {}}));
        mainMod::SetDatabaseCreated(false);
        panel = qobject_cast<AcdPanel*>(form->acdFrame);
        ASSERT_NE(panel, nullptr);
        panel->setRipWizard([this](const RipRequest& r) { ripped.append(r); });
    }
    void showPanel() {
        form->resize(1000, 650);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->listArea->setCurrentWidget(form->acdFrame);
        form->ShowCD(1);
        QApplication::processEvents();
    }
    QPoint rowCentre(int row) const {
        return panel->tlist->visualItemRect(panel->tlist->topLevelItem(row)).center();
    }
    static QStringList names(const RipRequest& r) {
        QStringList out;
        for (const RipTrackEntry& t : r.tracks)
            out << QString::number(t.number) + ":" + t.name;
        return out;
    }
    void expectReset() const {
        EXPECT_EQ(panel->property("tag").toString(), "");
        EXPECT_EQ(panel->tlist->topLevelItemCount(), 0);
        EXPECT_EQ(panel->cdiTracks->text(), "");
        EXPECT_EQ(panel->cdiLength->text(), "");
        EXPECT_EQ(panel->cdiID->text(), "");
        EXPECT_EQ(panel->cddbQuery(), "");
        EXPECT_EQ(panel->cdiArtist->text(), "");
        EXPECT_EQ(panel->cdiGenre->currentIndex(), 0);
        EXPECT_FALSE(panel->btGetCDInfo->isEnabled());
        EXPECT_FALSE(panel->btRipCD[0]->isEnabled());
        EXPECT_FALSE(panel->btRipCD[1]->isEnabled());
    }
};

} // namespace

TEST_F(AcdPanelTest, TwelveTrackDiscFillsTracksAndFacts) {
    startWithDisc(12);
    form->ShowCD(1);
    ASSERT_EQ(panel->tlist->topLevelItemCount(), 12);
    for (int i = 0; i < 12; ++i) {
        const QTreeWidgetItem* entry = panel->tlist->topLevelItem(i);
        EXPECT_EQ(entry->text(0), QString("Track %1").arg(i + 1));
        EXPECT_EQ(entry->text(1), QString("%1").arg(i + 1, 2, 10, QChar('0')));
        EXPECT_EQ(entry->text(2), "0:02");
    }
    clsRIP rip;
    rip.setImagesFolder(images());
    ASSERT_TRUE(rip.ReadDisc(1));
    EXPECT_EQ(panel->cdNumber(), 1);
    EXPECT_EQ(panel->cdiTracks->text(), "12");
    EXPECT_EQ(panel->cdiLength->text(), rip.DiscLength());
    EXPECT_EQ(panel->cdiID->text(),
              QString::number(rip.DiscId().toUInt(nullptr, 16), 16).toUpper());
    EXPECT_EQ(panel->cddbQuery(), rip.CddbQuery());
    EXPECT_TRUE(panel->cddbQuery().startsWith("cddb query "));
    EXPECT_TRUE(panel->btGetCDInfo->isEnabled());
    EXPECT_TRUE(panel->btRipCD[0]->isEnabled());
    EXPECT_TRUE(panel->btRipCD[1]->isEnabled());
}

TEST_F(AcdPanelTest, NumbersOutsideTheWatchersCountLeaveThePanelEmpty) {
    const auto image = startWithDisc(3);
    form->ShowCD(1);
    panel->cdiArtist->setText("typed");
    panel->cdiGenre->setCurrentIndex(3);
    form->ShowCD(2);
    expectReset();
    form->ShowCD(1);
    form->ShowCD(0);
    expectReset();

    // The disc goes; its node, still selected, now stands for nothing.
    ASSERT_TRUE(QFile::remove(image.cuePath));
    form->cdSniff()->Poll();
    form->ShowCD(1);
    expectReset();
    ripped.clear();
    QTest::mouseClick(panel->btRipCD[0], Qt::LeftButton);
    panel->RipCD(0);
    EXPECT_TRUE(ripped.isEmpty()) << "an empty list rips nothing";
}

TEST_F(AcdPanelTest, RipButtonsPassTheChosenTracksInDiscOrder) {
    startWithDisc(12);
    showPanel();
    panel->cdiArtist->setText("Artist");
    panel->cdiAlbum->setText("Album");
    panel->cdiYear->setText("1999");
    panel->cdiGenre->setCurrentIndex(panel->cdiGenre->findText("Jazz"));

    QTest::mouseClick(panel->btRipCD[1], Qt::LeftButton);
    ASSERT_EQ(ripped.size(), 1) << "the wizard opens even for no tracks";
    EXPECT_TRUE(ripped[0].tracks.isEmpty());

    // Rows 2 and 5, the second added with Ctrl; clicked bottom-up, passed top-down.
    QTest::mouseClick(panel->tlist->viewport(), Qt::LeftButton, {}, rowCentre(4));
    QTest::mouseClick(panel->tlist->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(1));
    QTest::mouseClick(panel->btRipCD[1], Qt::LeftButton);
    ASSERT_EQ(ripped.size(), 2);
    EXPECT_EQ(names(ripped[1]), QStringList({"2:Track 2", "5:Track 5"}));
    EXPECT_EQ(ripped[1].drive, 1);
    EXPECT_EQ(ripped[1].artist, "Artist");
    EXPECT_EQ(ripped[1].album, "Album");
    EXPECT_EQ(ripped[1].year, "1999");
    EXPECT_EQ(ripped[1].genreText, "Jazz");
    EXPECT_EQ(ripped[1].genreNumber, 8);

    QTest::mouseClick(panel->btRipCD[0], Qt::LeftButton);
    ASSERT_EQ(ripped.size(), 3);
    EXPECT_EQ(ripped[2].tracks.size(), 12) << "Rip all ignores the selection";
    EXPECT_EQ(ripped[2].tracks.last().number, 12);
}

TEST_F(AcdPanelTest, TitlesTypedInPlaceGoToTheWizard) {
    startWithDisc(4);
    showPanel();
    const QPoint first = rowCentre(0);
    QTest::mouseClick(panel->tlist->viewport(), Qt::LeftButton, {}, first);
    QTest::mouseDClick(panel->tlist->viewport(), Qt::LeftButton, {}, first);
    QApplication::processEvents();
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr) << "a double click opens the title for typing";
    editor->selectAll();
    QTest::keyClicks(editor, "Overture");
    QTest::keyClick(editor, Qt::Key_Return);

    // The length column stays as the disc has it.
    QTest::mouseDClick(panel->tlist->viewport(), Qt::LeftButton, {},
                       panel->tlist->visualItemRect(panel->tlist->topLevelItem(1)).topRight() +
                           QPoint(-4, 4));
    QApplication::processEvents();
    EXPECT_EQ(qobject_cast<QLineEdit*>(QApplication::focusWidget()), nullptr);

    QTest::mouseClick(panel->btRipCD[0], Qt::LeftButton);
    ASSERT_EQ(ripped.size(), 1);
    EXPECT_EQ(names(ripped[0]), QStringList({"1:Overture", "2:Track 2", "3:Track 3", "4:Track 4"}));
}

TEST_F(AcdPanelTest, InfoButtonFillsTheDiscFromTheLookUp) {
    startWithDisc(3);
    QStringList queries;
    CdInfo answer;
    answer.artist = "The Band";
    answer.album = "Live";
    answer.year = "1971";
    answer.category = "rock";
    answer.genre = "Proto-Something"; // no standard genre: the category decides
    answer.trackCount = 2;
    answer.tracks[0] = {"Opening", 1};
    answer.tracks[1] = {"Closing", 2};
    bool succeed = false;
    panel->setLookUp([&](const QString& query, CdInfo& info) {
        queries << query;
        if (succeed) info = answer;
        return succeed;
    });
    form->ShowCD(1);
    const QString query = panel->cddbQuery();

    panel->GetCDInfo();
    EXPECT_EQ(queries, QStringList({query}));
    EXPECT_EQ(panel->tlist->topLevelItem(0)->text(0), "Track 1")
        << "a failed look-up changes nothing";
    EXPECT_EQ(panel->cdiArtist->text(), "");

    succeed = true;
    panel->btGetCDInfo->click();
    EXPECT_EQ(panel->tlist->topLevelItem(0)->text(0), "Opening");
    EXPECT_EQ(panel->tlist->topLevelItem(1)->text(0), "Closing");
    EXPECT_EQ(panel->tlist->topLevelItem(2)->text(0), "") << "every entry takes its track's title";
    EXPECT_EQ(panel->cdiArtist->text(), "The Band");
    EXPECT_EQ(panel->cdiAlbum->text(), "Live");
    EXPECT_EQ(panel->cdiYear->text(), "1971");
    EXPECT_EQ(panel->cdiGenre->currentText(), "Rock");
    EXPECT_EQ(panel->cdiGenre->currentData().toInt(), 17);

    answer.genre = "jazz"; // a known genre text wins over the category
    panel->GetCDInfo();
    EXPECT_EQ(panel->cdiGenre->currentData().toInt(), 8);

    form->ShowCD(5); // no such CD: no query, so no look-up
    panel->GetCDInfo();
    EXPECT_EQ(queries.size(), 3);
}

TEST_F(AcdPanelTest, ClickingTheCdNodeShowsThePanel) {
    startWithDisc(5);
    form->resize(1000, 650);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTreeWidgetItem* node = form->tv1->node("_cdi1");
    ASSERT_NE(node, nullptr);
    form->tv1->scrollToItem(node);
    QTest::mouseClick(form->tv1->viewport(), Qt::LeftButton, {},
                      form->tv1->visualItemRect(node).center());
    EXPECT_EQ(form->listArea->currentWidget(), form->acdFrame);
    EXPECT_FALSE(form->menus().mnuList->isEnabled());
    EXPECT_EQ(panel->tlist->topLevelItemCount(), 5);
    EXPECT_EQ(panel->cdNumber(), 1);

    QTreeWidgetItem* library = form->tv1->node("_lib");
    ASSERT_NE(library, nullptr);
    QTest::mouseClick(form->tv1->viewport(), Qt::LeftButton, {},
                      form->tv1->visualItemRect(library).center());
    EXPECT_EQ(form->listArea->currentWidget(), static_cast<QWidget*>(form->llist));
    EXPECT_TRUE(form->menus().mnuList->isEnabled());
}

TEST_F(AcdPanelTest, GermanTextsReplaceTheCaptionsAndFit) {
    startWithDisc(2);
    showPanel();
    for (QAction* entry : form->menus().smLang)
        if (entry->data().toString() == "1031") entry->trigger();
    ASSERT_EQ(form->lang()->LCID(), 1031);
    QApplication::processEvents();
    EXPECT_EQ(panel->btRipCD[1]->text(), form->lang()->TextObj("mainForm.btRipCD(1).Caption"));
    EXPECT_EQ(panel->tlist->headerItem()->text(2), "Länge");
    EXPECT_EQ(panel->cdiTracks->text(), "2") << "the disc's facts are no captions";
    for (QWidget* w : panel->findChildren<QWidget*>()) {
        if (!qobject_cast<QLabel*>(w) && !qobject_cast<QPushButton*>(w)) continue;
        EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
    }
    const QHeaderView* header = panel->tlist->header();
    for (int c = 1; c < 3; ++c)
        EXPECT_GE(header->sectionSize(c), header->sectionSizeHint(c));
}
