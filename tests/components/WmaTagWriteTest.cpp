// WMA tag writes change the attributes of the field asked for and nothing else:
// every attribute is read before and after and the two listings compared.
#include "components/AsfHeader.h"
#include "components/TagService.h"
#include "support/AudioFixtures.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <taglib/asffile.h>

#include <sys/stat.h>

namespace {

const QByteArray descriptionGuid("\x33\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C",
                                 16);
const QByteArray
    filePropertiesGuid("\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11\x8E\xE4\x00\xC0\x0C\x20\x53\x65", 16);

QString q(const TagLib::String& s) {
    return QString::fromStdString(s.to8Bit(true));
}

QString valueText(const TagLib::ASF::Attribute& a) {
    switch (a.type()) {
    case TagLib::ASF::Attribute::UnicodeType:
        return QStringLiteral("text:") + q(a.toString());
    case TagLib::ASF::Attribute::DWordType:
        return QStringLiteral("dword:%1").arg(a.toUInt());
    case TagLib::ASF::Attribute::QWordType:
        return QStringLiteral("qword:%1").arg(a.toULongLong());
    case TagLib::ASF::Attribute::WordType:
        return QStringLiteral("word:%1").arg(a.toUShort());
    case TagLib::ASF::Attribute::BoolType:
        return QStringLiteral("bool:%1").arg(a.toBool());
    default: {
        const TagLib::ByteVector b = a.toByteVector();
        return QStringLiteral("bytes:") + QByteArray(b.data(), b.size()).toHex();
    }
    }
}

// Everything TagLib reads from the file, one line per value in the order read,
// and the byte lengths of the content-description strings (TagLib reads an
// absent string and an empty one alike).
QStringList listing(const QString& path) {
    QStringList out;
    TagLib::ASF::File f(QFile::encodeName(path).constData());
    EXPECT_TRUE(f.isValid());
    if (!f.isValid()) return out;
    const TagLib::ASF::Tag* t = f.tag();
    out << QStringLiteral("cd.title=") + q(t->title())
        << QStringLiteral("cd.author=") + q(t->artist())
        << QStringLiteral("cd.copyright=") + q(t->copyright())
        << QStringLiteral("cd.comment=") + q(t->comment())
        << QStringLiteral("cd.rating=") + q(t->rating());
    for (const auto& [name, values] : t->attributeListMap())
        for (unsigned i = 0; i < values.size(); ++i)
            out << QStringLiteral("attr:%1[%2]=%3 (stream %4, language %5)")
                       .arg(q(name))
                       .arg(i)
                       .arg(valueText(values[i]))
                       .arg(values[i].stream())
                       .arg(values[i].language());
    const QByteArray bytes = fixtures::ReadBytes(path);
    const qsizetype cd = bytes.indexOf(descriptionGuid);
    QStringList lengths;
    for (int i = 0; cd >= 0 && i < 5; ++i)
        lengths << QString::number(qFromLittleEndian<quint16>(bytes.constData() + cd + 24 + 2 * i));
    out << QStringLiteral("cd.lengths=") + lengths.join(QLatin1Char(','));
    return out;
}

// The listing with the lines of each prefix replaced (an empty line removes them).
QStringList changed(QStringList lines, const QList<QPair<QString, QString>>& changes) {
    for (const auto& [prefix, line] : changes) {
        lines.removeIf([&](const QString& l) { return l.startsWith(prefix); });
        if (!line.isEmpty()) lines << line;
    }
    lines.sort();
    return lines;
}

// Sorted and joined, so that a failure shows the lines.
std::string sorted(QStringList lines) {
    lines.sort();
    return lines.join(QLatin1Char('\n')).toStdString();
}

// The listing line of the first value of an attribute.
QString attr(const char* name, const QString& value) {
    return QStringLiteral("attr:%1[0]=%2 (stream 0, language 0)").arg(name, value);
}

QString lengths(int title, int author) {
    return QStringLiteral("cd.lengths=%1,%2,0,0,0").arg(title).arg(author);
}

class WmaTagWriteTest : public ::testing::Test {
protected:
    Status write(int code, const QString& text) {
        const Status s = TagService::WriteFileTag(path, code, text);
        EXPECT_TRUE(s) << s.error().toStdString();
        return s;
    }
    QTemporaryDir dir;
    QString path = dir.path() + QStringLiteral("/song.wma");
};

} // namespace

