// The media-library object: opening, records and fields, cover art, and the
// refresh running in its worker thread with signals on the owner's thread.
#include "components/CoverArt.h"
#include "core/OleDate.h"
#include "support/LibraryFixture.h"
#include "support/TestEnv.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

TEST_F(LibraryTest, OpenCompactAndClose) {
    EXPECT_TRUE(lib.IsOpen());
    EXPECT_EQ(lib.DatabasePath(), dbPath());
    ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/a.mp3"), fixtures::ArtistOnly("A")));
    ASSERT_GT(lib.AddLibraryFile(music() + QStringLiteral("/a.mp3")), 0);
    EXPECT_TRUE(lib.Compact());
    EXPECT_TRUE(lib.IsOpen());
    EXPECT_GT(idOf("a.mp3"), 0);
    MediaLibrary other;
    EXPECT_FALSE(other.OpenLibrary(QString()));
    EXPECT_FALSE(other.IsOpen());
    EXPECT_FALSE(other.OpenLibrary(dir() + QStringLiteral("/missing.qvd")));
    EXPECT_FALSE(QFile::exists(dir() + QStringLiteral("/missing.qvd")));
    EXPECT_FALSE(other.RefreshLibrary());
    FileRecord r;
    EXPECT_FALSE(other.GetFileRecord(1, r));
    lib.CloseLibrary();
    EXPECT_FALSE(lib.IsOpen());
    EXPECT_FALSE(lib.Compact());
}

TEST_F(LibraryTest, FieldsReadAndWriteByCode) {
    ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/a.mp3"),
                                   {"Art", "Alb", "Tit", "2", "1999", "Rock", QString()}));
    const qint32 id = lib.AddLibraryFile(music() + QStringLiteral("/a.mp3"));
    ASSERT_GT(id, 0);
    EXPECT_EQ(lib.AddLibraryFile(music() + QStringLiteral("/a.mp3")), id); // again: same row
    EXPECT_EQ(lib.AddLibraryFile(music() + QStringLiteral("/none.mp3")), 0);
    EXPECT_EQ(lib.GetFileField(id, FileField::FileName).toString(), "a.mp3");
    EXPECT_EQ(lib.GetFileField(id, FileField::FileTitle).toString(), "a");
    EXPECT_EQ(lib.GetFileField(id, FileField::FullPath).toString(),
              music() + QStringLiteral("/a.mp3"));
    EXPECT_EQ(lib.GetFileField(id, FileField::Size).toLongLong(),
              QFileInfo(music() + QStringLiteral("/a.mp3")).size());
    EXPECT_NEAR(lib.GetFileField(id, FileField::Duration).toDouble(), 0.5, 0.2);
    EXPECT_EQ(lib.GetFileField(id, FileField::Album).toString(), "Alb");
    EXPECT_EQ(lib.GetFileField(id, FileField::Artist).toString(), "Art");
    EXPECT_EQ(lib.GetFileField(id, FileField::Title).toString(), "Tit");
    EXPECT_EQ(lib.GetFileField(id, FileField::Year).toString(), "1999");
    EXPECT_EQ(lib.GetFileField(id, FileField::GenreNumber).toInt(), 17);
    EXPECT_EQ(lib.GetFileField(id, FileField::PlayCount).toInt(), 0);
    EXPECT_FALSE(lib.GetFileField(id, FileField::LastPlayed).toDateTime().isValid());
    EXPECT_TRUE(lib.GetFileField(id, FileField::FileDate).toDateTime().isValid());
    EXPECT_FALSE(lib.GetFileField(id, 99).isValid());
    EXPECT_FALSE(lib.GetFileField(id + 100, FileField::Artist).isValid());

    // Playing a file: count + 1, last play now.
    const QDateTime played = QDateTime::currentDateTime().addSecs(-5);
    ASSERT_TRUE(lib.SetFileField(id, FileField::PlayCount,
                                 lib.GetFileField(id, FileField::PlayCount).toInt() + 1));
    ASSERT_TRUE(lib.SetFileField(id, FileField::LastPlayed, played));
    ASSERT_TRUE(lib.SetFileField(id, FileField::Rating, 4));
    EXPECT_EQ(lib.GetFileField(id, FileField::PlayCount).toInt(), 1);
    EXPECT_EQ(lib.GetFileField(id, FileField::LastPlayed).toDateTime().toSecsSinceEpoch(),
              played.toSecsSinceEpoch());
    EXPECT_EQ(lib.GetFileField(id, FileField::Rating).toInt(), 4);
    // Renaming: the row follows the new path (rows only; the file is not touched).
    ASSERT_TRUE(lib.SetFileField(id, FileField::FullPath, music() + QStringLiteral("/b.mp3")));
    ASSERT_TRUE(lib.SetFileField(id, FileField::FileName, "b.mp3"));
    EXPECT_EQ(lib.GetFileField(id, FileField::FileName).toString(), "b.mp3");
    EXPECT_FALSE(lib.SetFileField(id, FileField::Id, 5));
    EXPECT_FALSE(lib.SetFileField(id, FileField::Rating, "many"));
    EXPECT_FALSE(lib.SetFileField(id + 100, FileField::Rating, 1));
    EXPECT_FALSE(lib.SetFileField(id, 99, 1));
}

