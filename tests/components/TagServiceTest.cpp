// Tag writes read back from the files with TagLib, and the rows that follow.
#include "core/FileNameCodec.h"
#include "support/LibraryFixture.h"

#include <QFile>

#include <taglib/asffile.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/privateframe.h>
#include <taglib/textidentificationframe.h>

#include <cstdio>
#include <memory>

#include <unistd.h>

namespace {

using fixtures::TagFields;

QString q(const TagLib::String& s) {
    return QString::fromStdString(s.to8Bit(true));
}

class TagServiceTest : public LibraryTest {
protected:
    // An MP3 with a 2.3 or 2.4 tag holding extra frames (picture, comment,
    // a private frame) and optionally an ID3v1 tag.
    QString makeMp3(const QString& name, int version, bool v1) {
        const QString path = music() + QLatin1Char('/') + name;
        EXPECT_TRUE(fixtures::WriteMp3(path, {}, false));
        TagLib::MPEG::File f(QFile::encodeName(path).constData());
        TagLib::ID3v2::Tag* t = f.ID3v2Tag(true);
        t->setArtist("Old Artist");
        t->setAlbum("Old Album");
        t->setTitle("Old Title");
        t->setYear(1980);
        t->setTrack(3);
        t->setGenre("Jazz");
        auto* pic = new TagLib::ID3v2::AttachedPictureFrame;
        pic->setMimeType("image/png");
        pic->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
        pic->setPicture(TagLib::ByteVector("\x89PNG fake picture", 17));
        t->addFrame(pic);
        auto* comment = new TagLib::ID3v2::CommentsFrame;
        comment->setText("keep me");
        t->addFrame(comment);
        auto* priv = new TagLib::ID3v2::PrivateFrame;
        priv->setOwner("com.example.private");
        priv->setData(TagLib::ByteVector("opaque", 6));
        t->addFrame(priv);
        int tags = TagLib::MPEG::File::ID3v2;
        if (v1) {
            TagLib::ID3v1::Tag* t1 = f.ID3v1Tag(true);
            t1->setArtist("Old Artist");
            t1->setTitle("Old Title");
            t1->setGenreNumber(8);
            tags |= TagLib::MPEG::File::ID3v1;
        }
        EXPECT_TRUE(f.save(tags, TagLib::File::StripOthers,
                           version == 4 ? TagLib::ID3v2::v4 : TagLib::ID3v2::v3,
                           TagLib::File::DoNotDuplicate));
        return path;
    }
};

} // namespace

