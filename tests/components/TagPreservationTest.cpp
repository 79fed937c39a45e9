// Every kind of tag write keeps what it was not asked to change: the picture,
// comment, lyrics, user text frames and ReplayGain of MP3 files (ID3v2.3 and
// 2.4) and the corresponding WMA attributes, and a row that cannot follow its
// file is reported.
#include "components/TagService.h"
#include "editing/PropsEdit.h"
#include "support/LibraryFixture.h"

#include <QFile>

#include <taglib/apeitem.h>
#include <taglib/apetag.h>
#include <taglib/asffile.h>
#include <taglib/asfpicture.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/popularimeterframe.h>
#include <taglib/relativevolumeframe.h>
#include <taglib/textidentificationframe.h>
#include <taglib/unsynchronizedlyricsframe.h>

#include <functional>
#include <map>

namespace {

QByteArray bytes(const TagLib::ByteVector& v) {
    return QByteArray(v.data(), static_cast<qsizetype>(v.size()));
}

// One write of the kinds TagService makes, with the frames or attributes it may change.
struct Kind {
    const char* name;
    std::function<bool(TagService&, const QString& id)> write;
    QList<QByteArray> mp3Frames;
    QList<QByteArray> wmaFields;
};

const QString kLong = QString(2500, QLatin1Char('w')); // outgrows any padding

QList<Kind> kinds() {
    auto tag = [](int code, QString value) {
        return [code, value](TagService& t, const QString& id) {
            const Status s = t.WriteTag(id, code, value);
            EXPECT_TRUE(s) << s.error().toStdString();
            return bool(s);
        };
    };
    const QList<QByteArray> genre = {"TCON"};
    const QList<QByteArray> wmaGenre = {"WM/Genre", "WM/GenreID"};
    return {
        {"artist in place", tag(TagService::Artist, "Same"), {"TPE1"}, {"Author"}},
        {"artist grown", tag(TagService::Artist, kLong), {"TPE1"}, {"Author"}},
        {"album", tag(TagService::Album, kLong), {"TALB"}, {"WM/AlbumTitle"}},
        {"title", tag(TagService::Title, "T"), {"TIT2"}, {"Title"}},
        {"year", tag(TagService::Year, "1987"), {"TDRC", "TYER", "TDAT"}, {"WM/Year"}},
        {"year removed", tag(TagService::Year, ""), {"TDRC", "TYER", "TDAT"}, {"WM/Year"}},
        {"track", tag(TagService::Track, "12/14"), {"TRCK"}, {"WM/TrackNumber", "WM/Track"}},
        {"genre number", tag(TagService::GenreNumber_, "17"), genre, wmaGenre},
        {"genre text", tag(TagService::GenreText, "Chiptune"), genre, wmaGenre},
        {"artist of all files",
         [](TagService& t, const QString&) { return t.ChangeArtist("Old", "Changed") == 1; },
         {"TPE1"},
         {"Author"}},
        {"album of an artist",
         [](TagService& t, const QString&) {
             return t.ChangeAlbum("Old Album", "Changed Album", "Old") == 1;
         },
         {"TALB"},
         {"WM/AlbumTitle"}},
    };
}

// Every ID3v2 frame as it is stored, by its id and description.
std::multimap<QByteArray, QByteArray> mp3Frames(const QString& path,
                                                const QList<QByteArray>& skip) {
    std::multimap<QByteArray, QByteArray> out;
    TagLib::MPEG::File f(QFile::encodeName(path).constData());
    if (f.hasAPETag()) {
        for (const auto& [key, item] : f.APETag()->itemListMap())
            out.emplace("APE " + QByteArray(key.to8Bit(true).c_str()), bytes(item.render()));
    }
    if (!f.hasID3v2Tag()) return out;
    for (TagLib::ID3v2::Frame* frame : f.ID3v2Tag()->frameList()) {
        const QByteArray id = bytes(frame->frameID());
        if (skip.contains(id)) continue;
        out.emplace(id, bytes(frame->render()));
    }
    return out;
}

// Every ASF attribute and content-description field, by name.
std::multimap<QByteArray, QByteArray> wmaFields(const QString& path,
                                                const QList<QByteArray>& skip) {
    std::multimap<QByteArray, QByteArray> out;
    TagLib::ASF::File f(QFile::encodeName(path).constData());
    if (!f.isValid()) return out;
    TagLib::ASF::Tag* t = f.tag();
    auto add = [&](const QByteArray& name, const QByteArray& value) {
        if (!skip.contains(name)) out.emplace(name, value);
    };
    add("Title", t->title().to8Bit(true).c_str());
    add("Author", t->artist().to8Bit(true).c_str());
    add("Copyright", t->copyright().to8Bit(true).c_str());
    add("Description", t->comment().to8Bit(true).c_str());
    add("Rating", t->rating().to8Bit(true).c_str());
    for (const auto& [name, list] : t->attributeListMap()) {
        for (const TagLib::ASF::Attribute& a : list) {
            QByteArray value;
            switch (a.type()) {
            case TagLib::ASF::Attribute::UnicodeType:
                value = a.toString().to8Bit(true).c_str();
                break;
            case TagLib::ASF::Attribute::DWordType:
            case TagLib::ASF::Attribute::QWordType:
            case TagLib::ASF::Attribute::WordType:
            case TagLib::ASF::Attribute::BoolType:
                value = QByteArray::number(a.toULongLong()) + ' ' + QByteArray::number(a.toUInt()) +
                        ' ' + QByteArray::number(a.toBool());
                break;
            default:
                value = bytes(a.toByteVector());
            }
            if (name == "WM/Picture") value = bytes(a.toPicture().render());
            value.prepend(QByteArray::number(int(a.type())) + ':');
            add(name.to8Bit(true).c_str(), value);
        }
    }
    return out;
}

std::string listing(const std::multimap<QByteArray, QByteArray>& m) {
    std::string s;
    for (const auto& [k, v] : m)
        s += k.toStdString() + " (" + std::to_string(v.size()) + " bytes)\n";
    return s;
}

class TagPreservationTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        addMusicFolder();
    }
    QString path(const QString& name) const { return music() + QLatin1Char('/') + name; }

    // An MP3 with everything a tagger may put beside the six fields.
    void makeMp3(const QString& file, int version, int padding) {
        ASSERT_TRUE(fixtures::WriteMp3(file, {}));
        TagLib::MPEG::File f(QFile::encodeName(file).constData());
        TagLib::ID3v2::Tag* t = f.ID3v2Tag(true);
        t->setArtist("Old");
        t->setAlbum("Old Album");
        t->setTitle("Old Title");
        t->setYear(1980);
        t->setTrack(3);
        t->setGenre("Jazz");
        auto* pic = new TagLib::ID3v2::AttachedPictureFrame;
        pic->setMimeType("image/jpeg");
        pic->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
        pic->setDescription("front");
        pic->setPicture(TagLib::ByteVector(QByteArray(1500, '\x5a').constData(), 1500));
        t->addFrame(pic);
        auto* comment = new TagLib::ID3v2::CommentsFrame(TagLib::String::UTF16);
        comment->setLanguage("eng");
        comment->setText("a comment ü");
        t->addFrame(comment);
        auto* lyrics = new TagLib::ID3v2::UnsynchronizedLyricsFrame(TagLib::String::UTF16);
        lyrics->setLanguage("eng");
        lyrics->setText("la la la\nsecond line");
        t->addFrame(lyrics);
        for (const auto& [desc, value] :
             {std::pair{"MY OWN FIELD", "kept"}, std::pair{"replaygain_track_gain", "-6.48 dB"},
              std::pair{"replaygain_track_peak", "0.988"},
              std::pair{"replaygain_album_gain", "-7.01 dB"}}) {
            auto* txxx = new TagLib::ID3v2::UserTextIdentificationFrame;
            txxx->setDescription(desc);
            txxx->setText(value);
            t->addFrame(txxx);
        }
        auto* popm = new TagLib::ID3v2::PopularimeterFrame;
        popm->setEmail("someone@example.org");
        popm->setRating(196);
        popm->setCounter(7);
        t->addFrame(popm);
        if (version == 4) {
            auto* rva2 = new TagLib::ID3v2::RelativeVolumeFrame;
            rva2->setIdentification("track");
            rva2->setVolumeAdjustment(-6.5f);
            t->addFrame(rva2);
        }
        ASSERT_TRUE(f.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers,
                           version == 4 ? TagLib::ID3v2::v4 : TagLib::ID3v2::v3,
                           TagLib::File::DoNotDuplicate));
        if (padding == 0) return;
        // Room for the tag to grow in place: more padding, as a tagger may leave.
        QByteArray data = fixtures::ReadBytes(file);
        const int size = (data[6] << 21) | (data[7] << 14) | (data[8] << 7) | data[9];
        data.insert(10 + size, QByteArray(padding, '\0'));
        const int grown = size + padding;
        data[6] = char((grown >> 21) & 0x7f);
        data[7] = char((grown >> 14) & 0x7f);
        data[8] = char((grown >> 7) & 0x7f);
        data[9] = char(grown & 0x7f);
        ASSERT_TRUE(fixtures::WriteBytes(file, data));
    }

    // An ID3v2.3 tag with the version's own frames that 2.4 dropped: the volume
    // adjustment (RVAD, an older home of ReplayGain), the size and the date.
    void makeLegacyMp3(const QString& file) {
        makeMp3(file, 3, 0);
        auto frame = [](const char* id, const QByteArray& data) {
            QByteArray f(id, 4);
            const quint32 n = static_cast<quint32>(data.size());
            f += char(n >> 24);
            f += char(n >> 16);
            f += char(n >> 8);
            f += char(n);
            f += QByteArray(2, '\0');
            return f + data;
        };
        const QByteArray frames = frame("RVAD", QByteArray::fromHex("031001f4020800400030")) +
                                  frame("TSIZ", QByteArray("\0"
                                                           "123456",
                                                           7)) +
                                  frame("TDAT", QByteArray("\0"
                                                           "0503",
                                                           5));
        QByteArray data = fixtures::ReadBytes(file);
        const int size = (data[6] << 21) | (data[7] << 14) | (data[8] << 7) | data[9];
        data.insert(10, frames);
        const int grown = size + static_cast<int>(frames.size());
        data[6] = char((grown >> 21) & 0x7f);
        data[7] = char((grown >> 14) & 0x7f);
        data[8] = char((grown >> 7) & 0x7f);
        data[9] = char(grown & 0x7f);
        ASSERT_TRUE(fixtures::WriteBytes(file, data));
    }

    // ReplayGain as a volume tool leaves it: in an APEv2 tag after the audio.
    void makeApeMp3(const QString& file) {
        makeMp3(file, 3, 0);
        TagLib::MPEG::File f(QFile::encodeName(file).constData());
        TagLib::APE::Tag* ape = f.APETag(true);
        ape->addValue("REPLAYGAIN_TRACK_GAIN", "-6.480000 dB");
        ape->addValue("REPLAYGAIN_TRACK_PEAK", "0.988251");
        ape->addValue("MP3GAIN_MINMAX", "112,210");
        ASSERT_TRUE(f.save(TagLib::MPEG::File::ID3v2 | TagLib::MPEG::File::APE,
                           TagLib::File::StripNone, TagLib::ID3v2::v3,
                           TagLib::File::DoNotDuplicate));
    }

    void makeWma(const QString& file) { makeWma(file, 1500); }
    // pictureSize: above 64 KiB the picture goes to the header extension's
    // metadata library, as covers often do.
    void makeWma(const QString& file, int pictureSize) {
        fixtures::TagFields tags;
        tags.artist = "Old";
        tags.album = "Old Album";
        tags.title = "Old Title";
        tags.track = "3";
        tags.year = "1980";
        tags.genre = "Jazz";
        tags.comment = "a comment ü";
        ASSERT_TRUE(fixtures::WriteWma(file, tags));
        TagLib::ASF::File f(QFile::encodeName(file).constData());
        TagLib::ASF::Tag* t = f.tag();
        TagLib::ASF::Picture pic;
        pic.setMimeType("image/jpeg");
        pic.setType(TagLib::ASF::Picture::FrontCover);
        pic.setDescription("front");
        pic.setPicture(TagLib::ByteVector(QByteArray(pictureSize, '\x5a').constData(),
                                          static_cast<unsigned>(pictureSize)));
        t->addAttribute("WM/Picture", TagLib::ASF::Attribute(pic));
        t->setAttribute("WM/Lyrics", TagLib::ASF::Attribute(TagLib::String("la la la")));
        t->setAttribute("WM/AlbumArtist", TagLib::ASF::Attribute(TagLib::String("Various")));
        t->setAttribute("MY OWN FIELD", TagLib::ASF::Attribute(TagLib::String("kept")));
        t->setAttribute("replaygain_track_gain",
                        TagLib::ASF::Attribute(TagLib::String("-6.48 dB")));
        t->setAttribute("WM/SharedUserRating", TagLib::ASF::Attribute(99u));
        t->setCopyright("(c) someone");
        ASSERT_TRUE(f.save());
    }
};

