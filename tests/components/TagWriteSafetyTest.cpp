// Tag writes that meet a full disk, a kill, links and permissions leave the old
// file or the new one, never a mixture.
#include "components/FileReplacer.h"
#include "corpus/Corpus.h"
#include "support/LibraryFixture.h"
#include "support/ScratchMount.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <taglib/asffile.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>

#include <memory>
#include <random>
#include <tuple>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

QString q(const TagLib::String& s) {
    return QString::fromStdString(s.to8Bit(true));
}

QString artistOf(const QString& path) {
    const QByteArray local = QFile::encodeName(path);
    if (path.endsWith(QLatin1String(".wma"))) {
        TagLib::ASF::File f(local.constData());
        return f.isValid() ? q(f.tag()->artist()) : "<unreadable>";
    }
    TagLib::MPEG::File f(local.constData());
    return f.isValid() ? q(f.tag()->artist()) : "<unreadable>";
}

// The size of an ID3v2 tag from its header.
qint64 id3v2Size(const QByteArray& b) {
    if (!b.startsWith("ID3") || b.size() < 10) return 0;
    qint64 n = 0;
    for (int i = 6; i < 10; ++i)
        n = (n << 7) | (static_cast<unsigned char>(b[i]) & 0x7F);
    return n + 10;
}

ino_t inodeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

// A tmpfs of 4 MiB that can be filled up.
class SmallDisk : public ScratchMount {
public:
    explicit SmallDisk(const QString& path) : ScratchMount(path, 4 << 20) {}
    QString file(const char* name) const { return path() + QLatin1Char('/') + QLatin1String(name); }

    qint64 freeBytes() const {
        struct statvfs fs {};
        ::statvfs(QFile::encodeName(path()).constData(), &fs);
        return static_cast<qint64>(fs.f_bavail) * static_cast<qint64>(fs.f_frsize);
    }
    // Fills the disk with a file of its own until `room` bytes are left (0: full).
    bool fillLeaving(qint64 room) {
        QFile filler(file("filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
        const QByteArray block(4096, 'f');
        while (freeBytes() > room)
            if (filler.write(block) != block.size() || !filler.flush()) break;
        return room > 0 ? freeBytes() <= room && freeBytes() > room - 8192 : freeBytes() == 0;
    }
    QStringList names() const {
        return QDir(path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
};

// An MP3 the size of the one a full disk once damaged (about 77 KB), with a small
// ID3v2.3 tag.
QByteArray mp3WithTag() {
    corpus::TagFields tags;
    tags.artist = "Old Artist";
    tags.album = "Old Album";
    tags.title = "Old Title";
    static const QByteArray audio = corpus::EncodeMp3(4.8, 128, 2, 44100);
    return corpus::Id3v23(tags) + audio;
}

class FullDiskTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        disk = std::make_unique<SmallDisk>(dir() + QStringLiteral("/disk"));
        if (!disk->ok()) GTEST_SKIP() << disk->why().toStdString() << " (needs root)";
        ASSERT_TRUE(fixtures::WriteBytes(disk->file("song.mp3"), mp3WithTag()));
        {
            // TagLib's save gives the tag the usual padding.
            TagLib::MPEG::File f(QFile::encodeName(disk->file("song.mp3")).constData());
            ASSERT_TRUE(f.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone));
        }
        ASSERT_TRUE(fixtures::WriteWma(disk->file("song.wma"), fixtures::ArtistOnly("Old Artist")));
        ASSERT_TRUE(lib.MediaFolders()->Add(dir() + QStringLiteral("/disk")));
        scan();
        mp3 = fixtures::ReadBytes(disk->file("song.mp3"));
        wma = fixtures::ReadBytes(disk->file("song.wma"));
    }
    void TearDown() override {
        FileReplacer::setCheckFreeSpace(true);
        FileReplacer::setAllowUnnamed(true);
        disk.reset();
    }
    QStringList rowsNow() {
        return rows("select * from files order by id", {"md_artist", "size", "file_mtime"});
    }
    // Both files and their rows are as they were, and nothing was left beside them.
    void expectUnchanged(const QStringList& rowsBefore) {
        EXPECT_EQ(fixtures::ReadBytes(disk->file("song.mp3")), mp3);
        EXPECT_EQ(fixtures::ReadBytes(disk->file("song.wma")), wma);
        EXPECT_EQ(rowsNow(), rowsBefore);
        EXPECT_EQ(disk->names(), (QStringList{"filler", "song.mp3", "song.wma"}));
    }

    std::unique_ptr<SmallDisk> disk;
    QByteArray mp3, wma;
};

} // namespace