TEST_F(TagServiceTest, Mp3WritesKeepVersionFramesAndAbsentId3v1) {
    addMusicFolder();
    const QString p3 = makeMp3("v23.mp3", 3, false);
    const QString p4 = makeMp3("v24.mp3", 4, true);
    scan();
    TagService* tags = lib.Tags();
    for (const char* name : {"v23.mp3", "v24.mp3"}) {
        const QString id = QString::number(idOf(name));
        ASSERT_TRUE(tags->WriteTag(id, TagService::Artist, "Björk"));
        ASSERT_TRUE(tags->WriteTag(id, TagService::Album, "Début"));
        ASSERT_TRUE(tags->WriteTag(id, TagService::Year, "1993"));
        ASSERT_TRUE(tags->WriteTag(id, TagService::Track, "4/11"));
        ASSERT_TRUE(tags->WriteTag(id, TagService::Title, "Venus as a Boy"));
        ASSERT_TRUE(tags->WriteTag(id, TagService::GenreNumber_, "17"));
    }
    for (const QString& path : {p3, p4}) {
        TagLib::MPEG::File f(QFile::encodeName(path).constData());
        ASSERT_TRUE(f.hasID3v2Tag());
        TagLib::ID3v2::Tag* t = f.ID3v2Tag();
        EXPECT_EQ(t->header()->majorVersion(), path == p3 ? 3u : 4u);
        EXPECT_EQ(q(t->artist()), "Björk");
        EXPECT_EQ(q(t->album()), "Début");
        EXPECT_EQ(t->year(), 1993u);
        EXPECT_EQ(q(t->frameListMap()["TRCK"].front()->toString()), "4/11");
        EXPECT_EQ(q(t->title()), "Venus as a Boy");
        EXPECT_EQ(q(t->genre()), "Rock");
        // Everything else survived.
        EXPECT_EQ(t->frameListMap()["APIC"].size(), 1u);
        EXPECT_EQ(q(t->comment()), "keep me");
        EXPECT_EQ(t->frameListMap()["PRIV"].size(), 1u);
        // ID3v1 only where there was one.
        EXPECT_EQ(f.hasID3v1Tag(), path == p4);
        if (path == p4) {
            EXPECT_EQ(q(f.ID3v1Tag()->artist()), "Björk");
            EXPECT_EQ(f.ID3v1Tag()->track(), 4u);
            EXPECT_EQ(f.ID3v1Tag()->genreNumber(), 17u);
        }
    }
    // The rows follow, and a rescan finds nothing to re-read.
    FileRecord r;
    ASSERT_TRUE(lib.GetFileRecord(idOf("v24.mp3"), r));
    EXPECT_EQ(r.artist, "Björk");
    EXPECT_EQ(r.track, "4/11");
    EXPECT_EQ(r.genreNumber, 17);
    EXPECT_EQ(r.genreText, "Rock");
    EXPECT_EQ(r.size, QFileInfo(p4).size());
    EXPECT_EQ(scan().updated, 0);

    // Genre text: a name outside the list keeps number 255.
    const QString id = QString::number(idOf("v24.mp3"));
    ASSERT_TRUE(tags->WriteTag(id, TagService::GenreNumber_, "255"));
    ASSERT_TRUE(tags->WriteTag(id, TagService::GenreText, "Chiptune"));
    ASSERT_TRUE(lib.GetFileRecord(id, r));
    EXPECT_EQ(r.genreText, "Chiptune");
    EXPECT_EQ(r.genreNumber, 255);
    TagLib::MPEG::File f(QFile::encodeName(p4).constData());
    EXPECT_EQ(q(f.ID3v2Tag()->genre()), "Chiptune");
    EXPECT_EQ(f.ID3v1Tag()->genreNumber(), 255u);
    // An empty value removes the field.
    ASSERT_TRUE(tags->WriteTag(id, TagService::Year, QString()));
    TagLib::MPEG::File g(QFile::encodeName(p4).constData());
    EXPECT_EQ(g.ID3v2Tag()->year(), 0u);
    EXPECT_EQ(lib.GetFileField(id.toInt(), FileField::Year).toString(), QString());
}

TEST_F(TagServiceTest, NewTagIsId3v23AndFilesOutsideTheLibraryGetTheirTagOnly) {
    const QString path = dir() + QStringLiteral("/loose.mp3");
    ASSERT_TRUE(fixtures::WriteMp3(path, {}, false));
    ASSERT_TRUE(lib.Tags()->WriteTag(path, TagService::Title, "Fresh"));
    TagLib::MPEG::File f(QFile::encodeName(path).constData());
    ASSERT_TRUE(f.hasID3v2Tag());
    EXPECT_EQ(f.ID3v2Tag()->header()->majorVersion(), 3u);
    EXPECT_FALSE(f.hasID3v1Tag());
    EXPECT_EQ(q(f.ID3v2Tag()->title()), "Fresh");
    EXPECT_EQ(rows("select count(*) as n from files", {"n"}), QStringList{"0"});
    // By path, a library file gets its row updated too.
    addMusicFolder();
    const QString inLib = makeMp3("in.mp3", 3, false);
    scan();
    ASSERT_TRUE(lib.Tags()->WriteTag(inLib, TagService::Artist, "By Path"));
    EXPECT_EQ(lib.GetFileField(idOf("in.mp3"), FileField::Artist).toString(), "By Path");
}

