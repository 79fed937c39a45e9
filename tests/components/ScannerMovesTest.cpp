// Moved and renamed files keep their rows when many files share size and time.
#include "components/HeadHash.h"
#include "components/MoveMatcher.h"
#include "support/LibraryFixture.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

class ScannerMovesTest : public LibraryTest {
protected:
    // An MP3 whose size does not depend on the title's letters (same length titles),
    // with the modification time every file of the test shares.
    void write(const QString& relative, const char* title) {
        const QString path = music() + QLatin1Char('/') + relative;
        ASSERT_TRUE(fixtures::WriteMp3(path, {"Artist", "Album", QString::fromUtf8(title), "1",
                                              "2001", QString(), QString()}));
        const struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    }
    void move(const QString& from, const QString& to) {
        QDir().mkpath(QFileInfo(music() + QLatin1Char('/') + to).path());
        ASSERT_TRUE(
            QFile::rename(music() + QLatin1Char('/') + from, music() + QLatin1Char('/') + to));
    }
    qint32 rating(const QString& fileName) {
        return lib.GetFileField(idOf(fileName), FileField::Rating).toInt();
    }
};

} // namespace

TEST_F(ScannerMovesTest, CollidingTimesAreResolvedByNameThenContent) {
    addMusicFolder();
    // Six files of one size and one time: the size and time alone tell nothing.
    const char* titles[] = {"Song 1", "Song 2", "Song 3", "Song 4", "Song 5", "Song 6"};
    for (int i = 0; i < 6; ++i)
        write(QStringLiteral("a/%1.mp3").arg(i + 1), titles[i]);
    ASSERT_EQ(scan().added, 6);
    for (int i = 1; i <= 6; ++i)
        ASSERT_TRUE(lib.SetFileField(idOf(QStringLiteral("%1.mp3").arg(i)), FileField::Rating, i));
    const qint32 id1 = idOf("1.mp3");
    const qint32 id2 = idOf("2.mp3");
    const qint32 id3 = idOf("3.mp3");

    move("a/1.mp3", "b/1.mp3");     // same name, other folder
    move("a/2.mp3", "a/two.mp3");   // renamed: by content
    move("a/3.mp3", "c/three.mp3"); // moved and renamed
    ASSERT_TRUE(QFile::remove(music() + QStringLiteral("/a/5.mp3")));
    write("a/7.mp3", "Song 7"); // same size and time, other content
    ScanCounts c = scan();
    EXPECT_EQ(c.seen, 6);
    EXPECT_EQ(c.updated, 3);
    EXPECT_EQ(c.added, 1);
    EXPECT_EQ(c.removed, 1);
    EXPECT_EQ(idOf("1.mp3"), id1);
    EXPECT_EQ(idOf("two.mp3"), id2);
    EXPECT_EQ(idOf("three.mp3"), id3);
    EXPECT_EQ(rating("1.mp3"), 1);
    EXPECT_EQ(rating("two.mp3"), 2);
    EXPECT_EQ(rating("three.mp3"), 3);
    EXPECT_EQ(rating("7.mp3"), 0);
    EXPECT_EQ(lib.GetFileField(id1, FileField::FullPath).toString(),
              music() + QStringLiteral("/b/1.mp3"));
}

TEST_F(ScannerMovesTest, UniqueSizeAndTimeStillDecideAlone) {
    addMusicFolder();
    write("a/x.mp3", "Song 1");
    ASSERT_EQ(scan().added, 1);
    const qint32 id = idOf("x.mp3");
    move("a/x.mp3", "b/y.mp3");
    const ScanCounts c = scan();
    EXPECT_EQ(c.updated, 1);
    EXPECT_EQ(c.added + c.removed, 0);
    EXPECT_EQ(idOf("y.mp3"), id);
}

TEST_F(ScannerMovesTest, OlderLibraryGainsTheChecksumColumnAndRowsTheScannersChecksum) {
    lib.CloseLibrary();
    {
        Result<db::Database> d = db::Database::open(dbPath());
        ASSERT_TRUE(d.ok());
        ASSERT_TRUE(d.value().executeNative("alter table FILES drop column head_hash").ok());
    }
    ASSERT_TRUE(lib.OpenLibrary(dbPath()));
    addMusicFolder();
    // Whole files up to 256 KiB are read at once, larger ones in parts: the
    // checksum must be the one a separate read of the first 64 KiB gives.
    for (const int size : {3000, 100000, 300000}) {
        QByteArray bytes(size, '\0');
        for (int i = 0; i < size; ++i)
            bytes[i] = static_cast<char>((i * 7919) >> 3);
        ASSERT_TRUE(fixtures::WriteBytes(music() + QStringLiteral("/%1.mp3").arg(size), bytes));
    }
    ASSERT_EQ(scan().added, 3);
    Result<db::Recordset> r = conn().prepare("select fullpath, head_hash from FILES");
    ASSERT_TRUE(r.ok());
    int rowsSeen = 0;
    while (r.value().next()) {
        ++rowsSeen;
        const std::optional<qint64> expected =
            HeadHash::ofFile(r.value().utf8(0).toByteArray().constData());
        ASSERT_TRUE(expected.has_value());
        EXPECT_FALSE(r.value().isNull(1));
        EXPECT_EQ(r.value().integer(1), *expected) << r.value().text(0).toStdString();
    }
    EXPECT_EQ(rowsSeen, 3);
}

TEST(MoveMatcherTest, TiesNeedUniqueNamesOrChecksumsAndReadOnlyTiedFiles) {
    const QByteArray p[] = {"/m/a/x.mp3", "/m/b/x.mp3", "/m/a/y.mp3", "/m/c/x.mp3",
                            "/m/d/x.mp3", "/m/e/z.mp3", "/m/f/w.mp3", "/m/g/v.mp3"};
    // Two vanished x.mp3 and two new ones: the name tells nothing, the checksums do.
    // A lone pair of another size and time matches without reading anything.
    const std::vector<MoveCandidate> gone = {
        {p[0], 10, 1, 111}, {p[1], 10, 1, 222}, {p[5], 20, 2, 555}, {p[6], 30, 3, {}}};
    const std::vector<MoveCandidate> fresh = {
        {p[3], 10, 1, {}}, {p[4], 10, 1, {}}, {p[2], 20, 2, {}}, {p[7], 30, 3, {}}};
    const qint64 contents[] = {222, 111, 0, 0};
    std::vector<size_t> asked;
    auto pairs = MatchMoves(fresh, gone, [&](size_t f) -> std::optional<qint64> {
        asked.push_back(f);
        return contents[f];
    });
    std::sort(pairs.begin(), pairs.end());
    EXPECT_EQ(pairs, (std::vector<std::pair<size_t, size_t>>{{0, 1}, {1, 0}, {2, 2}, {3, 3}}));
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, (std::vector<size_t>{0, 1}));

    // Rows from before the checksum: one left on each side after the names still match;
    // two left cannot be told apart and stay new.
    const std::vector<MoveCandidate> oldRows = {{p[0], 10, 1, {}}, {p[5], 10, 1, {}}};
    const std::vector<MoveCandidate> one = {{p[3], 10, 1, {}}, {p[2], 10, 1, {}}};
    EXPECT_EQ(MatchMoves(one, oldRows, [](size_t) { return std::optional<qint64>(7); }).size(), 2u);
    const std::vector<MoveCandidate> two = {{p[2], 10, 1, {}}, {p[6], 10, 1, {}}};
    EXPECT_TRUE(MatchMoves(two, oldRows, [](size_t) { return std::optional<qint64>(7); }).empty());
}
