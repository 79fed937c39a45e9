// The scanner on real files: formats, rescans, damaged input, cancel, links.
#include "core/OleDate.h"
#include "support/LibraryFixture.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

namespace {

using fixtures::TagFields;

TagFields tags(const char* artist, const char* album, const char* title, const char* track = "1",
               const char* year = "1999", const char* genre = "Rock") {
    return {QString::fromUtf8(artist),
            QString::fromUtf8(album),
            QString::fromUtf8(title),
            QString::fromUtf8(track),
            QString::fromUtf8(year),
            QString::fromUtf8(genre),
            QString()};
}

void touch(const QString& path, int secondsForward) {
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    struct timespec times[2] = {st.st_atim, st.st_mtim};
    times[1].tv_sec += secondsForward;
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

struct FormatCase {
    const char* ext;
    bool tagged;
};

class ScannerFormatTest : public LibraryTest, public ::testing::WithParamInterface<FormatCase> {};

} // namespace

TEST_P(ScannerFormatTest, CataloguesTagsAndAudioProperties) {
    const FormatCase fc = GetParam();
    const QString name = QStringLiteral("Track") + QString::fromLatin1(fc.ext);
    const QString path = music() + QStringLiteral("/sub/") + name;
    const TagFields t =
        tags("Sinéad O'Connor", "Universal Mother", "Fire On Babylon", "7", "1994", "Rock");
    const QString ext = QString::fromLatin1(fc.ext).toLower();
    if (ext == QLatin1String(".mp3"))
        ASSERT_TRUE(fixtures::WriteMp3(path, t));
    else if (ext == QLatin1String(".wma"))
        ASSERT_TRUE(fixtures::WriteWma(path, t));
    else
        ASSERT_TRUE(fixtures::WriteWav(path));
    addMusicFolder();
    const ScanCounts c = scan();
    EXPECT_EQ(c.seen, 1);
    EXPECT_EQ(c.added, 1);
    FileRecord r;
    ASSERT_TRUE(lib.GetFileRecord(idOf(name), r));
    EXPECT_EQ(r.fullPath, path);
    EXPECT_EQ(r.fileName, name);
    EXPECT_EQ(r.fileTitle, "Track");
    EXPECT_EQ(r.type, ext.mid(1).toUpper());
    EXPECT_EQ(r.size, QFileInfo(path).size());
    EXPECT_NEAR(r.duration, 0.5, 0.2);
    EXPECT_GT(r.bitrate, 0);
    EXPECT_EQ(r.frequency, 44100);
    EXPECT_EQ(r.channels, 2);
    EXPECT_EQ(r.rating, 0);
    EXPECT_NEAR(OleDate::fromDateTime(r.added), OleDate::now(), 0.01);
    EXPECT_EQ(r.fileDate.toSecsSinceEpoch(), QFileInfo(path).lastModified().toSecsSinceEpoch());
    if (fc.tagged) {
        EXPECT_EQ(r.artist, "Sinéad O'Connor");
        EXPECT_EQ(r.album, "Universal Mother");
        EXPECT_EQ(r.title, "Fire On Babylon");
        EXPECT_EQ(r.track, "7");
        EXPECT_EQ(r.year, "1994");
        EXPECT_EQ(r.genreText, "Rock");
        EXPECT_EQ(r.genreNumber, 17);
    } else {
        EXPECT_EQ(r.artist, QString());
        EXPECT_EQ(r.genreNumber, 255);
    }
    // The folder remembers its scan.
    ASSERT_EQ(lib.MediaFolders()->FolderCount(), 1);
    EXPECT_TRUE(lib.MediaFolders()->FolderLastScan(0).isValid());
}

INSTANTIATE_TEST_SUITE_P(Formats, ScannerFormatTest,
                         ::testing::Values(FormatCase{".mp3", true}, FormatCase{".WMA", true},
                                           FormatCase{".Wav", false}),
                         [](const auto& info) { return std::string(info.param.ext + 1); });

TEST_F(LibraryTest, RescansFollowChangesRenamesAndDeletions) {
    addMusicFolder();
    for (int i = 1; i <= 4; ++i)
        ASSERT_TRUE(fixtures::WriteMp3(
            music() + QStringLiteral("/a/%1.mp3").arg(i),
            tags("Artist", "Album", QString("Song %1").arg(i).toUtf8().constData())));
    ASSERT_TRUE(fixtures::WriteBytes(music() + QStringLiteral("/a/notes.txt"), "not audio"));
    ScanCounts c = scan();
    EXPECT_EQ(c.seen, 4);
    EXPECT_EQ(c.added, 4);
    // Nothing changed: nothing is re-read.
    c = scan();
    EXPECT_EQ(c.seen, 4);
    EXPECT_EQ(c.added + c.updated + c.removed, 0);

    // The user's data on the rows that will move or change.
    const qint32 id2 = idOf("2.mp3");
    const qint32 id3 = idOf("3.mp3");
    ASSERT_TRUE(lib.SetFileField(id2, FileField::Rating, 4));
    const qint32 folder = lib.VirtualFolders()->FindFolder("Mix", true);
    ASSERT_TRUE(lib.VirtualFolders()->AddFile(id2, folder));
    ASSERT_TRUE(lib.VirtualFolders()->AddFile(idOf("4.mp3"), folder));

    // 1 changes (new tag, later time), 2 is renamed, 3 changes only its time, 4 is deleted, 5 is
    // new.
    ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/a/1.mp3"),
                                   tags("New Artist", "Album", "Song 1b")));
    touch(music() + QStringLiteral("/a/1.mp3"), 5);
    ASSERT_TRUE(QFile::rename(music() + QStringLiteral("/a/2.mp3"),
                              music() + QStringLiteral("/b/2 renamed.mp3")) ||
                (QDir().mkpath(music() + QStringLiteral("/b")) &&
                 QFile::rename(music() + QStringLiteral("/a/2.mp3"),
                               music() + QStringLiteral("/b/2 renamed.mp3"))));
    touch(music() + QStringLiteral("/a/3.mp3"), 60);
    ASSERT_TRUE(QFile::remove(music() + QStringLiteral("/a/4.mp3")));
    ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/a/5.mp3"),
                                   tags("Artist", "Album", "Song 5")));
    c = scan();
    EXPECT_EQ(c.seen, 4);
    EXPECT_EQ(c.added, 1);
    EXPECT_EQ(c.updated, 3);
    EXPECT_EQ(c.removed, 1);

    EXPECT_EQ(rows("select * from files order by filename", {"filename", "md_artist", "md_title"}),
              (QStringList{"1.mp3|New Artist|Song 1b", "2 renamed.mp3|Artist|Song 2",
                           "3.mp3|Artist|Song 3", "5.mp3|Artist|Song 5"}));
    // The renamed file kept its row: id, rating and folder membership.
    EXPECT_EQ(idOf("2 renamed.mp3"), id2);
    EXPECT_EQ(lib.GetFileField(id2, FileField::Rating).toInt(), 4);
    EXPECT_EQ(lib.GetFileField(id2, FileField::FullPath).toString(),
              music() + QStringLiteral("/b/2 renamed.mp3"));
    EXPECT_EQ(idOf("3.mp3"), id3);
    // The deleted file left its folder too.
    EXPECT_EQ(rows(QStringLiteral("select * from VFFILES where VF_ID=") + QString::number(folder),
                   {"FL_ID"}),
              QStringList{QString::number(id2)});
}