TEST_F(TagServiceTest, WmaWritesAsfAttributes) {
    addMusicFolder();
    const QString path = music() + QStringLiteral("/song.wma");
    ASSERT_TRUE(
        fixtures::WriteWma(path, {"Old", "Old Album", "Old Title", "2", "2000", "Pop", QString()}));
    scan();
    const QString id = QString::number(idOf("song.wma"));
    TagService* tags = lib.Tags();
    ASSERT_TRUE(tags->WriteTag(id, TagService::Artist, "Sigur Rós"));
    ASSERT_TRUE(tags->WriteTag(id, TagService::Album, "Ágætis byrjun"));
    ASSERT_TRUE(tags->WriteTag(id, TagService::Year, "1999"));
    ASSERT_TRUE(tags->WriteTag(id, TagService::Track, "5"));
    ASSERT_TRUE(tags->WriteTag(id, TagService::Title, "Olsen Olsen"));
    ASSERT_TRUE(tags->WriteTag(id, TagService::GenreNumber_, "26"));
    TagLib::ASF::File f(QFile::encodeName(path).constData());
    ASSERT_TRUE(f.isValid());
    TagLib::ASF::Tag* t = f.tag();
    EXPECT_EQ(q(t->artist()), "Sigur Rós");
    EXPECT_EQ(q(t->attribute("WM/AlbumTitle").front().toString()), "Ágætis byrjun");
    EXPECT_EQ(q(t->attribute("WM/Year").front().toString()), "1999");
    EXPECT_EQ(t->track(), 5u);
    EXPECT_EQ(q(t->title()), "Olsen Olsen");
    EXPECT_EQ(q(t->attribute("WM/Genre").front().toString()), "Ambient");
    // And the scanner reads back what was written.
    FileRecord r;
    ASSERT_TRUE(lib.GetFileRecord(path, r));
    EXPECT_EQ(r.album, "Ágætis byrjun");
    EXPECT_EQ(r.genreNumber, 26);
    ASSERT_TRUE(conn().execute("update files set size=0"));
    EXPECT_EQ(scan().updated, 1);
    ASSERT_TRUE(lib.GetFileRecord(id, r));
    EXPECT_EQ(r.artist, "Sigur Rós");
    EXPECT_EQ(r.year, "1999");
    EXPECT_EQ(r.track, "5");
}

TEST_F(TagServiceTest, RefusedWritesLeaveFileAndRowUnchanged) {
    addMusicFolder();
    const QString mp3 = makeMp3("keep.mp3", 3, true);
    ASSERT_TRUE(fixtures::WriteWma(music() + "/keep.wma",
                                   {"Old", "Old Album", "Old Title", "2", "2000", "Pop", {}}));
    ASSERT_TRUE(fixtures::WriteWav(music() + "/keep.wav"));
    ASSERT_TRUE(fixtures::WriteBytes(music() + "/bad.mp3", QByteArray(3000, '\0')));
    scan();
    TagService* tags = lib.Tags();
    const QStringList columns = {"md_year", "md_track", "date_updated"};
    for (const char* name : {"keep.mp3", "keep.wma"}) {
        SCOPED_TRACE(name);
        const QString path = music() + "/" + name;
        const QByteArray before = fixtures::ReadBytes(path);
        const QString id = QString::number(idOf(name));
        const QString sql = "select * from files where id=" + id;
        const QStringList rowBefore = rows(sql, columns);
        EXPECT_FALSE(tags->WriteTag(id, TagService::Year, "19 80"));
        EXPECT_FALSE(tags->WriteTag(id, TagService::Track, "x"));
        EXPECT_FALSE(tags->WriteTag(id, TagService::GenreNumber_, "300"));
        EXPECT_FALSE(tags->WriteTag(id, 7, "any"));
        EXPECT_FALSE(tags->WriteTag(id, -1, "any"));
        EXPECT_EQ(fixtures::ReadBytes(path), before);
        EXPECT_EQ(rows(sql, columns), rowBefore);
    }
    EXPECT_FALSE(tags->WriteTag("999999", TagService::Artist, "nobody"));
    const QString id = QString::number(idOf("keep.mp3"));
    // WAV files and files TagLib cannot parse are not written.
    const QString wavId = QString::number(idOf("keep.wav"));
    const QByteArray wav = fixtures::ReadBytes(music() + QStringLiteral("/keep.wav"));
    EXPECT_FALSE(tags->WriteTag(wavId, TagService::Artist, "x"));
    EXPECT_EQ(fixtures::ReadBytes(music() + QStringLiteral("/keep.wav")), wav);
    EXPECT_EQ(lib.GetFileField(wavId.toInt(), FileField::Artist).toString(), QString());
    const QString badId = QString::number(idOf("bad.mp3"));
    EXPECT_FALSE(tags->WriteTag(badId, TagService::Artist, "x"));
    EXPECT_EQ(fixtures::ReadBytes(music() + QStringLiteral("/bad.mp3")), QByteArray(3000, '\0'));
    EXPECT_EQ(lib.GetFileField(badId.toInt(), FileField::Artist).toString(), QString());
    // A file that vanished: refused, row unchanged.
    ASSERT_TRUE(QFile::remove(mp3));
    EXPECT_FALSE(tags->WriteTag(id, TagService::Artist, "ghost"));
    EXPECT_EQ(lib.GetFileField(id.toInt(), FileField::Artist).toString(), "Old Artist");
}

