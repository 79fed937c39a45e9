// The CD information dialog against a local CDDB server, driven by clicks.
#include "cddb/widgets/cddbForm.h"
#include "core/AppInfo.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "lang/widgets/FormLang.h"
#include "library/widgets/configForm.h"
#include "support/FakeCddbServer.h"
#include "support/ModalWindows.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

clsMUI load(int lcid) {
    clsMUI lang;
    lang.SetLangFolder(mainMod::LangFolder());
    lang.SetLCID(lcid);
    return lang;
}

// Records whether a widget was ever shown.
struct ShowSpy : QObject {
    bool shown = false;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Show) shown = true;
        return false;
    }
};

QStringList items(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// Runs step on the dialog once its selection view shows. Checked from a timer
// rather than waited for inside a step, since a wait there would hold the
// dialog's own transfer loops below it.
void whenChoosing(const std::function<void(cddbForm&)>& step) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, step] {
        auto* dialog = qobject_cast<cddbForm*>(QApplication::activeModalWidget());
        const bool ready = dialog && dialog->asFrame->isVisible();
        if (!ready && ++*tries < 500) return;
        timer->stop();
        timer->deleteLater();
        ASSERT_TRUE(ready) << "the selection view did not show";
        step(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    timer->start(10);
}

const QString kQuery = QStringLiteral("cddb query 20027003 3 150 13800 28950 626");

} // namespace

class CddbFormTest : public ConfigDirTest {
protected:
    CddbFormTest() : lang(load(1033)) { mainMod::SetLang(&lang); }
    ~CddbFormTest() override { mainMod::SetLang(nullptr); }
    void SetUp() override { server.useInSettings(); }

    clsMUI lang;
    ScriptedDialogs dialogs;
    FakeCddbServer server;
};

TEST_F(CddbFormTest, OneMatchIsReadWithoutTheSelectionView) {
    server.answer("cddb query", FakeCddbServer::exact("rock 20027003 The Band / The Album"));
    server.answer("cddb read rock 20027003",
                  FakeCddbServer::entry("rock", "20027003",
                                        {"DYEAR=1987", "DGENRE=Blues", "TTITLE0=One", "TTITLE1=Two",
                                         "TTITLE2=Three"}));
    cddbForm form;
    ShowSpy spy;
    form.asFrame->installEventFilter(&spy);
    form.setCDDBQuery(kQuery);
    form.exec();
    EXPECT_TRUE(form.Success());
    EXPECT_FALSE(spy.shown);
    EXPECT_EQ(server.commands(), (QStringList{kQuery, "cddb read rock 20027003"}));
    EXPECT_EQ(form.CDI_ARTIST(), QStringLiteral("The Band"));
    EXPECT_EQ(form.CDI_ALBUM(), QStringLiteral("The Album"));
    EXPECT_EQ(form.CDI_YEAR(), QStringLiteral("1987"));
    EXPECT_EQ(form.CDI_GENREDESC(), QStringLiteral("Blues"));
    EXPECT_EQ(form.CDI_CATEGORY(), QStringLiteral("rock"));
    EXPECT_EQ(form.CDI_TRACKCOUNT(), 3);
    EXPECT_EQ(form.CDI_TRACK(2), QStringLiteral("Three"));
    EXPECT_TRUE(dialogs.asked.isEmpty());
}

