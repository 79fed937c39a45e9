#include "cd/CDSniff.h"
#include "components/TagService.h"
#include "core/Settings.h"
#include "lang/Mui.h"
#include "library/widgets/LibraryTreeWidget.h"
#include "library/widgets/mainForm.h"
#include "support/CdImage.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"
#include "util/widgets/popMsgClass.h"
#include "util/widgets/popMsgForm.h"

#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QTreeWidgetItem>

class CdWiring : public ConfigDirTest {
protected:
    QTemporaryDir data;
    ScriptedDialogs dialogs;
    AppSettings settings;

    CdWiring() { mainMod::WriteSetting("Misc\\ShowLoadWindow", "0"); }
    mainForm::StartupOptions options(QStringList args = {}) const {
        return {args, {}, data.path() + "/", {}};
    }
    QString images() const { return data.path() + "/cd-images"; }
    std::string nodeText(mainForm& form, const char* key) const {
        QTreeWidgetItem* item = form.tv1->node(key);
        return item ? item->text(0).toStdString() : "<none>";
    }
};

TEST_F(CdWiring, WatcherFeedsTheTreeAndStopsAtShutDown) {
    fixtures::WriteCdImage(images(), "first", {44100});
    mainForm form(settings);
    ASSERT_TRUE(form.StartUp(options()));
    ASSERT_NE(form.cdSniff(), nullptr);
    EXPECT_TRUE(form.cdSniff()->IsWatching());
    EXPECT_EQ(nodeText(form, "_cdi1"), "first.cue");
    EXPECT_EQ(nodeText(form, "_cdi2"), "<none>");

    const auto second = fixtures::WriteCdImage(images(), "second", {44100, 2000});
    form.cdSniff()->Poll();
    EXPECT_EQ(nodeText(form, "_cdi2"), "second.cue");
    ASSERT_EQ(form.popups()->forms().size(), 1) << "an inserted CD is announced";
    EXPECT_EQ(form.popups()->forms()[0]->MText(), form.lang()->Text(17));
    EXPECT_EQ(form.popups()->forms()[0]->mTitle(), form.lang()->Text(18));

    ASSERT_TRUE(QFile::remove(second.cuePath));
    form.cdSniff()->Poll();
    EXPECT_EQ(nodeText(form, "_cdi2"), "<none>");
    EXPECT_EQ(nodeText(form, "_cdi1"), "first.cue");
    EXPECT_EQ(form.popups()->forms().size(), 1) << "a removal is not announced";

    form.Shutdown();
    EXPECT_EQ(form.cdSniff(), nullptr);
}

TEST_F(CdWiring, AfterARemovalTheNodesNameTheirDiscs) {
    const auto first = fixtures::WriteCdImage(images(), "a first", {44100});
    fixtures::WriteCdImage(images(), "b second", {44100});
    mainForm form(settings);
    ASSERT_TRUE(form.StartUp(options()));
    ASSERT_EQ(nodeText(form, "_cdi2"), "b second.cue");
    ASSERT_TRUE(QFile::remove(first.cuePath));
    form.cdSniff()->Poll();
    EXPECT_EQ(nodeText(form, "_cdi1"), "b second.cue") << "CD 1 is the other disc now";
    EXPECT_EQ(nodeText(form, "_cdi2"), "<none>");
    form.Shutdown();
}

TEST_F(CdWiring, NoPopupWhenSwitchedOffAndNoBranchWithoutCds) {
    mainMod::WriteSetting("WMsg\\NewAudioCD", "0");
    mainForm form(settings);
    ASSERT_TRUE(form.StartUp(options()));
    EXPECT_EQ(form.tv1->node("_cdl"), nullptr);
    fixtures::WriteCdImage(images(), "late", {44100});
    form.cdSniff()->Poll();
    EXPECT_EQ(nodeText(form, "_cdi1"), "late.cue");
    EXPECT_TRUE(form.popups()->forms().isEmpty());
    form.Shutdown();
}

TEST_F(CdWiring, DevModeCreatesTheWatcherWithoutStartingIt) {
    mainForm form(settings);
    ASSERT_TRUE(form.StartUp(options({"devmode"})));
    ASSERT_NE(form.cdSniff(), nullptr);
    EXPECT_FALSE(form.cdSniff()->IsWatching());
    form.Shutdown();
}

TEST_F(CdWiring, TheCdPanelListsTheGenres) {
    mainForm form(settings);
    ASSERT_TRUE(form.StartUp(options()));
    ASSERT_NE(form.cdiGenre, nullptr);
    EXPECT_TRUE(form.acdFrame->isAncestorOf(form.cdiGenre));
    const auto genres = TagService::GenreList();
    ASSERT_EQ(form.cdiGenre->count(), genres.size());
    EXPECT_EQ(form.cdiGenre->currentIndex(), 0);
    EXPECT_EQ(form.cdiGenre->itemText(0), "");
    EXPECT_EQ(form.cdiGenre->itemData(0).toInt(), 255);
    const int rock = form.cdiGenre->findText("Rock");
    ASSERT_GE(rock, 0);
    EXPECT_EQ(form.cdiGenre->itemData(rock).toInt(), 17);
    form.Shutdown();
}
