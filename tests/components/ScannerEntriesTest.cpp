// The scanner on awkward folder entries: bad links, and names that are not UTF-8.
#include "core/FileNameCodec.h"
#include "support/LibraryFixture.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {

fixtures::TagFields tagsOf(const char* title) {
    return {"A", "B", QString::fromUtf8(title), "1", "1999", "Rock", QString()};
}

class ScannerEntriesTest : public LibraryTest {
protected:
    // Scans every media folder and records the status codes and the texts of lost folders.
    ScanCounts scanNoting() {
        codes.clear();
        lost.clear();
        LibraryScanner scanner(conn());
        skipped.clear();
        LibraryScanner::Callbacks cb;
        cb.status = [this](qint32 code, const QString& text) {
            codes.append(code);
            if (code == ScanFolderLost) lost.append(text);
        };
        cb.skipped = [this](const QString& path, const QString& reason) {
            skipped.append(path + QStringLiteral(": ") + reason);
        };
        const Result<ScanCounts> r = scanner.run(QString(), cb);
        EXPECT_TRUE(r.ok()) << r.error().toStdString();
        return r ? r.value() : ScanCounts();
    }
    void link(const QByteArray& target, const QString& at) {
        ASSERT_EQ(::symlink(target.constData(), QFile::encodeName(at).constData()), 0);
    }
    QList<qint32> codes;
    QStringList lost;
    QStringList skipped;
};

// Bytes of a name that is not UTF-8, and a real MP3 stored under it.
QByteArray writeRawNamed(const QString& folder, const QByteArray& rawName, const char* title) {
    const QString temp = folder + QStringLiteral("/temp.mp3");
    if (!fixtures::WriteMp3(temp, tagsOf(title))) return {};
    const QByteArray raw = QFile::encodeName(folder) + '/' + rawName;
    if (::rename(QFile::encodeName(temp).constData(), raw.constData()) != 0) return {};
    return raw;
}

bool isUtf8(const QByteArray& bytes) {
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

} // namespace

TEST_F(ScannerEntriesTest, LinkToItselfIsSkippedAndDeletionsStillCount) {
    addMusicFolder();
    ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/one.mp3"), tagsOf("One")));
    ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/two.mp3"), tagsOf("Two")));
    ASSERT_EQ(scanNoting().added, 2);
    link("loop.mp3", music() + QStringLiteral("/loop.mp3"));
    ASSERT_TRUE(QFile::remove(music() + QStringLiteral("/two.mp3")));
    const ScanCounts c = scanNoting();
    EXPECT_TRUE(lost.isEmpty()) << lost.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(c.seen, 1);
    EXPECT_EQ(c.removed, 1);
    EXPECT_EQ(c.skipped, 1);
    EXPECT_TRUE(c.finished());
    EXPECT_EQ(skipped, QStringList{music() + QStringLiteral("/loop.mp3: ") +
                                   QString::fromLocal8Bit(std::strerror(ELOOP))});
    EXPECT_EQ(rows("select * from files", {"filename"}), QStringList{"one.mp3"});
}

TEST_F(ScannerEntriesTest, DanglingLinkDoesNotLoseItsFolder) {
    addMusicFolder();
    ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/sub/one.mp3"), tagsOf("One")));
    link("nowhere.mp3", music() + QStringLiteral("/sub/dangling.mp3"));
    const ScanCounts c = scanNoting();
    EXPECT_TRUE(lost.isEmpty()) << lost.join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(codes.contains(ScanFolderMissing));
    EXPECT_EQ(c.added, 1);
    EXPECT_EQ(c.skipped, 1);
}

TEST_F(ScannerEntriesTest, LinkedFolderWhoseTargetIsGoneKeepsItsRows) {
    // A link to another disk: while that disk is away, its files stay listed.
    addMusicFolder();
    const QString disk = dir() + QStringLiteral("/disk");
    ASSERT_TRUE(fixtures::WriteMp3(disk + QStringLiteral("/album/song.mp3"), tagsOf("Song")));
    link(QFile::encodeName(disk), music() + QStringLiteral("/external"));
    ASSERT_EQ(scanNoting().added, 1);
    ASSERT_TRUE(QDir().rename(disk, disk + QStringLiteral(".away")));
    ScanCounts c = scanNoting();
    EXPECT_EQ(c.skipped, 1);
    EXPECT_EQ(c.removed, 0);
    ASSERT_TRUE(QDir().rename(disk + QStringLiteral(".away"), disk));
    c = scanNoting();
    EXPECT_EQ(c.skipped, 0);
    EXPECT_EQ(c.added + c.updated + c.removed, 0);
}