TEST_F(FullDiskTest, GrowingWriteIsRefusedOrFailsAndChangesNothing) {
    const QString longMp3(40000, QLatin1Char('Z'));
    const QString longWma(30000, QLatin1Char('Z'));
    const QString mp3Id = QString::number(idOf("song.mp3"));
    const QString wmaId = QString::number(idOf("song.wma"));
    const QStringList rowsBefore = rowsNow();

    // Refused before anything is written: not enough room for a new file.
    ASSERT_TRUE(disk->fillLeaving(mp3.size() + 16384));
    for (const auto& [id, value] : {std::pair{mp3Id, longMp3}, std::pair{wmaId, longWma}}) {
        const Status s = lib.Tags()->WriteTag(id, TagService::Artist, value);
        EXPECT_FALSE(s);
        EXPECT_TRUE(s.error().contains("free space")) << s.error().toStdString();
    }
    expectUnchanged(rowsBefore);

    // Without the check the disk fills up for real: while the new file is written
    // (16 KiB left), or, for the MP3, while TagLib grows the tag of a complete copy.
    FileReplacer::setCheckFreeSpace(false);
    for (const bool unnamed : {true, false}) {
        FileReplacer::setAllowUnnamed(unnamed);
        for (const auto& [id, value, room] :
             {std::tuple{mp3Id, longMp3, qint64(16384)},
              std::tuple{mp3Id, longMp3, qint64(mp3.size() + 16384)},
              std::tuple{wmaId, longWma, qint64(16384)}}) {
            ASSERT_TRUE(QFile::remove(disk->file("filler")));
            ASSERT_TRUE(disk->fillLeaving(room));
            const Status s = lib.Tags()->WriteTag(id, TagService::Artist, value);
            EXPECT_FALSE(s) << "room " << room << ", file " << id.toStdString();
            expectUnchanged(rowsBefore);
        }
    }
}

TEST_F(FullDiskTest, TagThatFitsIsWrittenInPlaceOnAFullDisk) {
    ASSERT_TRUE(disk->fillLeaving(0));
    for (const char* name : {"song.mp3", "song.wma"}) {
        const QString path = disk->file(name);
        const ino_t inode = inodeOf(path);
        const Status s = lib.Tags()->WriteTag(path, TagService::Artist, "New Artist");
        EXPECT_TRUE(s) << name << ": " << s.error().toStdString();
        EXPECT_EQ(artistOf(path), "New Artist");
        EXPECT_EQ(inodeOf(path), inode) << name;
        EXPECT_EQ(lib.GetFileField(idOf(QLatin1String(name)), FileField::Artist).toString(),
                  "New Artist");
    }
}

TEST_F(FullDiskTest, CommandLineExitsWithTheReasonAndKeepsTheFile) {
    ASSERT_TRUE(disk->fillLeaving(mp3.size() / 2));
    const QString path = disk->file("song.mp3");
    const QStringList args = {"tag", "--db", dbPath(), path, "0", QString(40000, QLatin1Char('Z'))};
    ProcessResult r = runTool(QStringLiteral(QVR_EXECUTABLE), args, 60000);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith("qvr tag: not enough free space")) << r.err.toStdString();
    EXPECT_EQ(fixtures::ReadBytes(path), mp3);
    // With room, the same command succeeds and the audio is intact.
    ASSERT_TRUE(QFile::remove(disk->file("filler")));
    r = runTool(QStringLiteral(QVR_EXECUTABLE), args, 60000);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(artistOf(path), QString(40000, QLatin1Char('Z')));
    const QByteArray now = fixtures::ReadBytes(path);
    EXPECT_EQ(now.mid(id3v2Size(now)), mp3.mid(id3v2Size(mp3)));
}

