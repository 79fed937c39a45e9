#include "lang/ZipString.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ZipString, Checksums) {
    EXPECT_EQ(clsZipString::GetCRC32("abc"), 0x352441C2u);
    EXPECT_EQ(clsZipString::GetAdler32("abc"), 0x024D0127u);
    EXPECT_EQ(clsZipString::GetCRC32(""), 0u);
    EXPECT_EQ(clsZipString::GetAdler32(""), 1u);
}

TEST(ZipString, EmptyInputFails) {
    QByteArray empty;
    QString text;
    EXPECT_FALSE(clsZipString::CompressStringB(empty, 31));
    EXPECT_FALSE(clsZipString::UncompressStringB(empty, 31));
    EXPECT_FALSE(clsZipString::CompressString(text, 15));
    EXPECT_FALSE(clsZipString::UncompressString(text, 15));
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_TRUE(text.isEmpty());
}

class ZipRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(ZipRoundTrip, BytesComeBackUnchanged) {
    const int param = GetParam();
    QByteArray random(1 << 20, Qt::Uninitialized);
    QRandomGenerator gen(42);
    gen.fillRange(reinterpret_cast<quint32*>(random.data()), random.size() / 4);
    const QByteArray inputs[] = {
        "x", "hello hello hello hello", QByteArray(1 << 20, 'a'), random, QByteArray(65536, 'q'),
    };
    for (const QByteArray& input : inputs) {
        QByteArray data = input;
        ASSERT_TRUE(clsZipString::CompressStringB(data, param));
        ASSERT_TRUE(clsZipString::UncompressStringB(data, param)) << input.size();
        EXPECT_EQ(data, input);
    }
}

INSTANTIATE_TEST_SUITE_P(WindowBits, ZipRoundTrip, ::testing::Values(31, 15, -15, 9));

TEST(ZipString, GzipFramingWhenAskedFor) {
    QByteArray data = "some text";
    ASSERT_TRUE(clsZipString::CompressStringB(data, 31));
    EXPECT_EQ(static_cast<uchar>(data[0]), 0x1f);
    EXPECT_EQ(static_cast<uchar>(data[1]), 0x8b);
    QByteArray z = "some text";
    ASSERT_TRUE(clsZipString::CompressStringB(z, 15));
    EXPECT_EQ(static_cast<uchar>(z[0]), 0x78);
}

TEST(ZipString, TextRoundTripKeepsWindows1252) {
    // 65,536 bytes: the gzip trailer's low 16 bits of the length are zero.
    QString text = QString(65536 - 6, 'a') + QStringLiteral("çãé€Ÿ…");
    ASSERT_EQ(text.size(), 65536);
    QString work = text;
    ASSERT_TRUE(clsZipString::CompressString(work, 31));
    EXPECT_LT(work.size(), 1000);
    ASSERT_TRUE(clsZipString::UncompressString(work, 31));
    EXPECT_EQ(work, text);
}

TEST(ZipString, CorruptTruncatedAndBombsFailWithoutChangingData) {
    QByteArray good = QByteArray(100000, 'z') + "tail";
    ASSERT_TRUE(clsZipString::CompressStringB(good, 31));

    QByteArray truncated = good.left(good.size() / 2);
    const QByteArray truncatedCopy = truncated;
    EXPECT_FALSE(clsZipString::UncompressStringB(truncated, 31));
    EXPECT_EQ(truncated, truncatedCopy);

    QByteArray corrupt = good;
    corrupt[12] = static_cast<char>(corrupt[12] ^ 0x55);
    corrupt[13] = static_cast<char>(corrupt[13] ^ 0x55);
    const QByteArray corruptCopy = corrupt;
    EXPECT_FALSE(clsZipString::UncompressStringB(corrupt, 31));
    EXPECT_EQ(corrupt, corruptCopy);

    QByteArray noise = "definitely not compressed";
    EXPECT_FALSE(clsZipString::UncompressStringB(noise, 31));
    EXPECT_FALSE(clsZipString::UncompressStringB(noise, 15));
    EXPECT_EQ(noise, "definitely not compressed");

    QByteArray wrongFraming = good;
    EXPECT_FALSE(clsZipString::UncompressStringB(wrongFraming, 15));

    // 100 MiB of zeros compresses to about 100 KiB; it must be refused.
    QByteArray bomb(100 * 1024 * 1024, '\0');
    ASSERT_TRUE(clsZipString::CompressStringB(bomb, 31));
    const qsizetype bombSize = bomb.size();
    EXPECT_FALSE(clsZipString::UncompressStringB(bomb, 31));
    EXPECT_EQ(bomb.size(), bombSize);

    QByteArray anything = "abc";
    EXPECT_FALSE(clsZipString::CompressStringB(anything, 99)) << "invalid window bits";
    EXPECT_EQ(anything, "abc");
}

TEST(ZipString, Files) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/f.bin";
    const QByteArray bytes("\x00\x01\xff raw", 7);
    bool ok = false;
    clsZipString::SaveFileB(path, bytes, 0, 31, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(clsZipString::LoadFileB(path, 0, 31), bytes);

    clsZipString::SaveFile(path, "Grüße", 1, 31, ok);
    ASSERT_TRUE(ok);
    EXPECT_NE(clsZipString::LoadFileB(path, 0, 31), QByteArray("Gr\xfc\xdf"
                                                               "e"));
    EXPECT_EQ(clsZipString::LoadFile(path, 2, 31), "Grüße");
    EXPECT_EQ(clsZipString::LoadFileB(path, 2, 31), QByteArray("Gr\xfc\xdf"
                                                               "e"));

    EXPECT_TRUE(clsZipString::LoadFileB(dir.path() + "/missing", 0, 31).isEmpty());
    clsZipString::SaveFileB(dir.path() + "/no/such/dir/f", bytes, 0, 31, ok);
    EXPECT_FALSE(ok);
}
