#include "lang/LangFile.h"
#include "core/Ansi.h"
#include "lang/Mui.h"
#include "lang/ZipString.h"
#include "support/LangFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A text of exactly n characters that begins with a header and mixes in
// Windows-1252 letters.
QString sampleText(qsizetype n) {
    QString text = "QVLF V1.0$2070$Português\r\n$001=Não é válido €";
    while (text.size() < n)
        text += QStringLiteral("\r\nkey%1=value ç ß %1").arg(text.size());
    text.truncate(n);
    return text;
}

} // namespace

// A source file and a target container in a fresh folder.
class LangContainer : public ::testing::Test {
protected:
    bool encode(qsizetype length) {
        writeAll(source, Ansi::fromUnicode(sampleText(length)));
        return LangFile::EncodeLangFile(source, target);
    }
    QTemporaryDir dir;
    const QString source = dir.filePath("source.txt");
    const QString target = dir.filePath("target.lng");
};

class LangContainerRoundTrip : public LangContainer,
                               public ::testing::WithParamInterface<qsizetype> {};

TEST_P(LangContainerRoundTrip, EncodeThenDecodeGivesTheTextBack) {
    ASSERT_TRUE(encode(GetParam()));
    EXPECT_EQ(LangFile::DecodeLangFile(target), sampleText(GetParam()));
}

// 65,536 bytes: the low 16 bits of the gzip trailer's length are zero.
INSTANTIATE_TEST_SUITE_P(Sizes, LangContainerRoundTrip,
                         ::testing::Values(1024, 4000, 65535, 65536, 65537, 300000));

TEST_F(LangContainer, HeaderLayout) {
    ASSERT_TRUE(encode(5000));

    const QByteArray bytes = readAll(target);
    ASSERT_GT(bytes.size(), LangFile::HeaderSize);
    EXPECT_EQ(bytes.left(4), QByteArray("QVLF"));
    EXPECT_EQ(bytes.at(4), 1);
    EXPECT_EQ(bytes.at(5), 0);
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 6), 760920u);
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 10), 5000u);
    const QDateTime modified = QFileInfo(source).lastModified();
    const double expected = QDate(1899, 12, 30).daysTo(modified.date()) +
                            modified.time().msecsSinceStartOfDay() / 86400000.0;
    EXPECT_NEAR(qFromLittleEndian<double>(bytes.constData() + 14), expected, 1e-6);
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 22),
              static_cast<quint32>(bytes.size() - 26));
    // The payload is the compression wrapper's output, gzip framed.
    QByteArray payload = bytes.mid(26);
    EXPECT_EQ(static_cast<uchar>(payload.at(0)), 0x1f);
    EXPECT_EQ(static_cast<uchar>(payload.at(1)), 0x8b);
    ASSERT_TRUE(clsZipString::UncompressStringB(payload, 31));
    EXPECT_EQ(payload, Ansi::fromUnicode(sampleText(5000)));
}

TEST_F(LangContainer, ShortOrMissingSourcesAreNotEncoded) {
    EXPECT_FALSE(encode(1023));
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_FALSE(LangFile::EncodeLangFile(dir.filePath("missing.txt"), target));
    EXPECT_FALSE(QFile::exists(target));

    // A failed encode leaves an existing container alone.
    writeAll(target, "old");
    EXPECT_FALSE(LangFile::EncodeLangFile(source, target));
    EXPECT_EQ(readAll(target), QByteArray("old"));
}

TEST(LangText, ReadingRules) {
    const QString text = QStringLiteral("QVLF V1.0$1033$English\r\n"
                                        "  ;comment=1\r\n"
                                        "key = value\r\n"
                                        "Multi=Line one||Line two\r\n"
                                        "$019=three digits\r\n"
                                        "$19=two digits\r\n"
                                        "no equals sign\r\n"
                                        "Dup=first\r\n"
                                        "b=x=y\r\n"
                                        "DUP=second");
    LangTexts texts;
    ASSERT_TRUE(LangFile::ReadTexts(text, texts));
    EXPECT_FALSE(texts.contains("  ;comment"));
    EXPECT_EQ(texts.value("key "), " value");
    EXPECT_FALSE(texts.contains("key"));
    EXPECT_EQ(texts.value("multi"), "Line one\r\nLine two");
    EXPECT_EQ(texts.value("$019"), "three digits");
    EXPECT_EQ(texts.value("$19"), "two digits");
    EXPECT_EQ(texts.value("b"), "x=y");
    EXPECT_EQ(texts.value("dup"), "second");
    EXPECT_EQ(texts.count(), 6);

    // Saved in order of first appearance, with the first spelling, "||" restored
    // and no line break after the last entry.
    EXPECT_EQ(LangFile::FormatTexts(texts, 1031, "Deutsch"),
              QStringLiteral("QVLF V1.0$1031$Deutsch\r\n"
                             "key = value\r\n"
                             "Multi=Line one||Line two\r\n"
                             "$019=three digits\r\n"
                             "$19=two digits\r\n"
                             "Dup=second\r\n"
                             "b=x=y"));
}

TEST(LangText, HeaderAndLineEnds) {
    LangTexts texts;
    EXPECT_FALSE(LangFile::ReadTexts("qvlf v1.0$1033$English\r\na=b", texts));
    EXPECT_FALSE(LangFile::ReadTexts("a=b\r\nQVLF V1.0$1033$English", texts));
    EXPECT_TRUE(texts.isEmpty());
    // Files edited on Linux may end lines with LF only.
    ASSERT_TRUE(LangFile::ReadTexts("QVLF V1.0$1$X\na=b\nc=d\n", texts));
    EXPECT_EQ(texts.value("a"), "b");
    EXPECT_EQ(texts.value("c"), "d");

    const auto h = LangFile::ParseHeader("QVLF V2.5$ 1046 $ Português (Brasil) ");
    ASSERT_TRUE(h);
    EXPECT_EQ(h->version, "2.5");
    EXPECT_EQ(h->LCID, 1046);
    EXPECT_EQ(h->name, "Português (Brasil)");
    EXPECT_FALSE(LangFile::ParseHeader("QVLF V1.0$abc$Name"));
    EXPECT_FALSE(LangFile::ParseHeader("QVLF V1.0"));
    EXPECT_FALSE(LangFile::ParseHeader("QVLX V1.0$1033$English"));
}

