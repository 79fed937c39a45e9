#include "util/widgets/Popups.h"
#include "util/widgets/popMsgClass.h"
#include "util/widgets/popMsgForm.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

bool waitSlidIn(popMsgForm* form) {
    return QTest::qWaitFor([&] { return form->closeButtonVisible(); }, 3000);
}

} // namespace

TEST(Popups, StackAtOnePlaceAndLeaveAfterTheirOwnTimes) {
    QWidget mainWindow;
    mainWindow.show();
    mainWindow.activateWindow();
    popMsgClass popups;
    popups.setShowTime(1);
    QPointer<popMsgForm> first = popups.PopMessage();
    popups.setShowTime(2);
    QPointer<popMsgForm> second = popups.PopMessage();
    ASSERT_TRUE(waitSlidIn(first));
    ASSERT_TRUE(waitSlidIn(second));

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(first->pos(), second->pos());
    EXPECT_EQ(first->geometry().right(), screen.right());
    EXPECT_EQ(first->geometry().bottom(), work.bottom()) << "rests on top of the task bar";
    EXPECT_FALSE(first->isActiveWindow()) << "a notice never takes the focus";
    EXPECT_EQ(popups.forms().size(), 2);

    EXPECT_TRUE(QTest::qWaitFor([&] { return first.isNull(); }, 3000));
    EXPECT_FALSE(second.isNull()) << "the second keeps its own show time";
    EXPECT_TRUE(QTest::qWaitFor([&] { return second.isNull(); }, 3000));
    EXPECT_TRUE(popups.forms().isEmpty());
}

TEST(Popups, ClickKeepsTheNoticeForTheIdleTimeout) {
    popMsgClass popups;
    popups.setShowTime(1);
    popups.setIdleTimeout(3);
    QPointer<popMsgForm> form = popups.PopMessage();
    EXPECT_EQ(form->phase(), popMsgForm::ShowTimeRunning);
    ASSERT_TRUE(waitSlidIn(form));
    QTest::mouseClick(form, Qt::LeftButton, {}, QPoint(100, 60));
    EXPECT_EQ(form->phase(), popMsgForm::IdleTimeRunning);
    QTest::mouseClick(form->findChild<QWidget*>("leftBar"), Qt::LeftButton);
    EXPECT_EQ(form->phase(), popMsgForm::IdleTimeRunning);
    QTest::qWait(1600);
    ASSERT_FALSE(form.isNull()) << "still there after the show time";
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.isNull(); }, 4000));
}

TEST(Popups, CloseButtonIconsAndDestroyAll) {
    popMsgClass popups;
    popups.setIcon(0);
    QPointer<popMsgForm> none = popups.PopMessage();
    EXPECT_TRUE(none->iconPicture().isNull());

    popMsgForm designed;
    const qint64 designedKey = designed.iconPicture().cacheKey();
    popups.setIcon(8);
    QPointer<popMsgForm> eight = popups.PopMessage();
    EXPECT_EQ(eight->iconPicture().isNull(), designed.iconPicture().isNull());
    popups.setIcon(16);
    QPointer<popMsgForm> error = popups.PopMessage();
    EXPECT_NE(error->iconPicture().cacheKey(), designedKey);

    ASSERT_TRUE(waitSlidIn(none));
    QTest::mouseClick(none->findChild<QWidget*>("xBut"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return none.isNull(); }, 2000));

    popups.DestroyAll();
    EXPECT_TRUE(eight.isNull());
    EXPECT_TRUE(error.isNull());
}

TEST(Popups, ShowPopupNeedsAManager) {
    mainMod::SetPopups(nullptr);
    mainMod::ShowPopup("ignored", 64, "t", 1); // nothing to show it with
    {
        popMsgClass popups;
        mainMod::SetPopups(&popups);
        popups.setIdleTimeout(5);
        mainMod::ShowPopup("Running", 48, "Warning", 3);
        ASSERT_EQ(popups.forms().size(), 1);
        popMsgForm* form = popups.forms().first();
        EXPECT_EQ(form->mTitle(), "Warning");
        EXPECT_EQ(form->MText(), "Running");
        EXPECT_EQ(form->MIdleTimeout(), 60) << "the manager was reset first";
    }
    EXPECT_EQ(mainMod::Popups(), nullptr);
}

TEST(Popups, EveryLineOfALongNoticeIsShown) {
    // The refresh notice as German words it: five lines, the longest wrapping.
    const QString text =
        "Die Aktualisierung der Bibliothek ist abgeschlossen.\r\nGeprüfte Dateien: "
        "120\r\nHinzugefügte Dateien: 7\r\nAktualisierte Dateien: 2\r\nEntfernte "
        "Dateien: 3";
    popMsgClass popups;
    popups.setTitle("Bibliotheksaktualisierung");
    popups.setText(text);
    QPointer<popMsgForm> form = popups.PopMessage();
    ASSERT_TRUE(waitSlidIn(form));
    const QStringList lines = form->shownLines();
    EXPECT_TRUE(lines.last().endsWith("Entfernte Dateien: 3")) << lines.join('|').toStdString();
    const int lineHeight = QFontMetrics(form->font()).height();
    const int lastBottom = form->textTop() + static_cast<int>(lines.size()) * lineHeight;
    EXPECT_LE(lastBottom, form->height() - 4) << "the last line fits inside the border";
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(form->geometry().bottom(), work.bottom()) << "grows upwards, above the task bar";

    // Ink where the last line is drawn.
    const QImage shot = form->grab().toImage();
    bool ink = false;
    for (int y = lastBottom - lineHeight; y < lastBottom && !ink; ++y)
        for (int x = 0; x < shot.width() && !ink; ++x)
            ink = qGray(shot.pixel(x, y)) < 100;
    EXPECT_TRUE(ink);
    popups.DestroyAll();
}