TEST_F(WmaTagWriteTest, ArtistAndTitleChangeEveryCopyOfTheFieldAndNothingElse) {
    // FFmpeg keeps author and title twice (content description and extended
    // "author" and "title"), and leaves copyright, description and rating out
    // (length 0).
    ASSERT_TRUE(fixtures::WriteWmaByFFmpeg(path, {{"title", "Old Title"},
                                                  {"author", "Old Artist"},
                                                  {"genre", "Rock"},
                                                  {"album", "Old Album"},
                                                  {"WM/Year", "1999"}}));
    const QStringList before = listing(path);
    ASSERT_TRUE(before.contains(attr("author", "text:Old Artist")))
        << before.join(QLatin1Char('\n')).toStdString();
    ASSERT_TRUE(before.contains(lengths(20, 22)));

    write(TagService::Artist, "Sigur Rós");
    QStringList expected = changed(before, {{"cd.author=", "cd.author=Sigur Rós"},
                                            {"attr:author[0]=", attr("author", "text:Sigur Rós")},
                                            {"cd.lengths=", lengths(20, 20)}});
    EXPECT_EQ(sorted(listing(path)), sorted(expected));

    write(TagService::Title, "Olsen");
    expected = changed(expected, {{"cd.title=", "cd.title=Olsen"},
                                  {"attr:title[0]=", attr("title", "text:Olsen")},
                                  {"cd.lengths=", lengths(12, 20)}});
    EXPECT_EQ(sorted(listing(path)), sorted(expected));

    // Emptied: absent from the content description, extended copies removed.
    write(TagService::Artist, QString());
    expected = changed(expected, {{"cd.author=", "cd.author="},
                                  {"attr:author[", QString()},
                                  {"cd.lengths=", lengths(12, 0)}});
    EXPECT_EQ(sorted(listing(path)), sorted(expected));
}

TEST_F(WmaTagWriteTest, ValuesKeepTheirOrderAndAFieldReplacesAllItsValues) {
    // Two genres (TagLib puts the second into the metadata library, which this
    // file has ahead of the extended content description) and a zero-based
    // track number.
    ASSERT_TRUE(
        fixtures::WriteWma(path, {"Artist", "Album", "Title", "2", "2000", "Rock", QString()}));
    {
        TagLib::ASF::File f(QFile::encodeName(path).constData());
        f.tag()->addAttribute("WM/Genre", TagLib::ASF::Attribute(TagLib::String("Pop")));
        f.tag()->setAttribute("WM/Track", TagLib::ASF::Attribute(1u));
        ASSERT_TRUE(f.save());
    }
    const QStringList before = listing(path);
    ASSERT_EQ(before.filter("attr:WM/Genre[").size(), 2);

    write(TagService::Album, "Another Album");
    QStringList expected =
        changed(before, {{"attr:WM/AlbumTitle[0]=", attr("WM/AlbumTitle", "text:Another Album")}});
    EXPECT_EQ(sorted(listing(path)), sorted(expected));

    // The track: WM/TrackNumber a number (or "n/m" text), WM/Track one less.
    write(TagService::Track, "5");
    expected = changed(expected, {{"attr:WM/TrackNumber[0]=", attr("WM/TrackNumber", "dword:5")},
                                  {"attr:WM/Track[0]=", attr("WM/Track", "dword:4")}});
    EXPECT_EQ(sorted(listing(path)), sorted(expected));
    write(TagService::Track, "7/9");
    expected = changed(expected, {{"attr:WM/TrackNumber[0]=", attr("WM/TrackNumber", "text:7/9")},
                                  {"attr:WM/Track[0]=", attr("WM/Track", "dword:6")}});
    EXPECT_EQ(sorted(listing(path)), sorted(expected));
    write(TagService::Track, QString());
    expected =
        changed(expected, {{"attr:WM/TrackNumber[", QString()}, {"attr:WM/Track[", QString()}});
    EXPECT_EQ(sorted(listing(path)), sorted(expected));

    // A genre replaces both values.
    write(TagService::GenreNumber_, "8");
    expected = changed(expected, {{"attr:WM/Genre[", attr("WM/Genre", "text:Jazz")}});
    EXPECT_EQ(sorted(listing(path)), sorted(expected));
    // A missing attribute is added.
    write(TagService::Year, "1987");
    write(TagService::Year, QString());
    write(TagService::Year, "1988");
    expected = changed(expected, {{"attr:WM/Year[", attr("WM/Year", "text:1988")}});
    EXPECT_EQ(sorted(listing(path)), sorted(expected));
}

