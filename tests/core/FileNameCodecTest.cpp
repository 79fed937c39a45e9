#include "core/FileNameCodec.h"

#include <QRandomGenerator>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

QByteArray bytes(std::initializer_list<int> list) {
    QByteArray b;
    for (int c : list)
        b.append(static_cast<char>(c));
    return b;
}

} // namespace

TEST(FileNameCodec, ValidUtf8NamesAreUnchanged) {
    for (const char* name :
         {"plain.mp3", "Édith Piaf – Non.mp3", "日本語.wma", "emoji 🎵.wav", ""}) {
        const QByteArray raw(name);
        EXPECT_FALSE(FileNameCodec::rawNeedsMapping(raw)) << name;
        EXPECT_EQ(FileNameCodec::rawToUtf8(raw), raw);
        EXPECT_EQ(FileNameCodec::decode(raw), QString::fromUtf8(raw));
        EXPECT_EQ(FileNameCodec::encode(QString::fromUtf8(raw)), raw);
    }
}

TEST(FileNameCodec, InvalidBytesBecomeValidTextAndComeBack) {
    // Latin-1 names, stray continuation bytes, truncated and overlong sequences,
    // encoded surrogates, and a literal character of the escape range.
    const QList<QByteArray> names = {
        QByteArray("bad") + bytes({0xFF, 0xFE}) + "name.mp3",
        bytes({'C', 'a', 'f', 0xE9, '.', 'm', 'p', '3'}),
        bytes({0x80, 0xBF}),
        bytes({0xE2, 0x82}),
        bytes({0xC0, 0xAF}),
        bytes({0xED, 0xA0, 0x80}),
        bytes({0xF4, 0x90, 0x80, 0x80}),
        bytes({0xEE, 0xBE, 0x80}), // U+EF80 written literally
        bytes({'a', 0xEE, 0xBF, 0xBF, 'b'}),
    };
    for (const QByteArray& raw : names) {
        EXPECT_TRUE(FileNameCodec::rawNeedsMapping(raw)) << raw.toHex().constData();
        const QByteArray utf8 = FileNameCodec::rawToUtf8(raw);
        EXPECT_TRUE(QUtf8StringView(utf8).isValidUtf8()) << raw.toHex().constData();
        EXPECT_TRUE(FileNameCodec::utf8HasMappedBytes(utf8));
        EXPECT_EQ(FileNameCodec::utf8ToRaw(utf8), raw) << raw.toHex().constData();
        EXPECT_EQ(FileNameCodec::encode(FileNameCodec::decode(raw)), raw);
    }
    // The text keeps the readable part of the name.
    EXPECT_TRUE(FileNameCodec::decode(names[0]).startsWith(QLatin1String("bad")));
    EXPECT_TRUE(FileNameCodec::decode(names[0]).endsWith(QLatin1String("name.mp3")));
}

TEST(FileNameCodec, RandomByteStringsRoundTrip) {
    QRandomGenerator rng(42);
    for (int n = 0; n < 20000; ++n) {
        QByteArray raw(static_cast<qsizetype>(rng.bounded(12)), Qt::Uninitialized);
        for (char& c : raw) {
            // Mostly high bytes, where the interesting sequences are; no NUL or '/'.
            int v = rng.bounded(4) == 0 ? static_cast<int>(rng.bounded(0x20, 0x80))
                                        : static_cast<int>(rng.bounded(0x80, 0x100));
            c = static_cast<char>(v == '/' ? 'x' : v);
        }
        const QString text = FileNameCodec::decode(raw);
        ASSERT_EQ(FileNameCodec::encode(text), raw) << raw.toHex().constData();
        ASSERT_EQ(FileNameCodec::rawToUtf8(raw), text.toUtf8());
    }
}

TEST(FileNameCodec, FileUrlCarriesTheRawBytes) {
    const QByteArray raw = QByteArray("/music/a b/") + bytes({0xFF}) + "#1.mp3";
    const QByteArray url = FileNameCodec::fileUrl(FileNameCodec::decode(raw));
    EXPECT_EQ(url, QByteArray("file:///music/a%20b/%FF%231.mp3"));
    EXPECT_EQ(QUrl::fromEncoded(url).toEncoded(), url);
}

TEST(FileNameCodec, DisplayShowsReplacementCharacters) {
    const QString text = FileNameCodec::decode(QByteArray("bad\xff\xfename.mp3"));
    EXPECT_EQ(FileNameCodec::displayText(text),
              QString::fromUtf8("bad\xef\xbf\xbd\xef\xbf\xbdname.mp3"));
    EXPECT_EQ(FileNameCodec::displayText("Café.mp3"), "Café.mp3");
}
