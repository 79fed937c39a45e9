#include "convert/TagObject.h"
#include "convert/ConvertTestAudio.h"
#include "convert/LameEncoder.h"
#include "convert/WmaEncoder.h"
#include "support/AudioFixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <taglib/asffile.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/fileref.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/unsynchronizedlyricsframe.h>

namespace {

using F = AudioTagObject::Field;

const QByteArray PictureBytes = QByteArray("\xFF\xD8\xFF\xE0 not really a jpeg", 22);

class TagObjectTest : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    QByteArray name(const char* file) const { return QFile::encodeName(path(file)); }

    // An MP3 with a picture, a plain comment, a player's private comment,
    // lyrics and a user text frame besides the common fields.
    void writeRichMp3(const char* file) {
        fixtures::TagFields t;
        t.title = "Old Title";
        t.artist = "Old Artist";
        t.album = "Old Album";
        t.year = "1999";
        t.track = "3/9";
        t.genre = "Rock";
        ASSERT_TRUE(fixtures::WriteMp3(path(file), t, true));
        TagLib::MPEG::File f(name(file).constData());
        TagLib::ID3v2::Tag* tag = f.ID3v2Tag(true);
        auto* pic = new TagLib::ID3v2::AttachedPictureFrame;
        pic->setMimeType("image/jpeg");
        pic->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
        pic->setPicture(TagLib::ByteVector(PictureBytes.constData(), PictureBytes.size()));
        tag->addFrame(pic);
        auto* comment = new TagLib::ID3v2::CommentsFrame;
        comment->setLanguage("eng");
        comment->setText("Old comment");
        tag->addFrame(comment);
        auto* norm = new TagLib::ID3v2::CommentsFrame;
        norm->setLanguage("eng");
        norm->setDescription("iTunNORM");
        norm->setText(" 0000044E 00000000");
        tag->addFrame(norm);
        auto* lyrics = new TagLib::ID3v2::UnsynchronizedLyricsFrame;
        lyrics->setLanguage("eng");
        lyrics->setText("la la la");
        tag->addFrame(lyrics);
        tag->addFrame(new TagLib::ID3v2::UserTextIdentificationFrame(
            "REPLAYGAIN_TRACK_GAIN", TagLib::StringList("-6.5 dB")));
        ASSERT_TRUE(
            f.save(TagLib::MPEG::File::AllTags, TagLib::File::StripNone, TagLib::ID3v2::v3));
    }

    void expectRichFramesKept(const char* file) {
        TagLib::MPEG::File f(name(file).constData());
        ASSERT_TRUE(f.hasID3v2Tag());
        const auto& map = f.ID3v2Tag()->frameListMap();
        ASSERT_EQ(map["APIC"].size(), 1u);
        const auto* pic = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(map["APIC"].front());
        EXPECT_EQ(pic->picture(),
                  TagLib::ByteVector(PictureBytes.constData(), PictureBytes.size()));
        ASSERT_EQ(map["USLT"].size(), 1u);
        EXPECT_EQ(map["USLT"].front()->toString(), "la la la");
        ASSERT_EQ(map["TXXX"].size(), 1u);
        EXPECT_TRUE(map["TXXX"].front()->toString().find("-6.5 dB") >= 0);
        bool norm = false;
        for (auto* frame : map["COMM"])
            if (auto* c = dynamic_cast<TagLib::ID3v2::CommentsFrame*>(frame))
                norm =
                    norm || (c->description() == "iTunNORM" && c->text() == " 0000044E 00000000");
        EXPECT_TRUE(norm);
        EXPECT_EQ(f.ID3v2Tag()->header()->majorVersion(), 3u);
        EXPECT_TRUE(f.hasID3v1Tag());
    }

    QTemporaryDir dir;
};

TEST_F(TagObjectTest, Id3ReadsAndWritesEveryFieldAndKeepsTheOtherFrames) {
    writeRichMp3("a.mp3");
    Id3TagObject tag;
    ASSERT_TRUE(tag.Open(path("a.mp3"))) << tag.LastError().toStdString();
    EXPECT_EQ(tag.Title(), "Old Title");
    EXPECT_EQ(tag.Artist(), "Old Artist");
    EXPECT_EQ(tag.AlbumName(), "Old Album");
    EXPECT_EQ(tag.YearText(), "1999");
    EXPECT_EQ(tag.CommentText(), "Old comment");
    EXPECT_EQ(tag.GenreName(), "Rock");
    EXPECT_EQ(tag.TrackText(), "3/9");

    tag.SetValue(F::TitleTag, QStringLiteral("Neuer Titel – ä"));
    tag.SetValue(F::ArtistTag, "New Artist");
    tag.SetValue(F::AlbumTag, "New Album");
    tag.SetValue(F::YearTag, "2021");
    tag.SetValue(F::CommentTag, QStringLiteral("Kommentar ü"));
    tag.SetValue(F::GenreTag, "Jazz");
    tag.SetValue(F::TrackTag, "4");
    ASSERT_TRUE(tag.Save()) << tag.LastError().toStdString();
    expectRichFramesKept("a.mp3");

    Id3TagObject again;
    ASSERT_TRUE(again.Open(path("a.mp3")));
    EXPECT_EQ(again.Title(), QStringLiteral("Neuer Titel – ä"));
    EXPECT_EQ(again.Artist(), "New Artist");
    EXPECT_EQ(again.AlbumName(), "New Album");
    EXPECT_EQ(again.YearText(), "2021");
    EXPECT_EQ(again.CommentText(), QStringLiteral("Kommentar ü"));
    EXPECT_EQ(again.GenreName(), "Jazz");
    EXPECT_EQ(again.TrackText(), "4");
    TagLib::MPEG::File f(name("a.mp3").constData());
    EXPECT_EQ(f.ID3v1Tag()->comment(), TagLib::String("Kommentar ü", TagLib::String::UTF8));
}