TEST_F(LibraryTest, RecordsByIdPathOrFileOutsideTheLibrary) {
    const QString path = music() + QStringLiteral("/Rec.mp3");
    ASSERT_TRUE(fixtures::WriteMp3(path, {"Art", "Alb", "Tit", "9", "2001", "Jazz", QString()}));
    FileRecord r;
    // Not in the library yet: read from the file, id 0.
    ASSERT_TRUE(lib.GetFileRecord(path, r));
    EXPECT_EQ(r.id, 0);
    EXPECT_EQ(r.artist, "Art");
    EXPECT_EQ(r.type, "MP3");
    EXPECT_EQ(r.genreNumber, 8);
    EXPECT_FALSE(r.added.isValid());
    const qint32 id = lib.AddLibraryFile(path);
    ASSERT_TRUE(lib.GetFileRecord(QString::number(id), r));
    EXPECT_EQ(r.id, id);
    EXPECT_EQ(r.fullPath, path);
    EXPECT_EQ(r.fileName, "Rec.mp3");
    EXPECT_EQ(r.track, "9");
    EXPECT_EQ(r.year, "2001");
    EXPECT_EQ(r.genreText, "Jazz");
    EXPECT_EQ(r.bitrate, 128000);
    EXPECT_EQ(r.bitrateText, "128 Kbps");
    EXPECT_EQ(r.frequencyText, "44.10 KHz");
    EXPECT_EQ(r.durationText, "00:00:00");
    EXPECT_TRUE(r.added.isValid());
    EXPECT_TRUE(r.updated.isValid());
    FileRecord byPath;
    ASSERT_TRUE(lib.GetFileRecord(path, byPath));
    EXPECT_EQ(byPath.id, id);
    EXPECT_FALSE(lib.GetFileRecord(music() + QStringLiteral("/missing.mp3"), r));
    EXPECT_FALSE(lib.GetFileRecord("12345", r));
}

TEST_F(LibraryTest, CoverArtFromTheFolderOrEmbedded) {
    ScopedEnv cache("XDG_CACHE_HOME", dir() + QStringLiteral("/cache"));
    const QString a = music() + QStringLiteral("/withfile/a.mp3");
    const QString b = music() + QStringLiteral("/embedded/b.mp3");
    const QString c = music() + QStringLiteral("/none/c.mp3");
    ASSERT_TRUE(fixtures::WriteMp3(a, fixtures::ArtistOnly("A")));
    ASSERT_TRUE(fixtures::WriteMp3(b, fixtures::ArtistOnly("B")));
    ASSERT_TRUE(fixtures::WriteMp3(c, fixtures::ArtistOnly("C")));
    ASSERT_TRUE(fixtures::WriteBytes(music() + QStringLiteral("/withfile/Cover.JPG"), "jpeg"));
    ASSERT_TRUE(fixtures::WriteBytes(music() + QStringLiteral("/withfile/folder.gif"), "gif"));
    {
        TagLib::MPEG::File f(QFile::encodeName(b).constData());
        auto* pic = new TagLib::ID3v2::AttachedPictureFrame;
        pic->setMimeType("image/png");
        pic->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
        pic->setPicture(TagLib::ByteVector("\x89PNGdata", 8));
        f.ID3v2Tag(true)->addFrame(pic);
        ASSERT_TRUE(f.save());
    }
    const qint32 ia = lib.AddLibraryFile(a), ib = lib.AddLibraryFile(b), ic = lib.AddLibraryFile(c);
    // folder.gif comes before cover.jpg.
    EXPECT_EQ(lib.CoverArtPath(ia), music() + QStringLiteral("/withfile/folder.gif"));
    const QString cached = lib.CoverArtPath(ib);
    ASSERT_FALSE(cached.isEmpty());
    EXPECT_TRUE(cached.startsWith(dir() + QStringLiteral("/cache/quavero/covers/")));
    EXPECT_TRUE(cached.endsWith(".png"));
    EXPECT_EQ(fixtures::ReadBytes(cached), QByteArray("\x89PNGdata", 8));
    EXPECT_EQ(lib.CoverArtPath(ib), cached);
    EXPECT_EQ(lib.CoverArtPath(ic), QString());
    EXPECT_EQ(lib.CoverArtPath(99999), QString());
}

