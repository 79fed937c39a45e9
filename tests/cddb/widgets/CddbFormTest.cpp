// The CD information dialog against a local CDDB server, driven by clicks.
#include "cddb/widgets/cddbForm.h"
#include "core/AppInfo.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "lang/widgets/FormLang.h"
#include "library/widgets/configForm.h"
#include "support/FakeCddbServer.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

namespace {

clsMUI load(int lcid) {
    clsMUI lang;
    lang.SetLangFolder(mainMod::LangFolder());
    lang.SetLCID(lcid);
    return lang;
}

// Runs step on the dialog once ready(dialog) holds, checked from a timer: a
// wait inside a step would hold the dialog's own transfer loops below it.
void when(const std::function<bool(cddbForm&)>& ready, const std::function<void(cddbForm&)>& step) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [=] {
        auto* dialog = qobject_cast<cddbForm*>(QApplication::activeModalWidget());
        const bool ok = dialog && ready(*dialog);
        if (!ok && ++*tries < 500) return;
        timer->deleteLater();
        timer->stop();
        ASSERT_TRUE(ok) << "the dialog did not get there";
        step(*dialog);
    });
    timer->start(10);
}
bool choosing(cddbForm& d) {
    return d.asFrame->isVisible();
}

QStringList tracks(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace

class CddbFormTest : public ConfigDirTest {
protected:
    CddbFormTest() : lang(load(1033)) { mainMod::SetLang(&lang); }
    ~CddbFormTest() override { mainMod::SetLang(nullptr); }
    void SetUp() override {
        server.useInSettings();
        form.setCDDBQuery(QStringLiteral("cddb query 20027003 3 150 13800 28950 626"));
    }
    clsMUI lang;
    ScriptedDialogs dialogs;
    FakeCddbServer server;
    cddbForm form;
};

TEST_F(CddbFormTest, OneMatchIsReadWithoutTheSelectionView) {
    server.answer("cddb query", "200 rock 20027003 The Band / The Album\r\n");
    server.answer("cddb read",
                  FakeCddbServer::entry("rock 20027003", {"DYEAR=1987", "DGENRE=Blues",
                                                          "TTITLE0=One", "TTITLE1=Two"}));
    form.exec();
    EXPECT_TRUE(form.Success());
    EXPECT_FALSE(form.asFrame->isVisibleTo(&form)) << "the selection view never showed";
    EXPECT_EQ(server.commands.size(), 2);
    EXPECT_EQ(form.CDI_ARTIST() + form.CDI_ALBUM() + form.CDI_YEAR() + form.CDI_GENREDESC() +
                  form.CDI_CATEGORY(),
              QStringLiteral("The BandThe Album1987Bluesrock"));
    EXPECT_EQ(form.CDI_TRACKCOUNT(), 2);
    EXPECT_EQ(form.CDI_TRACK(1), QStringLiteral("Two"));
}

TEST_F(CddbFormTest, EveryCandidateIsReadThenTheClickedOneIsReturned) {
    server.answer("cddb query",
                  FakeCddbServer::inexact(
                      {"rock aaa A1 / First", "jazz bbb A2 / Second", "misc ccc A3 / Third"}));
    server.answer("cddb read rock", FakeCddbServer::entry("rock aaa", {"TTITLE0=a1"}));
    server.answer("cddb read jazz",
                  FakeCddbServer::entry("jazz bbb",
                                        {"DYEAR=2002", "DGENRE=Jazz", "TTITLE0=b1", "TTITLE1=b2"}));
    when(choosing, [&](cddbForm& d) {
        EXPECT_EQ(server.commands.size(), 4) << "every candidate is read first";
        EXPECT_EQ(d.windowTitle(), lang.Text(82));
        ASSERT_EQ(d.llist->topLevelItemCount(), 3);
        EXPECT_EQ(tracks(d.tlist), QStringList{"01 - a1"}) << "the first entry is shown";
        ASSERT_EQ(dialogs.asked.size(), 1) << "the third read fails and says so";
        EXPECT_EQ(dialogs.asked[0].title, lang.Text(89));
        const QRect second = d.llist->visualItemRect(d.llist->topLevelItem(1));
        QTest::mouseClick(d.llist->viewport(), Qt::LeftButton, {}, second.center());
        EXPECT_EQ(d.tlAlbum->text(), "Album/Year: Second (2002)\nArtist:A2\nGenre: Jazz");
        EXPECT_EQ(tracks(d.tlist), (QStringList{"01 - b1", "02 - b2"}));
        QTest::mouseClick(d.okBut, Qt::LeftButton);
    });
    form.exec();
    EXPECT_TRUE(form.Success());
    EXPECT_EQ(form.CDI_ALBUM() + form.CDI_CATEGORY() + form.CDI_TRACK(1), "Secondjazzb2");
    EXPECT_EQ(form.Candidates().at(2).album, QStringLiteral("Third"));
}

TEST_F(CddbFormTest, CancelInEitherViewReturnsNothing) {
    server.answer("cddb query", FakeCddbServer::inexact({"rock aaa A / X", "rock bbb B / Y"}));
    server.answer("cddb read", FakeCddbServer::entry("rock aaa", {"TTITLE0=t"}));
    when(choosing, [](cddbForm& d) { QTest::mouseClick(d.cancelBUT2, Qt::LeftButton); });
    form.exec();
    EXPECT_FALSE(form.Success());

    server.answer("cddb query", FakeCddbServer::Answer{{}, true}); // a server that keeps us waiting
    cddbForm waiting;
    waiting.setCDDBQuery(form.CDDBQuery());
    when([this](cddbForm&) { return server.commands.size() == 4; },
         [](cddbForm& d) { QTest::mouseClick(d.cancelBUT, Qt::LeftButton); });
    waiting.exec();
    EXPECT_FALSE(waiting.Success());
    EXPECT_FALSE(waiting.cancelBUT->isEnabled());
    ASSERT_EQ(dialogs.asked.size(), 1) << "the interrupted transfer is reported";
    EXPECT_EQ(dialogs.asked[0].text, lang.Text(84) + "\r\n" + lang.Text(85));
    EXPECT_EQ(dialogs.asked[0].title, lang.Text(86));
    EXPECT_EQ(dialogs.asked[0].style, Dialogs::Exclamation);
}

TEST_F(CddbFormTest, NothingIsClippedInAnyLanguage) {
    server.answer("cddb query", "202 No match found\r\n");
    form.exec();
    ASSERT_EQ(dialogs.asked.value(0).title, lang.Text(87));
    AppSettings settings = DefaultSettings();
    configForm config(settings);
    clsMUI designed;
    FormLang::CaptureFormData(designed, &form);
    FormLang::CaptureFormData(designed, &config);
    EXPECT_FALSE(designed.HasText("configForm.txtServer.Text")) << "values are not texts";
    for (const int lcid : {1033, 1031, 2070}) {
        clsMUI other = load(lcid);
        FormLang::SetFormLang(other, &form);
        FormLang::SetFormLang(other, &config);
        config.show();
        for (const bool selection : {false, true}) {
            form.mainFrame->setVisible(!selection);
            form.asFrame->setVisible(selection);
            form.show(); // after its look-up, showing starts no other
            QApplication::processEvents();
            for (QPushButton* b :
                 form.findChildren<QPushButton*>() + config.findChildren<QPushButton*>())
                if (b->isVisible()) {
                    EXPECT_GE(b->width(), b->sizeHint().width()) << lcid;
                }
        }
        for (QLabel* l : config.findChildren<QLabel*>())
            EXPECT_GE(l->width(), l->sizeHint().width()) << lcid << l->text().toStdString();
        EXPECT_EQ(config.cddbFrame->title(), other.TextObj("configForm.cddbFrame.Caption"));
        EXPECT_EQ(form.llist->headerItem()->text(2),
                  other.TextObj("cddbForm.llist.ColumnHeaders[3].Text"));
    }
}
