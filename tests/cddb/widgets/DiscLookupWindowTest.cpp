// The list's CDDB look-up of the selection on the real main window: the
// selection taken as one disc, its data written to real MP3 files.
#include "components/AudioFile.h"
#include "components/MediaLibrary.h"
#include "core/LibraryPaths.h"
#include "lang/AppLang.h"
#include "library/widgets/FileListView.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/mainForm.h"
#include "support/AudioFixtures.h"
#include "support/FakeCddbServer.h"
#include "support/widgets/MainWindowFixture.h"

#include <QAction>
#include <QDir>
#include <gtest/gtest.h>

namespace {

class DiscLookupWindow : public StartedMainWindow {
protected:
    FakeCddbServer server;
    QList<qint64> ids; // in list order

    DiscLookupWindow() { server.useInSettings(); }
    // The window stays hidden: the entry is triggered directly.
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartedMainWindow::SetUp());
        ASSERT_NO_FATAL_FAILURE(addMusic(10, [](int) { return fixtures::ArtistOnly("Before"); }));
        ids = listAll("filename desc");
        ASSERT_EQ(ids.size(), 10);
    }
    void selectRows(int count) {
        QList<int> rows;
        for (int r = 0; r < count; ++r)
            rows << r;
        StartedMainWindow::selectRows(rows);
    }
};

} // namespace

TEST_F(DiscLookupWindow, AnEightTrackDiscTagsTheFirstEightOfTenFiles) {
    QList<QByteArray> lines{"DYEAR=1999", "DGENRE=Jazz"};
    for (int n = 0; n < 8; ++n)
        lines << "TTITLE" + QByteArray::number(n) + "=Track \xe9" + QByteArray::number(n + 1);
    server.answer("cddb query", "200 jazz 0a0b0c0d New Artist / New Album\r\n");
    server.answer("cddb read", FakeCddbServer::entry("jazz 0a0b0c0d", lines));
    selectRows(10);
    form->menus().smList2[6]->trigger();
    EXPECT_TRUE(dialogs.asked.isEmpty()) << "ten files do not ask first";
    ASSERT_EQ(server.commands.size(), 2);
    EXPECT_EQ(server.commands[0].section(' ', 3, 3), QStringLiteral("10")) << "a track a file";
    for (int r = 0; r < 10; ++r) {
        const AudioFacts file = ReadAudioFacts(field(ids[r], FileField::FullPath));
        const QString row =
            field(ids[r], FileField::Track) + '|' + field(ids[r], FileField::Title) + '|' +
            field(ids[r], FileField::Artist) + '|' + field(ids[r], FileField::Album) + '|' +
            field(ids[r], FileField::Year) + '|' + field(ids[r], FileField::GenreNumber) + '|' +
            field(ids[r], FileField::GenreText);
        if (r < 8) {
            EXPECT_EQ(
                row,
                QStringLiteral("%1|Track \u00e9%1|New Artist|New Album|1999|8|Jazz").arg(r + 1));
            EXPECT_EQ(QString::fromStdString(file.title),
                      QStringLiteral("Track \u00e9%1").arg(r + 1));
            EXPECT_EQ(file.genre, "Jazz");
        } else {
            EXPECT_EQ(field(ids[r], FileField::Artist), QStringLiteral("Before")) << r;
            EXPECT_EQ(file.artist, "Before") << "beyond the disc's tracks";
        }
    }
}

TEST_F(DiscLookupWindow, FewerThanFourFilesAskFirst) {
    selectRows(3);
    dialogs.answers = {Dialogs::No};
    form->menus().smList2[6]->trigger();
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked[0].title, mainMod::LangText(42));
    EXPECT_EQ(dialogs.asked[0].text, mainMod::LangText(43, {QStringLiteral("127.0.0.1")}));
    EXPECT_TRUE(server.commands.isEmpty());
    server.answer("cddb query", "202 No match found\r\n");
    form->menus().smList2[6]->trigger(); // Yes: looks up; no match changes nothing
    EXPECT_EQ(server.commands.size(), 1);
    EXPECT_EQ(field(ids[0], FileField::Artist), QStringLiteral("Before"));
}