TEST_F(TagServiceTest, ChangeArtistAndAlbumRetagEveryMatchingFile) {
    addMusicFolder();
    auto mp3 = [this](const char* name, const char* artist, const char* album) {
        ASSERT_TRUE(fixtures::WriteMp3(music() + QLatin1Char('/') + QString::fromUtf8(name),
                                       {QString::fromUtf8(artist), QString::fromUtf8(album), "t",
                                        "1", QString(), QString(), QString()}));
    };
    mp3("1.mp3", "abba", "Arrival");
    mp3("2.mp3", "abba", "Gold");
    mp3("3.mp3", "ABBA", "Arrival");
    mp3("4.mp3", "", "Arrival");
    mp3("5.mp3", "", "");
    scan();
    EXPECT_EQ(lib.Tags()->ChangeArtist("abba", "ABBA"), 2);
    EXPECT_EQ(rows(QStringLiteral(
                       "select * from files where strcomp(MD_ARTIST,'ABBA',0)=0 order by filename"),
                   {"filename"}),
              (QStringList{"1.mp3", "2.mp3", "3.mp3"}));
    TagLib::MPEG::File f(QFile::encodeName(music() + QStringLiteral("/2.mp3")).constData());
    EXPECT_EQ(q(f.tag()->artist()), "ABBA");
    // Blank artist, one album only.
    EXPECT_EQ(lib.Tags()->ChangeArtist(QString(), "Unknown", "Arrival"), 1);
    EXPECT_EQ(lib.GetFileField(idOf("4.mp3"), FileField::Artist).toString(), "Unknown");
    EXPECT_EQ(lib.GetFileField(idOf("5.mp3"), FileField::Artist).toString(), QString());
    // Album of one artist.
    EXPECT_EQ(lib.Tags()->ChangeAlbum("Arrival", "Arrival (Deluxe)", "ABBA"), 2);
    EXPECT_EQ(lib.GetFileField(idOf("4.mp3"), FileField::Album).toString(), "Arrival");
    // Rows only.
    EXPECT_EQ(lib.Tags()->ChangeAlbum(QString(), "Singles", QString(), false), 1);
    EXPECT_EQ(lib.GetFileField(idOf("5.mp3"), FileField::Album).toString(), "Singles");
    TagLib::MPEG::File g(QFile::encodeName(music() + QStringLiteral("/5.mp3")).constData());
    EXPECT_EQ(q(g.tag()->album()), QString());
}