TEST_F(CddbFormTest, SeveralMatchesAreAllReadThenTheClickedOneIsReturned) {
    server.answer("cddb query", FakeCddbServer::inexact({"rock aaa First Artist / First",
                                                         "jazz bbb Second Artist / Second",
                                                         "misc ccc Third Artist / Third"}));
    server.answer("cddb read rock aaa", FakeCddbServer::entry("rock", "aaa", {"TTITLE0=a1"}));
    server.answer("cddb read jazz bbb",
                  FakeCddbServer::entry("jazz", "bbb",
                                        {"DYEAR=2002", "DGENRE=Jazz", "TTITLE0=b1", "TTITLE1=b2"}));
    // The third read fails: its candidate stays with the match line's data.
    server.answer("cddb read misc ccc", "401 misc ccc No such CD entry in database.\r\n");
    cddbForm form;
    form.setCDDBQuery(kQuery);
    bool stepped = false;
    whenChoosing([&](cddbForm& d) {
        stepped = true;
        EXPECT_EQ(server.commands().size(), 4) << "every candidate is read first";
        EXPECT_FALSE(d.mainFrame->isVisible());
        EXPECT_EQ(d.windowTitle(), lang.Text(82));
        ASSERT_EQ(d.llist->topLevelItemCount(), 3);
        EXPECT_EQ(d.llist->topLevelItem(1)->text(1), QStringLiteral("Second Artist"));
        EXPECT_EQ(d.llist->topLevelItem(1)->text(2), QStringLiteral("jazz"));
        EXPECT_EQ(items(d.tlist), QStringList{"01 - a1"}) << "the first entry is shown";
        ASSERT_EQ(dialogs.asked.size(), 1);
        EXPECT_EQ(dialogs.asked[0].title, lang.Text(89));

        QTreeWidgetItem* second = d.llist->topLevelItem(1);
        QTest::mouseClick(d.llist->viewport(), Qt::LeftButton, {},
                          d.llist->visualItemRect(second).center());
        EXPECT_EQ(d.tlAlbum->text(),
                  QStringLiteral("Album/Year: Second (2002)\nArtist:Second Artist\nGenre: Jazz"));
        EXPECT_EQ(items(d.tlist), (QStringList{"01 - b1", "02 - b2"}));
        QTest::mouseClick(d.okBut, Qt::LeftButton);
    });
    form.exec();
    ASSERT_TRUE(stepped);
    EXPECT_TRUE(form.Success());
    EXPECT_EQ(form.CDI_ALBUM(), QStringLiteral("Second"));
    EXPECT_EQ(form.CDI_CATEGORY(), QStringLiteral("jazz"));
    EXPECT_EQ(form.CDI_TRACKCOUNT(), 2);
    EXPECT_EQ(form.CDI_TRACK(1), QStringLiteral("b2"));
    EXPECT_EQ(form.Candidates().at(2).album, QStringLiteral("Third"));
    EXPECT_EQ(form.Candidates().at(2).trackCount, 0);
}

TEST_F(CddbFormTest, CancelInTheSelectionViewReturnsNothing) {
    server.answer("cddb query", FakeCddbServer::inexact({"rock aaa A / X", "rock bbb B / Y"}));
    server.answer("cddb read", FakeCddbServer::entry("rock", "aaa", {"TTITLE0=t"}));
    cddbForm form;
    form.setCDDBQuery(kQuery);
    whenChoosing([](cddbForm& d) { QTest::mouseClick(d.cancelBUT2, Qt::LeftButton); });
    form.exec();
    EXPECT_FALSE(form.Success());
    EXPECT_EQ(form.CDI_TRACKCOUNT(), 0);
}

TEST_F(CddbFormTest, CancelWhileWaitingStopsTheTransfer) {
    server.answer("cddb query", FakeCddbServer::Answer{FakeCddbServer::noMatch(), 0, true});
    cddbForm form;
    form.setCDDBQuery(kQuery);
    whenShown<cddbForm>([this](cddbForm& d) {
        ASSERT_TRUE(QTest::qWaitFor([this] { return server.requests().size() == 1; }, 5000));
        QTest::mouseClick(d.cancelBUT, Qt::LeftButton);
        EXPECT_FALSE(d.cancelBUT->isEnabled());
    });
    form.exec();
    EXPECT_FALSE(form.Success());
    EXPECT_EQ(server.requests().size(), 1);
    ASSERT_EQ(dialogs.asked.size(), 1) << "the interrupted transfer reports no answer";
    EXPECT_EQ(dialogs.asked[0].title, lang.Text(86));
    EXPECT_EQ(dialogs.asked[0].text, lang.Text(84) + "\r\n" + lang.Text(85));
}