TEST_F(LibraryTest, DamagedFilesAreCataloguedWithoutTags) {
    addMusicFolder();
    QByteArray good;
    ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/good.mp3"), tags("A", "B", "C")));
    good = fixtures::ReadBytes(music() + QStringLiteral("/good.mp3"));
    ASSERT_TRUE(fixtures::WriteBytes(music() + QStringLiteral("/empty.mp3"), QByteArray()));
    ASSERT_TRUE(
        fixtures::WriteBytes(music() + QStringLiteral("/garbage.mp3"), QByteArray(5000, '\x5a')));
    ASSERT_TRUE(fixtures::WriteBytes(music() + QStringLiteral("/truncated.mp3"), good.left(30)));
    // An ID3v2 header that claims far more than the file has.
    QByteArray lying = good.left(10);
    lying[6] = 0x7f;
    lying[7] = 0x7f;
    ASSERT_TRUE(
        fixtures::WriteBytes(music() + QStringLiteral("/lying.mp3"), lying + good.mid(10, 100)));
    ASSERT_TRUE(fixtures::WriteBytes(music() + QStringLiteral("/fake.wma"),
                                     QByteArray("0&\xb2u", 4) + QByteArray(300, '\1')));
    ASSERT_TRUE(fixtures::WriteBytes(music() + QStringLiteral("/fake.wav"),
                                     QByteArray("RIFF\xff\xff\xff\x7fWAVEfmt ", 16)));
    const ScanCounts c = scan();
    EXPECT_EQ(c.seen, 7);
    EXPECT_EQ(c.added, 7);
    // Every file has its row with its file facts; the unreadable ones have no tags.
    EXPECT_EQ(rows("select * from files order by filename", {"filename", "size"}),
              (QStringList{"empty.mp3|0", "fake.wav|16", "fake.wma|304", "garbage.mp3|5000",
                           QStringLiteral("good.mp3|") + QString::number(good.size()),
                           "lying.mp3|110", "truncated.mp3|30"}));
    for (const char* name : {"empty.mp3", "fake.wav", "fake.wma", "garbage.mp3"}) {
        FileRecord r;
        ASSERT_TRUE(lib.GetFileRecord(idOf(QString::fromLatin1(name)), r));
        EXPECT_EQ(r.artist + r.album + r.title, QString()) << name;
        EXPECT_EQ(r.bitrate, 0) << name;
        EXPECT_EQ(r.genreNumber, 255) << name;
    }
    EXPECT_EQ(lib.GetFileField(idOf("good.mp3"), FileField::Artist).toString(), "A");
}

