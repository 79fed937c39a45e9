// The properties dialog's content and Apply, on real MP3, WMA and WAV files.
#include "components/AudioFile.h"
#include "components/TagService.h"
#include "core/Formatting.h"
#include "editing/PropsEdit.h"
#include "editing/PropsView.h"
#include "editing/SelectionSummary.h"
#include "support/LibraryFixture.h"

#include <QFile>

#include <taglib/id3v2tag.h>
#include <taglib/wavfile.h>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

using props::Field;

class PropsTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        addMusicFolder();
    }
    QString path(const QString& name) const { return music() + QLatin1Char('/') + name; }
    FileRecord record(const QString& file) {
        FileRecord r;
        EXPECT_TRUE(lib.GetFileRecord(file, r)) << file.toStdString();
        return r;
    }
    // A WAV file with an ID3v2 tag in its RIFF chunk.
    void writeTaggedWav(const QString& file) {
        ASSERT_TRUE(fixtures::WriteWav(file));
        TagLib::RIFF::WAV::File f(QFile::encodeName(file).constData());
        f.ID3v2Tag()->setArtist("Riff Artist");
        ASSERT_TRUE(f.save());
    }
};

TEST_F(PropsTest, TabsFollowTypeAndIdentifier) {
    fixtures::TagFields tags;
    tags.artist = "A";
    ASSERT_TRUE(fixtures::WriteMp3(path("a.mp3"), tags));
    ASSERT_TRUE(fixtures::WriteWma(path("b.wma"), tags));
    ASSERT_TRUE(fixtures::WriteWav(path("plain.wav")));
    writeTaggedWav(path("tagged.wav"));
    scan();

    const props::PropsView mp3 = props::Describe(lib, record(QString::number(idOf("a.mp3"))));
    EXPECT_TRUE(mp3.tagTab);
    EXPECT_TRUE(mp3.libraryTab);
    EXPECT_EQ(mp3.iconKey, "mp3");
    EXPECT_EQ(mp3.type, "MP3");
    EXPECT_EQ(mp3.location, music());
    EXPECT_EQ(mp3.artist, "A");
    EXPECT_FALSE(mp3.bitrate.isEmpty());
    EXPECT_FALSE(mp3.duration.isEmpty());
    EXPECT_EQ(mp3.playCount, "0");

    EXPECT_TRUE(props::Describe(lib, record(QString::number(idOf("b.wma")))).tagTab);
    for (const char* wav : {"plain.wav", "tagged.wav"}) {
        const props::PropsView v = props::Describe(lib, record(QString::number(idOf(wav))));
        EXPECT_FALSE(v.tagTab) << wav;
        EXPECT_TRUE(v.libraryTab) << wav;
        EXPECT_EQ(v.iconKey, "wav");
    }

    // Only the exact upper-case type names take tags.
    FileRecord lower = record(QString::number(idOf("a.mp3")));
    lower.type = "mp3";
    EXPECT_FALSE(props::Describe(lib, lower).tagTab);

    // Outside the library: no library tab, no library facts, no rating.
    ASSERT_TRUE(fixtures::WriteMp3(dir() + QStringLiteral("/outside.mp3"), tags));
    const props::PropsView out = props::Describe(lib, record(dir() + "/outside.mp3"));
    EXPECT_EQ(out.file.id, 0);
    EXPECT_TRUE(out.tagTab);
    EXPECT_FALSE(out.libraryTab);
    EXPECT_TRUE(out.added.isEmpty() && out.updated.isEmpty() && out.playCount.isEmpty());
    EXPECT_FALSE(out.size.isEmpty());
}

TEST_F(PropsTest, FileFactsComeFromTheDiskInTheLongDateOfTheLanguage) {
    ASSERT_TRUE(fixtures::WriteBytes(path("small.mp3"), QByteArray(1023, 'x')));
    ASSERT_TRUE(fixtures::WriteBytes(path("kilo.mp3"), QByteArray(1024, 'x')));
    FileRecord r;
    r.fullPath = path("small.mp3");
    r.type = "MP3";
    EXPECT_EQ(props::Describe(lib, r).size, mainMod::FormatSize(1023));
    r.fullPath = path("kilo.mp3");
    EXPECT_EQ(props::Describe(lib, r).size, mainMod::FormatSize(1024) + " (1024 bytes)");
    EXPECT_EQ(props::SizeText(5000000), mainMod::FormatSize(5000000) + " (5000000 bytes)");

    // 5 March 2020, noon: every language writes it its own way.
    const QDateTime when(QDate(2020, 3, 5), QTime(12, 0));
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = when.toSecsSinceEpoch();
    times[0].tv_nsec = times[1].tv_nsec = 0;
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(r.fullPath).constData(), times, 0), 0);
    const props::PropsView de = props::Describe(lib, r, QLocale(QLocale::German, QLocale::Germany));
    EXPECT_TRUE(de.modified.contains("März 2020")) << de.modified.toStdString();
    EXPECT_TRUE(de.accessed.contains("März 2020"));
    EXPECT_FALSE(de.created.isEmpty());
    const props::PropsView en = props::Describe(lib, r, QLocale(QLocale::English));
    EXPECT_TRUE(en.modified.contains("March")) << en.modified.toStdString();

    // A file gone from the disk shows no facts.
    r.fullPath = path("gone.mp3");
    const props::PropsView gone = props::Describe(lib, r);
    EXPECT_TRUE(gone.size.isEmpty() && gone.created.isEmpty() && gone.modified.isEmpty() &&
                gone.accessed.isEmpty());
}

