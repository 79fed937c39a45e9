#include "core/AppInfo.h"
#include "lang/LangFile.h"
#include "lang/LangSource.h"
#include "lang/Mui.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

LangTexts shippedTexts(const QString& file) {
    LangTexts texts;
    EXPECT_TRUE(LangFile::ReadTexts(
        LangFile::DecodeLangFile(QDir(mainMod::LangFolder()).filePath(file)), texts))
        << file.toStdString();
    return texts;
}

} // namespace

TEST(ShippedLanguages, AreListedBesideTheExecutables) {
    clsMUI lang;
    lang.SetLangFolder(mainMod::LangFolder());
    ASSERT_EQ(lang.AvailableLangCount(), 3);
    EXPECT_EQ(lang.AvailableLangName(0), "Deutsch");
    EXPECT_EQ(lang.AvailableLCID(0), 1031);
    EXPECT_EQ(lang.AvailableLangName(1), "English");
    EXPECT_EQ(lang.AvailableLCID(1), 1033);
    EXPECT_EQ(lang.AvailableLangName(2), "Português");
    EXPECT_EQ(lang.AvailableLCID(2), 2070);
    lang.SetLCID(1046);
    EXPECT_EQ(lang.LCID(), 2070);
}

class ShippedLanguage : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedLanguage, HasEveryEnglishKeyWithTheSamePlaceholders) {
    const LangTexts english = shippedTexts("english.lng");
    const LangTexts other = shippedTexts(QString::fromLatin1(GetParam()) + ".lng");
    const LangDifferences d = CompareLangTexts(english, other);
    EXPECT_TRUE(d.missing.isEmpty()) << d.missing.join(' ').toStdString();
    EXPECT_TRUE(d.placeholders.isEmpty()) << d.placeholders.join('\n').toStdString();
    EXPECT_TRUE(d.extra.isEmpty()) << d.extra.join(' ').toStdString();
    for (qsizetype i = 0; i < other.count(); ++i)
        EXPECT_FALSE(other.valueAt(i).trimmed().isEmpty()) << other.keys().at(i).toStdString();
}

TEST_P(ShippedLanguage, SourceIsCleanAndMatchesTheBuiltFile) {
    const auto source = ReadLangSource(QStringLiteral(QUAVERO_SOURCE_DIR "/resources/lang/") +
                                       GetParam() + QStringLiteral(".txt"));
    ASSERT_TRUE(source) << source.error().toStdString();
    EXPECT_TRUE(source->warnings.isEmpty()) << source->warnings.join('\n').toStdString();
    EXPECT_EQ(LangFile::DecodeLangFile(
                  QDir(mainMod::LangFolder()).filePath(QString::fromLatin1(GetParam()) + ".lng")),
              source->text);
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedLanguage,
                         ::testing::Values("english", "portuguese", "german"));

TEST(ShippedLanguages, CompareFindsMissingKeysAndPlaceholderChanges) {
    LangTexts ref;
    ref.set("$001", "%0 of %1");
    ref.set("$002", "plain");
    ref.set("$003", "gone");
    LangTexts other;
    other.set("$001", "%1 von %1");
    other.set("$002", "100%0");
    other.set("$004", "new");
    const LangDifferences d = CompareLangTexts(ref, other);
    EXPECT_EQ(d.missing, QStringList{"$003"});
    ASSERT_EQ(d.placeholders.size(), 2);
    EXPECT_TRUE(d.placeholders.at(0).startsWith("$001"));
    EXPECT_EQ(d.extra, QStringList{"$004"});
    EXPECT_FALSE(d.ok());
}