TEST_F(TagPreservationTest, EveryKindOfWriteKeepsTheOtherFramesAndAttributes) {
    struct Variant {
        const char* name;
        std::function<void(const QString&)> make;
        bool mp3;
    };
    const QList<Variant> variants = {
        {"v23.mp3", [this](const QString& p) { makeMp3(p, 3, 0); }, true},
        {"v24.mp3", [this](const QString& p) { makeMp3(p, 4, 0); }, true},
        {"padded.mp3", [this](const QString& p) { makeMp3(p, 3, 8000); }, true},
        {"legacy.mp3", [this](const QString& p) { makeLegacyMp3(p); }, true},
        {"ape.mp3", [this](const QString& p) { makeApeMp3(p); }, true},
        {"song.wma", [this](const QString& p) { makeWma(p); }, false},
        {"big.wma", [this](const QString& p) { makeWma(p, 100000); }, false},
    };
    for (const Kind& kind : kinds()) {
        for (const Variant& v : variants) {
            SCOPED_TRACE(std::string(kind.name) + " on " + v.name);
            // One file at a time, so that the whole-library writes find only it.
            QFile::remove(path(v.name));
            v.make(path(v.name));
            scan();
            const QString id = QString::number(idOf(v.name));
            ASSERT_NE(id, "0");
            const auto before = v.mp3 ? mp3Frames(path(v.name), kind.mp3Frames)
                                      : wmaFields(path(v.name), kind.wmaFields);
            ASSERT_GE(before.size(), v.mp3 ? 9u : 8u) << listing(before);
            if (QByteArray(v.name) == "ape.mp3") {
                ASSERT_EQ(before.count("APE REPLAYGAIN_TRACK_GAIN"), 1u) << listing(before);
            }
            if (QByteArray(v.name) == "big.wma") {
                ASSERT_EQ(before.count("WM/Picture"), 1u) << listing(before);
                ASSERT_GT(before.find("WM/Picture")->second.size(), 100000);
            }
            if (QByteArray(v.name) == "legacy.mp3") {
                ASSERT_EQ(before.count("RVAD"), 1u) << listing(before);
            }
            ASSERT_TRUE(kind.write(*lib.Tags(), id));
            const auto after = v.mp3 ? mp3Frames(path(v.name), kind.mp3Frames)
                                     : wmaFields(path(v.name), kind.wmaFields);
            EXPECT_TRUE(after == before) << "before:\n"
                                         << listing(before) << "after:\n"
                                         << listing(after);
            lib.RemoveLibraryFile(id);
            QFile::remove(path(v.name));
        }
    }
}

