// The main window's playback and file actions: the micro player's visibility,
// the copy dialog and the clipboard's file list.
#include "editing/ClipboardFiles.h"
#include "editing/widgets/fileCopyForm.h"
#include "library/widgets/mainForm.h"
#include "player/widgets/MicroPlayer.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class PlayActions : public ::testing::Test {
protected:
    AppSettings settings;
    mainForm form{settings};
    QTemporaryDir dir;
    void SetUp() override {
        form.restoreLayout();
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.path() + QLatin1Char('/') + name;
        QDir().mkpath(path.section(QLatin1Char('/'), 0, -2));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
};

} // namespace

TEST_F(PlayActions, MicroPlayerVisibilityRules) {
    ASSERT_TRUE(form.MicroPlayer->isHidden());
    // Playing shows the hidden player, ticks the View entry and remembers it.
    form.PlayWithMicroPlayer(write("a.mp3", "not really audio"), "Title A", 0);
    EXPECT_TRUE(form.MicroPlayer->isVisible());
    EXPECT_TRUE(settings.MPVisible);
    EXPECT_TRUE(form.menus().mnuMicroPlayer->isChecked());
    EXPECT_EQ(form.MicroPlayer->lblTitle->text(), "Title A");

    // Its close button hides it instead of closing it.
    form.MicroPlayer->btClose->click();
    EXPECT_TRUE(form.MicroPlayer->isHidden());
    EXPECT_FALSE(settings.MPVisible);
    EXPECT_FALSE(form.menus().mnuMicroPlayer->isChecked());
    EXPECT_EQ(form.MicroPlayer->playbackState(), QMediaPlayer::StoppedState);
    // The control lives on: the View menu brings it back with its title.
    form.menus().mnuMicroPlayer->trigger();
    EXPECT_TRUE(form.MicroPlayer->isVisible());
    EXPECT_EQ(form.MicroPlayer->lblTitle->text(), "Title A");
    // A shown player stays shown when the next file plays.
    form.PlayWithMicroPlayer(write("b.mp3", "x"), "Title B", 0);
    EXPECT_TRUE(form.MicroPlayer->isVisible());
    EXPECT_EQ(form.MicroPlayer->lblTitle->text(), "Title B");
}

TEST_F(PlayActions, ClipboardCarriesTwoFilesForFileManagers) {
    const QString a = write("one file.mp3", "1");
    const QString b = write("ü/two%.wma", "2");
    ASSERT_TRUE(form.CopyFilesToClipboard({a, QString(), b}));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasFormat(ClipboardFiles::UriListType));
    ASSERT_TRUE(data->hasFormat(ClipboardFiles::GnomeType));
    const QList<QByteArray> gnome = data->data(ClipboardFiles::GnomeType).split('\n');
    ASSERT_EQ(gnome.size(), 3);
    EXPECT_EQ(gnome[0], "copy");
    EXPECT_EQ(QUrl::fromEncoded(gnome[1]).toLocalFile(), a);
    EXPECT_EQ(QUrl::fromEncoded(gnome[2]).toLocalFile(), b);
    EXPECT_EQ(ClipboardFiles::PathsOf(*data), QStringList({a, b}));
    const QList<QUrl> urls = data->urls();
    ASSERT_EQ(urls.size(), 2);
    EXPECT_EQ(urls[1].toLocalFile(), b);

    // Nothing to copy: false, and the caller says so.
    EXPECT_FALSE(form.CopyFilesToClipboard({QString()}));
    ScriptedDialogs dialogs;
    form.CopyToClipboard({QString()});
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].style, Dialogs::OkOnly | Dialogs::Exclamation);
}

TEST_F(PlayActions, CopyDialogCancelsAfterTheCurrentFile) {
    const QString a =
        write("src/a very long folder name that cannot fit/" + QString(80, 'x') + ".mp3", "a");
    const QString b = write("src/b.mp3", "b");
    const QString dest = dir.path() + QStringLiteral("/dest/");
    QDir().mkpath(dest);
    write("dest/b.mp3", "old");

    fileCopyForm copy(&form);
    copy.AddPair(a, dest + QStringLiteral("a.mp3"));
    copy.AddPair(b, dest + QStringLiteral("b.mp3"));
    QStringList shown;
    copy.setStartingHook([&](int) {
        shown << copy.cFile[0]->text();
        // Pressed while the first file is copied.
        copy.btCancel->click();
    });
    copy.exec();
    EXPECT_EQ(copy.result(), 2);
    EXPECT_FALSE(copy.btCancel->isEnabled());
    EXPECT_TRUE(QFile::exists(dest + QStringLiteral("a.mp3")));
    QFile old(dest + QStringLiteral("b.mp3"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old") << "not reached";
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains("…") || shown[0].contains("..."));
    EXPECT_LE(QFontMetrics(copy.cFile[0]->font()).horizontalAdvance(shown[0]),
              fileCopyForm::PathWidth);
}