TEST_F(LibraryTest, MutatedFilesNeverStopTheScan) {
    addMusicFolder();
    ASSERT_TRUE(fixtures::WriteMp3(dir() + QStringLiteral("/src.mp3"), tags("A", "B", "C"), true));
    ASSERT_TRUE(fixtures::WriteWma(dir() + QStringLiteral("/src.wma"), tags("A", "B", "C")));
    QRandomGenerator random(42);
    int written = 0;
    for (const char* ext : {"mp3", "wma"}) {
        const QByteArray source =
            fixtures::ReadBytes(dir() + QStringLiteral("/src.") + QLatin1String(ext));
        ASSERT_FALSE(source.isEmpty());
        for (int i = 0; i < 150; ++i) {
            QByteArray b = source;
            // Damage the headers most, where the parsers look.
            const int edits = 1 + random.bounded(30);
            for (int e = 0; e < edits; ++e)
                b[random.bounded(std::min<int>(static_cast<int>(b.size()), 4096))] =
                    static_cast<char>(random.bounded(256));
            if (i % 3 == 0) b.truncate(random.bounded(static_cast<int>(b.size())));
            ASSERT_TRUE(fixtures::WriteBytes(music() + QStringLiteral("/%1%2.%3")
                                                           .arg(QLatin1String(ext))
                                                           .arg(i)
                                                           .arg(QLatin1String(ext)),
                                             b));
            ++written;
        }
    }
    const ScanCounts c = scan();
    EXPECT_EQ(c.seen, written);
    EXPECT_EQ(c.added, written);
}

TEST_F(LibraryTest, LinkLoopsEndAndLinkedFoldersAreScannedOnce) {
    addMusicFolder();
    ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/x/y/song.mp3"), tags("A", "B", "C")));
    ASSERT_EQ(::symlink("..", QFile::encodeName(music() + QStringLiteral("/x/y/up")).constData()),
              0);
    ASSERT_EQ(::symlink(QFile::encodeName(music()).constData(),
                        QFile::encodeName(music() + QStringLiteral("/x/root")).constData()),
              0);
    ASSERT_EQ(::symlink("nowhere",
                        QFile::encodeName(music() + QStringLiteral("/dangling.mp3")).constData()),
              0);
    const ScanCounts c = scan();
    EXPECT_EQ(c.seen, 1);
    EXPECT_EQ(c.added, 1);
}

TEST_F(LibraryTest, MissingMediaFolderIsReportedAndItsRowsStay) {
    addMusicFolder();
    ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/song.mp3"), tags("A", "B", "C")));
    ASSERT_EQ(scan().added, 1);
    ASSERT_TRUE(QDir(music()).removeRecursively());
    QList<qint32> codes;
    LibraryScanner scanner(conn());
    LibraryScanner::Callbacks cb;
    cb.status = [&codes](qint32 code, const QString&) { codes.append(code); };
    const Result<ScanCounts> r = scanner.run(QString(), cb);
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(codes.contains(ScanFolderMissing));
    EXPECT_EQ(r->removed, 0);
    EXPECT_EQ(rows("select * from files", {"filename"}), QStringList{"song.mp3"});
}