TEST_F(CddbFormTest, NoMatchAndDeadServerShowTheirMessages) {
    server.answer("cddb query", FakeCddbServer::noMatch());
    cddbForm form;
    form.setCDDBQuery(kQuery);
    form.exec();
    EXPECT_FALSE(form.Success());
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].title, lang.Text(87));
    EXPECT_EQ(dialogs.asked[0].style, Dialogs::Exclamation);
}

TEST_F(CddbFormTest, EveryLanguageHasTheKeysAndNothingIsClipped) {
    AppSettings settings = DefaultSettings();
    cddbForm designedForm;
    configForm designedConfig(settings);
    clsMUI designed;
    FormLang::CaptureFormData(designed, &designedForm);
    FormLang::CaptureFormData(designed, &designedConfig);
    const QStringList keys = designed.Texts().keys();
    ASSERT_TRUE(keys.contains("cddbForm.llist.ColumnHeaders[3].Text"));
    ASSERT_TRUE(keys.contains("configForm.lblHelloUser.Caption"));
    EXPECT_FALSE(keys.contains("configForm.txtServer.Text")) << "values are not texts";
    for (const int lcid : {1033, 1031, 2070}) {
        clsMUI other = load(lcid);
        ASSERT_EQ(other.LCID(), lcid);
        for (const QString& key : keys)
            EXPECT_TRUE(other.HasText(key)) << lcid << " " << key.toStdString();
        mainMod::SetLang(&other);
        // The progress view while the server keeps it waiting, then the selection view.
        auto noneClipped = [lcid](QWidget& window) {
            for (QPushButton* b : window.findChildren<QPushButton*>())
                if (b->isVisible()) {
                    EXPECT_GE(b->width(), b->sizeHint().width()) << lcid << b->text().toStdString();
                }
            for (QLabel* l : window.findChildren<QLabel*>())
                if (l->isVisible() && !l->wordWrap()) {
                    EXPECT_GE(l->width(), l->sizeHint().width()) << lcid << l->text().toStdString();
                }
        };
        server.answer("cddb query", FakeCddbServer::Answer{{}, 0, true});
        cddbForm waiting;
        waiting.setCDDBQuery(kQuery);
        whenShown<cddbForm>([&](cddbForm& d) {
            EXPECT_EQ(d.windowTitle(), other.TextObj("cddbForm.Caption"));
            EXPECT_EQ(d.actionLbl->text(), other.TextObj("cddbForm.actionLbl.Caption"));
            noneClipped(d);
            QTest::mouseClick(d.cancelBUT, Qt::LeftButton);
        });
        waiting.exec();
        server.answer("cddb query", FakeCddbServer::inexact({"rock a A / X", "rock b B / Y"}));
        server.answer("cddb read", FakeCddbServer::entry("rock", "a", {"TTITLE0=t"}));
        cddbForm choosing;
        choosing.setCDDBQuery(kQuery);
        whenChoosing([&](cddbForm& d) {
            EXPECT_EQ(d.windowTitle(), other.Text(82));
            EXPECT_EQ(d.llist->headerItem()->text(1),
                      other.TextObj("cddbForm.llist.ColumnHeaders[2].Text"));
            noneClipped(d);
            QTest::mouseClick(d.cancelBUT2, Qt::LeftButton);
        });
        choosing.exec();
        configForm config(settings);
        FormLang::SetFormLang(&config);
        config.show();
        QApplication::processEvents();
        for (QPushButton* b : config.findChildren<QPushButton*>())
            EXPECT_GE(b->width(), b->sizeHint().width()) << lcid << b->text().toStdString();
        for (QLabel* l : config.findChildren<QLabel*>())
            EXPECT_GE(l->width(), l->sizeHint().width()) << lcid << l->text().toStdString();
        EXPECT_EQ(config.cddbFrame->title(), other.TextObj("configForm.cddbFrame.Caption"));
        mainMod::SetLang(&lang);
    }
}