TEST_F(TagServiceTest, RowThatCannotFollowTheFileIsReportedAndLeftForTheRescan) {
    addMusicFolder();
    const QString path = makeMp3("row.mp3", 3, false);
    scan();
    const QString id = QString::number(idOf("row.mp3"));
    const QString sql = QStringLiteral("select * from files where id=") + id;
    const QStringList columns = {"md_artist", "md_title", "size", "file_mtime"};
    const auto block = [this] {
        ASSERT_TRUE(conn().executeNative(
            QStringLiteral("create trigger block_files before update on FILES "
                           "begin select raise(abort, 'rows locked by the test'); end")));
    };
    const auto unblock = [this] { ASSERT_TRUE(conn().executeNative("drop trigger block_files")); };
    // A tag that outgrows its room (a new file) and one that fits (in place).
    const QString longArtist = QStringLiteral("Grown ") + QString(3000, QLatin1Char('x'));
    for (const auto& [code, value] : {std::pair{TagService::Artist, longArtist},
                                      std::pair{TagService::Title, QString("New Title")}}) {
        const QStringList before = rows(sql, columns);
        block();
        const Status s = lib.Tags()->WriteTag(id, code, value);
        EXPECT_FALSE(s);
        EXPECT_TRUE(s.error().contains("rows locked by the test")) << s.error().toStdString();
        // The file has the new tag; the row still describes the old file.
        TagLib::MPEG::File f(QFile::encodeName(path).constData());
        EXPECT_EQ(q(code == TagService::Artist ? f.tag()->artist() : f.tag()->title()), value);
        EXPECT_EQ(rows(sql, columns), before);
        unblock();
        EXPECT_EQ(scan().updated, 1);
        EXPECT_EQ(lib.GetFileField(id.toInt(), code == TagService::Artist ? FileField::Artist
                                                                          : FileField::Title)
                      .toString(),
                  value);
    }
}

TEST_F(TagServiceTest, FileNamesThatAreNotUtf8AreFoundByTheirLibraryText) {
    const QByteArray raw = QFile::encodeName(music()) + QByteArray("/bad\xff\xfename.mp3");
    const QString text = FileNameCodec::decode(raw);
    // QTemporaryDir cannot name this file to remove it.
    const std::unique_ptr<const char, void (*)(const char*)> removeLater(
        raw.constData(), [](const char* name) { ::unlink(name); });
    {
        std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(raw.constData(), "wb"), &std::fclose);
        ASSERT_TRUE(f);
        const QByteArray mp3 = fixtures::Mp3Audio();
        ASSERT_EQ(std::fwrite(mp3.constData(), 1, mp3.size(), f.get()), size_t(mp3.size()));
    }
    // By path (outside the library) and by the id of a row holding the name as text.
    const Status byPath = lib.Tags()->WriteTag(text, TagService::Artist, "Bytes");
    EXPECT_TRUE(byPath) << byPath.error().toStdString();
    Result<db::Recordset> ins =
        conn().prepare("insert into FILES(fullpath, filename, type) values(?, 'bad.mp3', 'MP3')");
    ASSERT_TRUE(ins);
    ins.value().bind(1, text);
    ASSERT_TRUE(ins.value().execute());
    const qint64 id = conn().lastInsertId();
    const Status byId = lib.Tags()->WriteTag(QString::number(id), TagService::Title, "Raw");
    EXPECT_TRUE(byId) << byId.error().toStdString();
    TagLib::MPEG::File f(raw.constData());
    EXPECT_EQ(q(f.tag()->artist()), "Bytes");
    EXPECT_EQ(q(f.tag()->title()), "Raw");
    EXPECT_EQ(lib.GetFileField(static_cast<int>(id), FileField::Title).toString(), "Raw");
    EXPECT_EQ(lib.GetFileField(static_cast<int>(id), FileField::Size).toLongLong(),
              static_cast<qint64>(f.length()));
}