TEST_F(TagPreservationTest, Id3v22TagIsWrittenAs23WithEverythingInIt) {
    // Older encoders wrote ID3v2.2, which TagLib reads but cannot write.
    auto frame = [](const char* id, const QByteArray& data) {
        const auto n = static_cast<quint32>(data.size());
        return QByteArray(id, 3) + char(n >> 16) + char(n >> 8) + char(n) + data;
    };
    const QByteArray picture(1500, '\x5a');
    const QByteArray frames = frame("TT2", QByteArray("\0Old Title", 10)) +
                              frame("TP1", QByteArray("\0Old", 4)) +
                              frame("COM", QByteArray("\0eng\0a comment", 15)) +
                              frame("ULT", QByteArray("\0eng\0la la la", 14)) +
                              frame("TXX", QByteArray("\0replaygain_track_gain\0-6.48 dB", 31)) +
                              frame("PIC", QByteArray("\0JPG\x03"
                                                      "front\0",
                                                      11) +
                                               picture);
    const auto n = static_cast<quint32>(frames.size());
    QByteArray tag("ID3\x02\0\0", 6);
    tag += char((n >> 21) & 0x7f);
    tag += char((n >> 14) & 0x7f);
    tag += char((n >> 7) & 0x7f);
    tag += char(n & 0x7f);
    ASSERT_TRUE(fixtures::WriteBytes(path("old.mp3"), tag + frames + fixtures::Mp3Audio()));
    scan();
    const QString id = QString::number(idOf("old.mp3"));
    ASSERT_EQ(lib.GetFileField(id.toInt(), FileField::Title).toString(), "Old Title");
    ASSERT_TRUE(lib.Tags()->WriteTag(id, TagService::Title, "New Title"));

    TagLib::MPEG::File f(QFile::encodeName(path("old.mp3")).constData());
    ASSERT_TRUE(f.hasID3v2Tag());
    TagLib::ID3v2::Tag* t = f.ID3v2Tag();
    EXPECT_EQ(t->header()->majorVersion(), 3u);
    EXPECT_EQ(t->title(), "New Title");
    EXPECT_EQ(t->artist(), "Old");
    EXPECT_EQ(t->comment(), "a comment");
    const auto lyrics = t->frameListMap()["USLT"];
    ASSERT_EQ(lyrics.size(), 1u);
    EXPECT_EQ(lyrics.front()->toString(), "la la la");
    auto* gain = TagLib::ID3v2::UserTextIdentificationFrame::find(t, "replaygain_track_gain");
    ASSERT_NE(gain, nullptr);
    EXPECT_EQ(gain->fieldList().back(), "-6.48 dB");
    const auto pictures = t->frameListMap()["APIC"];
    ASSERT_EQ(pictures.size(), 1u);
    auto* apic = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(pictures.front());
    ASSERT_NE(apic, nullptr);
    EXPECT_EQ(bytes(apic->picture()), picture);
    EXPECT_EQ(apic->type(), TagLib::ID3v2::AttachedPictureFrame::FrontCover);
    EXPECT_EQ(apic->mimeType(), "image/jpeg");
}

TEST_F(TagPreservationTest, EditorIsToldWhenTheRowCannotFollowTheFile) {
    makeMp3(path("a.mp3"), 3, 0);
    scan();
    FileRecord r;
    ASSERT_TRUE(lib.GetFileRecord(QString::number(idOf("a.mp3")), r));
    props::PropsEdit edit(r);
    edit.setText(props::Field::Title, "New Title");
    edit.setRating(2);
    ASSERT_TRUE(conn().executeNative(
        QStringLiteral("create trigger block_files before update on FILES "
                       "begin select raise(abort, 'rows locked by the test'); end")));
    const QStringList failures = edit.Apply(lib);
    ASSERT_EQ(failures.size(), 2) << failures.join('\n').toStdString();
    EXPECT_TRUE(failures[0].contains("the file was written")) << failures[0].toStdString();
    EXPECT_TRUE(failures[1].contains("rating"));
    TagLib::MPEG::File f(QFile::encodeName(path("a.mp3")).constData());
    EXPECT_EQ(f.tag()->title(), "New Title");
}

} // namespace