TEST_F(WmaTagWriteTest, SameSizeInPlaceOtherSizeNewFileWithItsSizeRecorded) {
    ASSERT_TRUE(fixtures::WriteWmaByFFmpeg(path, {{"author", "Old Artist"}}));
    const auto inode = [this] {
        struct stat st {};
        ::stat(QFile::encodeName(path).constData(), &st);
        return st.st_ino;
    };
    const auto recordedSize = [this] {
        const QByteArray b = fixtures::ReadBytes(path);
        const qsizetype at = b.indexOf(filePropertiesGuid);
        return at < 0 ? quint64(0) : qFromLittleEndian<quint64>(b.constData() + at + 24 + 16);
    };
    const ino_t first = inode();
    const qint64 size = QFileInfo(path).size();
    ASSERT_EQ(recordedSize(), quint64(size));
    write(TagService::Artist, "New Artist");
    EXPECT_EQ(inode(), first);
    EXPECT_EQ(QFileInfo(path).size(), size);
    write(TagService::Artist, "A Longer Artist");
    EXPECT_NE(inode(), first);
    EXPECT_EQ(QFileInfo(path).size(), size + 2 * 5 * 2); // two copies, five characters more
    EXPECT_EQ(recordedSize(), quint64(QFileInfo(path).size()));
}

TEST_F(WmaTagWriteTest, HeaderRoundTripsAndDamageIsRefused) {
    ASSERT_TRUE(fixtures::WriteWmaByFFmpeg(path, {{"author", "A"}, {"genre", "Rock"}}));
    QByteArray bytes = fixtures::ReadBytes(path);
    const quint64 size = AsfHeader::headerSize(bytes);
    ASSERT_GT(size, 30u);
    Result<AsfHeader> h = AsfHeader::parse(QByteArrayView(bytes).first(qsizetype(size)));
    ASSERT_TRUE(h) << h.error().toStdString();
    EXPECT_EQ(h.value().render(), bytes.first(qsizetype(size)));
    EXPECT_FALSE(AsfHeader::parse(QByteArrayView(bytes).first(qsizetype(size) - 1)));

    // A value length that runs past its object.
    const QByteArray genre = AsfHeader::text("Rock");
    const qsizetype at = bytes.indexOf(genre);
    ASSERT_GT(at, 2);
    bytes[at - 1] = '\x7F';
    ASSERT_TRUE(fixtures::WriteBytes(path, bytes));
    EXPECT_FALSE(AsfHeader::parse(QByteArrayView(bytes).first(qsizetype(size))));
    EXPECT_FALSE(TagService::WriteFileTag(path, TagService::Artist, "B"));
    EXPECT_EQ(fixtures::ReadBytes(path), bytes);
    // A value no WMA header can hold.
    ASSERT_TRUE(fixtures::WriteWmaByFFmpeg(path, {{"author", "A"}}));
    const QByteArray good = fixtures::ReadBytes(path);
    const Status s =
        TagService::WriteFileTag(path, TagService::Album, QString(40000, QLatin1Char('Z')));
    EXPECT_FALSE(s);
    EXPECT_TRUE(s.error().contains("too long")) << s.error().toStdString();
    EXPECT_EQ(fixtures::ReadBytes(path), good);
}