TEST_F(TagObjectTest, ClearingRemovesTheFieldsButNotTheOtherFrames) {
    writeRichMp3("a.mp3");
    Id3TagObject tag;
    ASSERT_TRUE(tag.Open(path("a.mp3")));
    tag.Clear();
    tag.SetValue(F::TitleTag, "Only Title");
    ASSERT_TRUE(tag.Save()) << tag.LastError().toStdString();
    Id3TagObject again;
    ASSERT_TRUE(again.Open(path("a.mp3")));
    EXPECT_EQ(again.Title(), "Only Title");
    EXPECT_EQ(again.Artist(), "");
    EXPECT_EQ(again.CommentText(), "");
    EXPECT_EQ(again.TrackText(), "");
    EXPECT_EQ(again.YearText(), "");
    TagLib::MPEG::File f(name("a.mp3").constData());
    const auto& map = f.ID3v2Tag()->frameListMap();
    EXPECT_EQ(map["APIC"].size(), 1u);
    EXPECT_EQ(map["USLT"].size(), 1u);
    EXPECT_EQ(map["TXXX"].size(), 1u);
    EXPECT_EQ(map["COMM"].size(), 1u); // the private one
}

TEST_F(TagObjectTest, UnchangedFieldsAreNotWritten) {
    writeRichMp3("a.mp3");
    const QByteArray before = fixtures::ReadBytes(path("a.mp3"));
    Id3TagObject tag;
    ASSERT_TRUE(tag.Open(path("a.mp3")));
    tag.SetValue(F::ArtistTag, tag.Artist());
    ASSERT_TRUE(tag.Save());
    EXPECT_EQ(fixtures::ReadBytes(path("a.mp3")), before);
}

TEST_F(TagObjectTest, WmaReadsAndWritesEveryFieldAndKeepsTheOtherAttributes) {
    fixtures::TagFields t;
    t.title = "Old Title";
    t.artist = "Old Artist";
    t.album = "Old Album";
    t.comment = "Old comment";
    ASSERT_TRUE(fixtures::WriteWma(path("a.wma"), t));
    {
        TagLib::ASF::File f(name("a.wma").constData());
        TagLib::ASF::Picture pic;
        pic.setMimeType("image/jpeg");
        pic.setType(TagLib::ASF::Picture::FrontCover);
        pic.setPicture(TagLib::ByteVector(PictureBytes.constData(), PictureBytes.size()));
        f.tag()->setAttribute("WM/Picture", TagLib::ASF::Attribute(pic));
        f.tag()->setComment("Old comment");
        f.tag()->setAttribute("WM/Lyrics", TagLib::ASF::Attribute(TagLib::String("la la la")));
        f.tag()->setAttribute("replaygain_track_gain",
                              TagLib::ASF::Attribute(TagLib::String("-6.5 dB")));
        ASSERT_TRUE(f.save());
    }
    WmaTagObject tag;
    ASSERT_TRUE(tag.Open(path("a.wma"))) << tag.LastError().toStdString();
    EXPECT_EQ(tag.Title(), "Old Title");
    EXPECT_EQ(tag.Artist(), "Old Artist");
    EXPECT_EQ(tag.AlbumName(), "Old Album");
    EXPECT_EQ(tag.CommentText(), "Old comment");
    tag.SetValue(F::TitleTag, "New Title");
    tag.SetValue(F::ArtistTag, "New Artist");
    tag.SetValue(F::AlbumTag, "New Album");
    tag.SetValue(F::YearTag, "2020");
    tag.SetValue(F::CommentTag, QStringLiteral("Comentário"));
    tag.SetValue(F::GenreTag, "Blues");
    tag.SetValue(F::TrackTag, "7");
    ASSERT_TRUE(tag.Save()) << tag.LastError().toStdString();

    WmaTagObject again;
    ASSERT_TRUE(again.Open(path("a.wma")));
    EXPECT_EQ(again.Title(), "New Title");
    EXPECT_EQ(again.Artist(), "New Artist");
    EXPECT_EQ(again.AlbumName(), "New Album");
    EXPECT_EQ(again.YearText(), "2020");
    EXPECT_EQ(again.CommentText(), QStringLiteral("Comentário"));
    EXPECT_EQ(again.GenreName(), "Blues");
    EXPECT_EQ(again.TrackText(), "7");
    TagLib::ASF::File f(name("a.wma").constData());
    ASSERT_TRUE(f.isValid());
    const auto pics = f.tag()->attribute("WM/Picture");
    ASSERT_EQ(pics.size(), 1u);
    EXPECT_EQ(pics.front().toPicture().picture(),
              TagLib::ByteVector(PictureBytes.constData(), PictureBytes.size()));
    ASSERT_EQ(f.tag()->attribute("WM/Lyrics").size(), 1u);
    EXPECT_EQ(f.tag()->attribute("WM/Lyrics").front().toString(), "la la la");
    ASSERT_EQ(f.tag()->attribute("replaygain_track_gain").size(), 1u);
    EXPECT_NEAR(f.audioProperties()->lengthInMilliseconds(), 500, 100);
}