TEST_F(ScannerEntriesTest, FileNamedWithInvalidBytesIsStoredAsReversibleText) {
    addMusicFolder();
    const QByteArray raw = writeRawNamed(music(), QByteArray("bad\xff\xfename.mp3"), "Bad");
    ASSERT_FALSE(raw.isEmpty());
    ScanCounts c = scanNoting();
    EXPECT_EQ(c.added, 1);
    Result<db::Recordset> r = conn().prepare("select id, fullpath, filename, filetitle from FILES");
    ASSERT_TRUE(r.ok());
    ASSERT_TRUE(r.value().next());
    const qint32 id = static_cast<qint32>(r.value().integer(0));
    for (int column = 1; column <= 3; ++column)
        EXPECT_TRUE(isUtf8(r.value().utf8(column).toByteArray())) << column;
    EXPECT_EQ(FileNameCodec::encode(r.value().text(1)), raw);
    r.value().close();

    // The file itself was read: its tags are there.
    FileRecord rec;
    ASSERT_TRUE(lib.GetFileRecord(id, rec));
    EXPECT_EQ(rec.title, "Bad");
    EXPECT_EQ(FileNameCodec::encode(rec.fullPath), raw);
    EXPECT_EQ(FileNameCodec::encode(rec.fileName), QByteArray("bad\xff\xfename.mp3"));
    EXPECT_EQ(FileNameCodec::encode(rec.fileTitle), QByteArray("bad\xff\xfename"));
    const QString stored = rec.fullPath;
    ASSERT_TRUE(lib.GetFileRecord(stored, rec));
    EXPECT_EQ(rec.id, id);

    // Unchanged on the next scan; renamed, it keeps its row.
    c = scanNoting();
    EXPECT_EQ(c.seen, 1);
    EXPECT_EQ(c.added + c.updated + c.removed, 0);
    ASSERT_TRUE(lib.SetFileField(id, FileField::Rating, 5));
    const QByteArray renamed = QFile::encodeName(music()) + "/other\xe9.mp3";
    ASSERT_EQ(::rename(raw.constData(), renamed.constData()), 0);
    c = scanNoting();
    EXPECT_EQ(c.updated, 1);
    EXPECT_EQ(c.added + c.removed, 0);
    EXPECT_EQ(FileNameCodec::encode(lib.GetFileField(id, FileField::FullPath).toString()), renamed);
}

TEST_F(ScannerEntriesTest, MediaFolderNamedWithInvalidBytesIsWalked) {
    const QByteArray rawRoot = QFile::encodeName(dir()) + "/r\xe9pertoire";
    ASSERT_EQ(::mkdir(rawRoot.constData(), 0755), 0);
    ASSERT_TRUE(fixtures::WriteMp3(dir() + QStringLiteral("/song.mp3"), tagsOf("Song")));
    ASSERT_EQ(::rename(QFile::encodeName(dir() + QStringLiteral("/song.mp3")).constData(),
                       (rawRoot + "/song.mp3").constData()),
              0);
    const QString root = FileNameCodec::decode(rawRoot) + QLatin1Char('/');
    Result<db::Recordset> ins =
        conn().prepare("insert into MMFOLDERS(path, lastscan) values(?, 0)");
    ASSERT_TRUE(ins.ok());
    ASSERT_TRUE(ins.value().bind(1, root).execute().ok());
    ScanCounts c = scanNoting();
    EXPECT_FALSE(codes.contains(ScanFolderMissing));
    EXPECT_EQ(c.added, 1);
    EXPECT_EQ(rows("select * from files", {"fullpath"}),
              QStringList{root + QStringLiteral("song.mp3")});
    c = scanNoting();
    EXPECT_EQ(c.seen, 1);
    EXPECT_EQ(c.added + c.updated + c.removed, 0);
}