TEST_F(LibraryTest, RefreshRunsInTheBackgroundAndSignalsOnTheOwnersThread) {
    addMusicFolder();
    for (int i = 0; i < 60; ++i)
        ASSERT_TRUE(fixtures::WriteBytes(
            music() + QStringLiteral("/%1/%2.mp3").arg(i % 3).arg(i),
            corpus::Id3v23(fixtures::ArtistOnly(QStringLiteral("A%1").arg(i % 4))) +
                fixtures::Mp3Audio()));
    QList<float> progress;
    QList<qint32> codes;
    QList<qint32> complete;
    bool allOnThisThread = true;
    QObject::connect(&lib, &MediaLibrary::RefreshProgress, [&](float p) {
        progress.append(p);
        allOnThisThread = allOnThisThread && QThread::currentThread() == qApp->thread();
    });
    QObject::connect(&lib, &MediaLibrary::StatusUpdate, [&](qint32 code, const QString&) {
        codes.append(code);
        allOnThisThread = allOnThisThread && QThread::currentThread() == qApp->thread();
    });
    QObject::connect(&lib, &MediaLibrary::RefreshComplete,
                     [&](qint32 seen, qint32 added, qint32 updated, qint32 removed) {
                         complete = {seen, added, updated, removed};
                         allOnThisThread =
                             allOnThisThread && QThread::currentThread() == qApp->thread();
                     });
    ASSERT_TRUE(lib.RefreshLibrary(QString(), 0));
    EXPECT_TRUE(lib.IsRefreshing());
    EXPECT_FALSE(lib.RefreshLibrary()); // one at a time
    EXPECT_FALSE(lib.Compact());
    ASSERT_TRUE(lib.WaitForRefresh(30000));
    EXPECT_FALSE(lib.IsRefreshing());
    EXPECT_EQ(complete, (QList<qint32>{60, 60, 0, 0}));
    EXPECT_TRUE(allOnThisThread);
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.back(), 100.0f);
    EXPECT_TRUE(codes.contains(ScanDone));
    // The UI connection sees the rows the worker committed.
    EXPECT_EQ(rows("select count(*) as n from files", {"n"}), QStringList{"60"});
    EXPECT_TRUE(lib.MediaFolders()->FolderLastScan(0).isValid());

    // Cancel right away: the refresh still ends with RefreshComplete.
    ASSERT_TRUE(conn().execute("delete from files"));
    complete.clear();
    ASSERT_TRUE(lib.RefreshLibrary());
    lib.CancelRefresh();
    ASSERT_TRUE(lib.WaitForRefresh(30000));
    ASSERT_EQ(complete.size(), 4);
    EXPECT_LE(complete[1], 60);
}

TEST_F(LibraryTest, DestroyingTheLibraryDuringARefreshStopsIt) {
    addMusicFolder();
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(
            fixtures::WriteBytes(music() + QStringLiteral("/%1.mp3").arg(i), fixtures::Mp3Audio()));
    auto other = std::make_unique<MediaLibrary>();
    ASSERT_TRUE(other->OpenLibrary(dbPath()));
    ASSERT_TRUE(other->RefreshLibrary());
    other.reset(); // cancels and joins; queued signals die with it
    QCoreApplication::processEvents();
    SUCCEED();
}