TEST(LangText, SaveWritesWindows1252AndLineBreaksAsBars) {
    QTemporaryDir dir;
    clsMUI lang;
    const QString path = dir.filePath("out.txt");
    EXPECT_FALSE(lang.SaveLangFile(path, 1033, "English"));
    EXPECT_FALSE(QFile::exists(path)); // nothing loaded, nothing written

    lang.SetText(1, "Olá\r\nmundo");
    lang.StoreText("form.lbl.Caption", "a\nb");
    lang.SetText(1, "Olá||€");
    ASSERT_TRUE(lang.SaveLangFile(path, 2070, "Português"));
    EXPECT_EQ(readAll(path), Ansi::fromUnicode(QStringLiteral("QVLF V1.0$2070$Português\r\n"
                                                              "$001=Olá||€\r\n"
                                                              "form.lbl.Caption=a||b")));
}

struct HostileCase {
    const char* name;
    QByteArray (*bytes)();
    bool decodes; // the container itself is readable
};

namespace {

QByteArray container(const QByteArray& payload, quint32 packedLength) {
    QByteArray out("QVLF\x01", 5);
    out.append('\0');
    char field[8];
    qToLittleEndian<quint32>(760920, field);
    out.append(field, 4);
    qToLittleEndian<quint32>(static_cast<quint32>(payload.size()), field);
    out.append(field, 4);
    qToLittleEndian<double>(45000.5, field);
    out.append(field, 8);
    qToLittleEndian<quint32>(packedLength, field);
    out.append(field, 4);
    return out + payload;
}

QByteArray gzip(const QByteArray& text) {
    QByteArray data = text;
    EXPECT_TRUE(clsZipString::CompressStringB(data, 31));
    return data;
}

QByteArray validPayload() {
    return gzip("QVLF V1.0$1036$Fran\xe7"
                "ais\r\n$001=Bonjour");
}

} // namespace

class HostileLangFile : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileLangFile, IsSkippedWhenListingAndNeverLoaded) {
    QTemporaryDir dir;
    writeAll(dir.filePath("hostile.lng"), GetParam().bytes());
    writeLangFile(dir.path(), "zz_english.lng", 1033, "English", {"$001=Hello"});

    const QString decoded = LangFile::DecodeLangFile(dir.filePath("hostile.lng"));
    EXPECT_EQ(!decoded.isEmpty(), GetParam().decodes);

    clsMUI lang;
    lang.SetLangFolder(dir.path());
    ASSERT_EQ(lang.AvailableLangCount(), 1);
    EXPECT_EQ(lang.AvailableLCID(0), 1033);
    lang.SetLCID(1036);
    EXPECT_EQ(lang.LCID(), 1033);
    EXPECT_EQ(lang.Text(1), "Hello");
}

const HostileCase kHostile[] = {
    {"Empty", [] { return QByteArray(); }, false},
    {"HeaderOnly", [] { return container(QByteArray(), 0); }, false},
    {"HugeLengthField", [] { return container(validPayload(), 0xFFFFFFFFu); }, false},
    {"Truncated", [] { return container(validPayload(), 1000).left(40); }, false},
    {"ZlibNotGzip",
     [] {
         QByteArray d = "QVLF V1.0$1036$Francais";
         clsZipString::CompressStringB(d, 15);
         return container(d, static_cast<quint32>(d.size()));
     },
     false},
    {"CorruptStream",
     [] {
         QByteArray p = validPayload();
         for (qsizetype i = 12; i < p.size() - 8; ++i)
             p[i] = static_cast<char>(p[i] ^ 0x5a);
         return container(p, static_cast<quint32>(p.size()));
     },
     false},
    {"Bomb",
     [] {
         // 17 MiB of text behind a valid header: far beyond any language.
         const QByteArray p =
             gzip(QByteArray("QVLF V1.0$1036$Bomb\r\n") + QByteArray(17 << 20, 'a'));
         return container(p, static_cast<quint32>(p.size()));
     },
     false},
    {"TextWithoutHeader",
     [] {
         const QByteArray p = gzip("$001=Bonjour\r\n$002=Salut");
         return container(p, static_cast<quint32>(p.size()));
     },
     true},
    {"NonNumericLcid",
     [] {
         const QByteArray p = gzip("QVLF V1.0$fr$Francais\r\n$001=Bonjour");
         return container(p, static_cast<quint32>(p.size()));
     },
     true},
};

INSTANTIATE_TEST_SUITE_P(Files, HostileLangFile, ::testing::ValuesIn(kHostile),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LangContainer, MagicIsNotChecked) {
    // Readers rely on the compressed text alone; the other header fields are
    // informational.
    const QByteArray payload = validPayload();
    QByteArray bytes = container(payload, static_cast<quint32>(payload.size()));
    bytes.replace(0, 4, "XXXX");
    writeAll(dir.filePath("french.lng"), bytes);
    clsMUI lang;
    lang.SetLangFolder(dir.path());
    ASSERT_EQ(lang.AvailableLangCount(), 1);
    EXPECT_EQ(lang.AvailableLangName(0), "Français");
}
