// Batch tag writes over library files, read back from the rows and the files.
#include "editing/BatchTags.h"
#include "components/AudioFile.h"
#include "support/LibraryFixture.h"

#include <QFile>

#include <algorithm>
#include <random>

namespace {

using fixtures::TagFields;

class BatchTagsTest : public LibraryTest {
protected:
    // Twelve MP3 files "f01.mp3" ... "f12.mp3" with the artists given (the rest
    // "Band"), scanned; ids in file-name order.
    QList<qint64> makeTwelve(const QStringList& artists = {}) {
        addMusicFolder();
        for (int i = 1; i <= 12; ++i) {
            TagFields t;
            t.artist = i <= artists.size() ? artists[i - 1] : "Band";
            t.album = QStringLiteral("Album %1").arg(i % 3);
            t.title = QStringLiteral("Song %1").arg(i);
            t.year = "1999";
            EXPECT_TRUE(fixtures::WriteMp3(
                music() + QStringLiteral("/f%1.mp3").arg(i, 2, 10, QChar('0')), t));
        }
        scan();
        QList<qint64> ids;
        for (int i = 1; i <= 12; ++i)
            ids << idOf(QStringLiteral("f%1.mp3").arg(i, 2, 10, QChar('0')));
        return ids;
    }
    QString field(qint64 id, int code) {
        return lib.GetFileField(static_cast<qint32>(id), code).toString();
    }
};

} // namespace

TEST(BatchTagValues, DistinctTrimmedNonBlankInOrderFirstMet) {
    const QStringList values = {"abc", "ABC", "   ", QString(), " abc ", "Zed", "ABC", "a\tb"};
    EXPECT_EQ(BatchTags::DistinctValues(values), (QStringList{"abc", "ABC", "Zed", "a\tb"}));
    EXPECT_TRUE(BatchTags::DistinctValues({" ", QString()}).isEmpty());
}

TEST_F(BatchTagsTest, OffersComeFromTheWholeListInListOrder) {
    QList<qint64> ids = makeTwelve({"abc", "ABC", "  ", "Zed", "abc"});
    EXPECT_EQ(BatchTags::OfferedValues(lib, ids, FileField::Artist),
              (QStringList{"abc", "ABC", "Zed", "Band"}));
    std::reverse(ids.begin(), ids.end());
    EXPECT_EQ(BatchTags::OfferedValues(lib, ids, FileField::Artist),
              (QStringList{"Band", "abc", "Zed", "ABC"}));
    EXPECT_EQ(BatchTags::OfferedValues(lib, ids, FileField::Album),
              (QStringList{"Album 0", "Album 2", "Album 1"}));
    EXPECT_EQ(BatchTags::OfferedValues(lib, ids, FileField::Year), QStringList{"1999"});
}

TEST_F(BatchTagsTest, EnumTracksNumbersInListOrderWhateverTheSort) {
    const QList<qint64> byName = makeTwelve();
    QList<qint64> reversed = byName;
    std::reverse(reversed.begin(), reversed.end());
    QList<qint64> shuffled = byName;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    for (const QList<qint64>& order : {byName, reversed, shuffled}) {
        const BatchTags::Outcome done = BatchTags::EnumTracks(*lib.Tags(), order);
        EXPECT_EQ(done.written, 12);
        EXPECT_TRUE(done.failures.isEmpty());
        for (int i = 0; i < order.size(); ++i) {
            EXPECT_EQ(field(order[i], FileField::Track), QString::number(i + 1));
        }
    }
    // The file itself holds the number, not only the row.
    const QString path = field(shuffled[9], FileField::FullPath);
    EXPECT_EQ(QString::fromStdString(ReadAudioFacts(path).track), "10");
}

TEST_F(BatchTagsTest, SetTagTrimsAndWritesOnlyTheGivenFiles) {
    const QList<qint64> ids = makeTwelve();
    const QList<qint64> chosen = {ids[11], ids[0], ids[5]};
    const BatchTags::Outcome done =
        BatchTags::SetTag(*lib.Tags(), chosen, TagService::Album, "  New Album \t");
    EXPECT_EQ(done.written, 3);
    for (qint64 id : ids)
        EXPECT_EQ(field(id, FileField::Album) == "New Album", chosen.contains(id));
    EXPECT_EQ(QString::fromStdString(ReadAudioFacts(field(ids[5], FileField::FullPath)).album),
              "New Album");
}

TEST_F(BatchTagsTest, GenreNumberBringsItsNameAndFailuresAreCountedNotFatal) {
    QList<qint64> ids = makeTwelve();
    // A WAV file takes no tag: its write fails, the files after it are still written.
    ASSERT_TRUE(fixtures::WriteWav(music() + QStringLiteral("/plain.wav")));
    scan();
    const qint64 wav = idOf("plain.wav");
    ASSERT_GT(wav, 0);
    const QList<qint64> chosen = {ids[0], wav, ids[1], 999999};
    const BatchTags::Outcome done = BatchTags::SetGenre(*lib.Tags(), chosen, 17);
    EXPECT_EQ(done.written, 2);
    ASSERT_EQ(done.failures.size(), 2);
    EXPECT_EQ(done.failures[0].id, wav);
    EXPECT_EQ(done.failures[1].id, 999999);
    EXPECT_EQ(field(ids[1], FileField::GenreNumber), "17");
    EXPECT_EQ(field(ids[1], FileField::GenreText), "Rock");
    EXPECT_EQ(field(ids[2], FileField::GenreNumber), "255");

    // A year that is no year is refused file by file.
    const BatchTags::Outcome year =
        BatchTags::SetTag(*lib.Tags(), {ids[3]}, TagService::Year, "soon");
    EXPECT_EQ(year.written, 0);
    EXPECT_EQ(year.failures.size(), 1);
    EXPECT_EQ(field(ids[3], FileField::Year), "1999");
}