// What the rip and the conversion do: encode, open the new file, clear, write.
TEST_F(TagObjectTest, FreshlyEncodedFilesTakeEveryFieldAndTagLibReadsThem) {
    ASSERT_TRUE(WriteToneWav(path("in.wav"), 1.0));
    lameEncoder mp3;
    wmaEncoder wma;
    Id3TagObject id3Tag;
    WmaTagObject wmaTag;
    const std::pair<AudioEncoder*, AudioTagObject*> pairs[] = {{&mp3, &id3Tag}, {&wma, &wmaTag}};
    const char* targets[] = {"out.mp3", "out.wma"};
    for (int i = 0; i < 2; ++i) {
        auto [encoder, tag] = pairs[i];
        encoder->SetInputFile(path("in.wav"));
        encoder->SetOutputFile(path(targets[i]));
        ASSERT_TRUE(encoder->Encode()) << targets[i];
        ASSERT_TRUE(tag->Open(path(targets[i]))) << tag->LastError().toStdString();
        tag->Clear();
        tag->SetValue(F::TitleTag, "Track Title");
        tag->SetValue(F::ArtistTag, "Artist");
        tag->SetValue(F::AlbumTag, "Album");
        tag->SetValue(F::YearTag, "2003");
        tag->SetValue(F::CommentTag, "Ripped");
        tag->SetValue(F::GenreTag, "Pop");
        tag->SetValue(F::TrackTag, "5");
        ASSERT_TRUE(tag->Save()) << targets[i] << " " << tag->LastError().toStdString();

        TagLib::FileRef f(name(targets[i]).constData());
        ASSERT_FALSE(f.isNull()) << targets[i];
        EXPECT_EQ(f.tag()->title(), "Track Title") << targets[i];
        EXPECT_EQ(f.tag()->artist(), "Artist") << targets[i];
        EXPECT_EQ(f.tag()->album(), "Album") << targets[i];
        EXPECT_EQ(f.tag()->year(), 2003u) << targets[i];
        EXPECT_EQ(f.tag()->comment(), "Ripped") << targets[i];
        EXPECT_EQ(f.tag()->genre(), "Pop") << targets[i];
        EXPECT_EQ(f.tag()->track(), 5u) << targets[i];
        EXPECT_NEAR(f.audioProperties()->lengthInMilliseconds(), 1000, 60) << targets[i];
    }
}

TEST_F(TagObjectTest, FailuresComeThroughTheResult) {
    ASSERT_TRUE(fixtures::WriteBytes(path("junk.mp3"), QByteArray(3000, 'x')));
    Id3TagObject id3;
    EXPECT_FALSE(id3.Open(path("missing.mp3")));
    EXPECT_FALSE(id3.LastError().isEmpty());
    EXPECT_FALSE(id3.Open(path("junk.mp3")));
    EXPECT_FALSE(id3.Save()); // nothing open
    WmaTagObject wma;
    EXPECT_FALSE(wma.Open(path("junk.mp3")));

    // A refused value leaves the file as it was.
    ASSERT_TRUE(fixtures::WriteMp3(path("a.mp3"), fixtures::ArtistOnly("A")));
    const QByteArray before = fixtures::ReadBytes(path("a.mp3"));
    ASSERT_TRUE(id3.Open(path("a.mp3")));
    id3.SetValue(F::YearTag, "last year");
    EXPECT_FALSE(id3.Save());
    EXPECT_FALSE(id3.LastError().isEmpty());
    EXPECT_EQ(fixtures::ReadBytes(path("a.mp3")), before);
}

} // namespace