TEST_F(PropsTest, GenreEntryAndRating) {
    FileRecord r;
    r.fullPath = path("none.mp3");
    r.type = "MP3";
    r.genreNumber = 200;
    r.genreText = "Stored Text";
    props::PropsView v = props::Describe(lib, r);
    EXPECT_EQ(v.genreIndex, 0);
    EXPECT_EQ(v.genre, "Stored Text");

    const QList<QPair<QString, int>> genres = TagService::GenreList(true);
    r.genreNumber = 8;
    v = props::Describe(lib, r);
    ASSERT_GT(v.genreIndex, 0);
    EXPECT_EQ(genres[v.genreIndex].second, 8);

    // A rating out of range falls back to the first entry; outside the library
    // the rating is never shown.
    r.id = 5;
    r.rating = 9;
    EXPECT_EQ(props::Describe(lib, r).rating, 0);
    r.rating = 4;
    EXPECT_EQ(props::Describe(lib, r).rating, 4);
    r.id = 0;
    EXPECT_EQ(props::Describe(lib, r).rating, 0);
}

TEST_F(PropsTest, ApplyWritesTheMarkedFieldsInOrderAndSetsTheFlags) {
    fixtures::TagFields tags;
    tags.artist = "Old Artist";
    tags.album = "Old Album";
    ASSERT_TRUE(fixtures::WriteMp3(path("a.mp3"), tags));
    scan();
    const qint32 id = idOf("a.mp3");
    props::PropsEdit edit(record(QString::number(id)));
    EXPECT_TRUE(edit.plan().isEmpty());

    edit.setText(Field::Year, " 1999 ");
    edit.setText(Field::Title, "New Title");
    edit.setGenre(8, " Jazz ");
    edit.setText(Field::Artist, "New Artist ");
    edit.setText(Field::Track, "7");
    edit.setText(Field::Album, "New Album");
    edit.setRating(3);
    QList<int> codes;
    for (const props::Write& w : edit.plan())
        codes << w.code;
    EXPECT_EQ(codes, (QList<int>{1, 0, 5, 6, 4, 3, 2, -1}));
    EXPECT_EQ(edit.plan().at(2).text, "8");
    EXPECT_EQ(edit.plan().at(3).text, "Jazz");

    EXPECT_TRUE(edit.Apply(lib).isEmpty());
    EXPECT_TRUE(edit.applied() && edit.artistWritten() && edit.albumWritten());
    EXPECT_FALSE(edit.anyMarked());
    const AudioFacts facts = ReadAudioFacts(path("a.mp3"));
    EXPECT_EQ(facts.artist, "New Artist");
    EXPECT_EQ(facts.album, "New Album");
    EXPECT_EQ(facts.title, "New Title");
    EXPECT_EQ(facts.year, "1999");
    EXPECT_EQ(facts.track, "7");
    EXPECT_EQ(facts.genre, "Jazz");
    EXPECT_EQ(lib.GetFileField(id, FileField::Rating).toInt(), 3);
    EXPECT_EQ(lib.GetFileField(id, FileField::Artist).toString(), "New Artist");

    // A rating alone: applied, but neither artist nor album written.
    props::PropsEdit rating(record(QString::number(id)));
    rating.setRating(5);
    EXPECT_TRUE(rating.Apply(lib).isEmpty());
    EXPECT_TRUE(rating.applied());
    EXPECT_FALSE(rating.artistWritten() || rating.albumWritten());
    EXPECT_EQ(lib.GetFileField(id, FileField::Rating).toInt(), 5);
}

TEST_F(PropsTest, FileOutsideTheLibraryIsWrittenByPathWithoutRating) {
    const QString outside = dir() + QStringLiteral("/outside.mp3");
    ASSERT_TRUE(fixtures::WriteMp3(outside, fixtures::ArtistOnly("X")));
    props::PropsEdit edit(record(outside));
    ASSERT_EQ(edit.File.id, 0);
    edit.setRating(4);
    edit.setText(Field::Artist, "Y");
    ASSERT_EQ(edit.plan().size(), 1);
    EXPECT_TRUE(edit.Apply(lib).isEmpty());
    EXPECT_EQ(ReadAudioFacts(outside).artist, "Y");
    EXPECT_TRUE(rows("select id from FILES", {"id"}).isEmpty());
}

TEST_F(PropsTest, SelectionSummaryAddsSizesAndDurations) {
    ASSERT_TRUE(fixtures::WriteMp3(path("a.mp3"), {}));
    ASSERT_TRUE(fixtures::WriteWav(path("b.wav"), 1.0));
    scan();
    const qint32 a = idOf("a.mp3"), b = idOf("b.wav");
    const props::SelectionSummary s =
        props::Summarize(lib, {{a, path("a.mp3")}, {b, path("b.wav")}}, QLocale(QLocale::English));
    const qint64 bytes = QFile(path("a.mp3")).size() + QFile(path("b.wav")).size();
    EXPECT_EQ(s.count, 2);
    EXPECT_EQ(s.sizeUnits, bytes * 10000);
    EXPECT_EQ(s.paths, (QStringList{path("a.mp3"), path("b.wav")}));
    ASSERT_EQ(s.info.size(), 3);
    EXPECT_EQ(s.info[0], "2");
    EXPECT_EQ(s.info[1], mainMod::FormatSize(double(bytes)) + " (" +
                             QLocale(QLocale::English).toString(bytes) + " bytes)");
    EXPECT_TRUE(s.info[1].contains(',')); // grouped
    EXPECT_EQ(s.info[2], "00:00:01");     // 0.5 s + 1 s, fractions dropped
    EXPECT_EQ(props::GroupedSizeText(1023, QLocale(QLocale::English)), mainMod::FormatSize(1023));
}

} // namespace