TEST_F(LibraryTest, FolderVanishingDuringTheScanIsReported) {
    addMusicFolder();
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(fixtures::WriteMp3(
            music() + QStringLiteral("/d%1/s.mp3").arg(i, 2, 10, QLatin1Char('0')),
            tags("A", "B", "C")));
    ASSERT_EQ(scan().added, 12);
    // While d03 is listed, d10 (already seen in its parent) disappears.
    LibraryScanner scanner(conn());
    LibraryScanner::Callbacks cb;
    QStringList lost;
    cb.folder = [this](const QString& folder) {
        if (folder.endsWith(QLatin1String("/d03")))
            QDir(music() + QStringLiteral("/d10")).removeRecursively();
    };
    cb.status = [&lost](qint32 code, const QString& text) {
        if (code == ScanFolderLost) lost.append(text);
    };
    const Result<ScanCounts> r = scanner.run(QString(), cb);
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(lost.size(), 1);
    EXPECT_TRUE(lost.first().contains(QLatin1String("/d10"))) << lost.first().toStdString();
    EXPECT_EQ(r->seen, 11);
    EXPECT_EQ(r->removed, 1);
}

TEST_F(LibraryTest, CancelStopsPromptlyAndKeepsCommittedRows) {
    addMusicFolder();
    const QByteArray mp3 = corpus::Id3v23(tags("A", "B", "C")) + fixtures::Mp3Audio();
    for (int i = 0; i < 400; ++i)
        ASSERT_TRUE(
            fixtures::WriteBytes(music() + QStringLiteral("/%1/%2.mp3").arg(i / 50).arg(i), mp3));
    std::atomic<bool> cancel{false};
    LibraryScanner scanner(conn());
    scanner.setBatchSize(50);
    LibraryScanner::Callbacks cb;
    QList<qint32> codes;
    cb.progress = [&cancel](float p) {
        if (p >= 25) cancel = true;
    };
    cb.status = [&codes](qint32 code, const QString&) { codes.append(code); };
    const Result<ScanCounts> r = scanner.run(QString(), cb, &cancel);
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(codes.contains(ScanCancelled));
    EXPECT_LT(r->added, 400);
    EXPECT_GE(r->added, 100);
    // Committed rows stay; the folder is not marked as scanned.
    EXPECT_EQ(rows("select count(*) as n from files", {"n"}).value(0).toInt(), r->added);
    lib.MediaFolders()->Reload();
    EXPECT_FALSE(lib.MediaFolders()->FolderLastScan(0).isValid());
    // The next scan finishes the job.
    const ScanCounts c = scan();
    EXPECT_EQ(c.added, 400 - r->added);
    EXPECT_EQ(c.removed, 0);
}

TEST_F(LibraryTest, OneFolderRefreshLeavesOtherFoldersAlone) {
    const QString other = dir() + QStringLiteral("/other");
    ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/m.mp3"), tags("A", "B", "C")));
    ASSERT_TRUE(fixtures::WriteMp3(other + QStringLiteral("/o.mp3"), tags("A", "B", "C")));
    addMusicFolder();
    ASSERT_TRUE(lib.MediaFolders()->Add(other));
    EXPECT_EQ(scan(music()).added, 1);
    EXPECT_EQ(scan(other).added, 1);
    ASSERT_TRUE(QFile::remove(other + QStringLiteral("/o.mp3")));
    // Scanning music/ does not notice other/.
    EXPECT_EQ(scan(music()).removed, 0);
    EXPECT_EQ(scan().removed, 1);
    // A file added from outside the media folders stays while it exists.
    const QString outside = dir() + QStringLiteral("/loose/l.mp3");
    ASSERT_TRUE(fixtures::WriteMp3(outside, tags("L", "L", "L")));
    ASSERT_GT(lib.AddLibraryFile(outside), 0);
    EXPECT_EQ(scan().removed, 0);
    ASSERT_TRUE(QFile::remove(outside));
    EXPECT_EQ(scan().removed, 1);
}