namespace {

class TagRewriteTest : public LibraryTest {};

} // namespace

TEST_F(TagRewriteTest, NewFileKeepsModeAndOwnerAndLinksStayLinks) {
    const QString real = music() + QStringLiteral("/real.mp3");
    const QString link = music() + QStringLiteral("/link.mp3");
    ASSERT_TRUE(fixtures::WriteBytes(real, mp3WithTag()));
    ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(QFile::encodeName(real).constData(), 4321, 4322), 0);
    }
    ASSERT_EQ(::symlink("real.mp3", QFile::encodeName(link).constData()), 0);
    const ino_t inode = inodeOf(real);

    const QString value(5000, QLatin1Char('L'));
    const Status s = lib.Tags()->WriteTag(link, TagService::Artist, value);
    ASSERT_TRUE(s) << s.error().toStdString();
    EXPECT_NE(inodeOf(real), inode); // a new file
    EXPECT_EQ(artistOf(real), value);
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(link).constData(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 4322u);
    }
    EXPECT_EQ(QDir(music()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              (QStringList{"link.mp3", "real.mp3"}));
}

TEST_F(TagRewriteTest, KilledWriteLeavesTheOldFileOrTheNewOne) {
    // A 32 MB MP3 whose tag must grow, written by qvr processes killed at random
    // moments.
    const QString folder = dir() + QStringLiteral("/big");
    const QString path = folder + QStringLiteral("/big.mp3");
    const QByteArray chunk = corpus::EncodeMp3(2.0, 128, 2, 44100);
    QByteArray original = mp3WithTag();
    const qint64 audioStart = id3v2Size(original);
    while (original.size() < (32 << 20))
        original += chunk;
    const QByteArray audio = original.mid(audioStart);
    const QString value(3000, QLatin1Char('Y'));
    const QStringList args = {"tag", "--db", dbPath(), path, "0", value};

    // The file as it is after a write, or "" when it is the old file; anything
    // else is a failure.
    const auto outcome = [&]() -> std::string {
        const QByteArray now = fixtures::ReadBytes(path);
        if (now == original) return "old";
        if (now.mid(id3v2Size(now)) != audio) return "damaged audio";
        if (artistOf(path) != value) return "new audio but not the new tag";
        return "new";
    };
    const auto leftovers = [&] {
        QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
        names.removeAll("big.mp3");
        // A kill between naming the new file and renaming it leaves it hidden.
        for (const QString& n : names)
            if (n.startsWith(QLatin1String(".qvtag-")))
                QFile::remove(folder + QLatin1Char('/') + n);
        return names.filter(QRegularExpression("^[^.]"));
    };

    ASSERT_TRUE(fixtures::WriteBytes(path, original));
    QElapsedTimer timer;
    timer.start();
    const ProcessResult full = runTool(QStringLiteral(QVR_EXECUTABLE), args, 60000);
    const qint64 duration = timer.elapsed();
    ASSERT_EQ(full.exitCode, 0) << full.err.toStdString();
    ASSERT_EQ(outcome(), "new");

    std::mt19937 random(20240601);
    std::uniform_int_distribution<qint64> moment(0, duration);
    int olds = 0, news = 0;
    for (int trial = 0; trial < 10; ++trial) {
        ASSERT_TRUE(fixtures::WriteBytes(path, original));
        const qint64 at = moment(random);
        QProcess p;
        p.start(QStringLiteral(QVR_EXECUTABLE), args);
        ASSERT_TRUE(p.waitForStarted());
        QThread::msleep(static_cast<unsigned long>(at));
        p.kill();
        p.waitForFinished();
        const std::string result = outcome();
        EXPECT_TRUE(result == "old" || result == "new")
            << "killed after " << at << " of " << duration << " ms: " << result;
        (result == "old" ? olds : news)++;
        EXPECT_EQ(leftovers(), QStringList());
    }
    RecordProperty("old", olds);
    RecordProperty("new", news);
}
