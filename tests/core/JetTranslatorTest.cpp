// The Jet-to-SQLite rewriting, as text, and the Jet text rules.
#include "core/JetTranslator.h"
#include "core/JetFunctions.h"
#include "core/JetText.h"
#include "core/OleDate.h"

#include <gtest/gtest.h>

namespace {

std::string tr(const char* jet) {
    return JetTranslator::translate(QString::fromUtf8(jet)).toStdString();
}

} // namespace

TEST(JetTranslator, RewritesLiteralsKeywordsAndOperators) {
    EXPECT_EQ(tr("select * from files where type=\"MP3\""), "select * from files where type='MP3'");
    // A double-quoted value with an apostrophe, and doubled quotes inside.
    EXPECT_EQ(tr("x=\"O'Brien\" or y=\"say \"\"hi\"\"\""), "x='O''Brien' or y='say \"hi\"'");
    // Single-quoted text stays as it is, even with Jet words inside.
    EXPECT_EQ(tr("x='Now & True / Mod'"), "x='Now & True / Mod'");
    EXPECT_EQ(tr("select * from files where DATE_ADDED>=(Now - 7)"),
              "select * from files where DATE_ADDED>=(now() - 7)");
    EXPECT_EQ(tr("select now() from x"), "select now() from x");
    EXPECT_EQ(tr("where a=True and b=False"), "where a=1 and b=0");
    EXPECT_EQ(tr("where a Mod 2 = 1"), "where a % 2 = 1");
    EXPECT_EQ(tr("select distinctrow a from x"), "select distinct a from x");
    EXPECT_EQ(tr("where val(bitrate/1000)>128"), "where val(bitrate*1.0/1000)>128");
    EXPECT_EQ(tr("where [size]>=10 and size<=20"), "where [size]>=10 and size<=20");
}

TEST(JetTranslator, DateLiteralsBecomeOleDayNumbers) {
    EXPECT_EQ(tr("d=#2024-03-02#"), "d=45353");
    EXPECT_EQ(tr("d=#3/2/2024#"), "d=45353");
    EXPECT_EQ(tr("d>=#2024-03-02 12:00:00#"), "d>=45353.5");
    EXPECT_EQ(tr("d=#1899-12-30#"), "d=0");
    // Not a date: left alone.
    EXPECT_EQ(tr("d=#nope"), "d=#nope");
}

TEST(JetTranslator, TopBecomesLimitOfTheSameSelect) {
    EXPECT_EQ(
        tr("select * from (select top 20 * from files where playcount>0 order by lastplay desc) "
           "order by playcount desc"),
        "select * from (select * from files where playcount>0 order by lastplay desc limit 20) "
        "order by playcount desc");
    EXPECT_EQ(tr("select top 3 id from files order by id"),
              "select id from files order by id limit 3");
    EXPECT_EQ(tr("SELECT DISTINCT TOP 2 md_artist FROM files"),
              "SELECT DISTINCT md_artist FROM files limit 2");
}

TEST(JetTranslator, ConcatenationBindsBelowArithmetic) {
    EXPECT_EQ(tr("select a & b from x"), "select (a) || (b) from x");
    EXPECT_EQ(tr("where a & b + 1 = 'x3'"), "where (a) || (b + 1) = 'x3'");
    EXPECT_EQ(tr("select f(a & b, c) from x"), "select f((a) || (b), c) from x");
}

TEST(JetTranslator, StrCompEqualsZeroBecomesAnIndexableExactComparison) {
    EXPECT_EQ(
        tr("select * from files where strcomp(MD_ARTIST,'Abba',0)=0 order by filename"),
        "select * from files where (MD_ARTIST='Abba' AND MD_ARTIST='Abba' COLLATE BINARY) order by "
        "filename");
    EXPECT_EQ(tr("where strcomp(files.MD_ALBUM,'It''s',0)=0 "),
              "where (files.MD_ALBUM='It''s' AND files.MD_ALBUM='It''s' COLLATE BINARY) ");
    // Other forms keep the function.
    EXPECT_EQ(tr("where strcomp(MD_ARTIST,'a',1)=0"), "where strcomp(MD_ARTIST,'a',1)=0");
    EXPECT_EQ(tr("where strcomp(MD_ARTIST,'a',0)<0"), "where strcomp(MD_ARTIST,'a',0)<0");
}

TEST(JetText, CollationIgnoresCaseAndSortsAccentsBesideTheirLetter) {
    auto cmp = [](const char* a, const char* b) { return JetText::compare(a, b); };
    EXPECT_EQ(cmp("abba", "ABBA"), 0);
    EXPECT_EQ(cmp("ÉMILE", "émile"), 0);
    EXPECT_LT(cmp("Edith", "Édith"), 0);
    EXPECT_LT(cmp("Édith", "Ediths"), 0);
    EXPECT_LT(cmp("Édith", "Zoe"), 0);
    EXPECT_LT(cmp("", "a"), 0);
    EXPECT_GT(cmp("b", "A"), 0);
    EXPECT_NE(cmp("e", "é"), 0);
}

TEST(JetText, LikeMatchesWithoutRegardToCase) {
    using JetText::like;
    EXPECT_TRUE(like("%beat%", "The BEATLES"));
    EXPECT_TRUE(like("%élan%", "ÉLAN VITAL"));
    EXPECT_TRUE(like("%ÖSTER%", "Österreich"));
    EXPECT_FALSE(like("%elan%", "élan"));
    EXPECT_TRUE(like("%rock%roll%", "Rock and Roll"));
    EXPECT_FALSE(like("%roll%rock%", "Rock and Roll"));
    EXPECT_TRUE(like("a_c", "ABC"));
    EXPECT_FALSE(like("a_c", "ABBC"));
    EXPECT_TRUE(like("[a-c]%", "Bee"));
    EXPECT_FALSE(like("[!a-c]%", "Bee"));
    EXPECT_TRUE(like("[%", "[x"));
    EXPECT_TRUE(like("100!%", "100%", U'!'));
    EXPECT_FALSE(like("100!%", "1000", U'!'));
    // Plain ASCII patterns (matched on the bytes): anchors at both ends.
    EXPECT_TRUE(like("abc", "ABC"));
    EXPECT_FALSE(like("abc", "ABCD"));
    EXPECT_TRUE(like("a%", "ABBA"));
    EXPECT_TRUE(like("%a", "ABBA"));
    EXPECT_FALSE(like("%a", "ABBAB"));
    EXPECT_FALSE(like("ab%b", "ab"));
    EXPECT_TRUE(like("ab%b", "abb"));
    EXPECT_TRUE(like("%é%", "CAFÉ"));
    // Accented words against plain ASCII texts (the quick path) and the letters
    // that fold into ASCII.
    EXPECT_FALSE(like("%café%", "CAFE DEL MAR"));
    EXPECT_TRUE(like("%\u212Aelvin%", "kelvin")) << "the Kelvin sign folds to k";
    EXPECT_TRUE(like("caf[éa]", "cafa"));
    EXPECT_TRUE(like("%café%", "Le Café"));
    EXPECT_TRUE(like("%caf%", "CAFÉ"));
    EXPECT_TRUE(like("", ""));
    EXPECT_TRUE(like("%", ""));
}

TEST(JetFunctions, ValReadsTheLeadingNumberAsJetDoes) {
    using JetFunctions::val;
    EXPECT_EQ(val("1999"), 1999);
    EXPECT_EQ(val(" 19 99 abc"), 1999);
    EXPECT_EQ(val("12.5kg"), 12.5);
    EXPECT_EQ(val("-3e2x"), -300);
    EXPECT_EQ(val("&HFF"), 255);
    EXPECT_EQ(val("&O17"), 15);
    EXPECT_EQ(val("abc"), 0);
    EXPECT_EQ(val(""), 0);
    EXPECT_EQ(val("."), 0);
    EXPECT_EQ(val("1e"), 1);
}

TEST(JetFunctions, DatesParseAndFormat) {
    double d = 0;
    ASSERT_TRUE(JetFunctions::parseDate("2024-03-02", d));
    EXPECT_EQ(d, 45353);
    ASSERT_TRUE(JetFunctions::parseDate("12/31/1999 11:30 PM", d));
    EXPECT_DOUBLE_EQ(d, OleDate::fromDate(1999, 12, 31) + (23 * 60 + 30) / 1440.0);
    EXPECT_FALSE(JetFunctions::parseDate("2024-02-30", d));
    EXPECT_FALSE(JetFunctions::parseDate("yesterday", d));
    const double t = OleDate::fromDate(2024, 3, 2) + (14 * 3600 + 5 * 60 + 9) / 86400.0;
    EXPECT_EQ(JetFunctions::formatDate(t, QStringLiteral("yyyy-MM-dd")),
              QStringLiteral("2024-03-02"));
    EXPECT_EQ(JetFunctions::formatDate(t, QStringLiteral("yyyy-mm-dd hh:nn:ss")),
              QStringLiteral("2024-03-02 14:05:09"));
    EXPECT_EQ(JetFunctions::formatDate(t, QStringLiteral("hh:mm")), QStringLiteral("14:05"));
    EXPECT_EQ(JetFunctions::formatDate(t, QStringLiteral("d mmm yy")), QStringLiteral("2 Mar 24"));
    EXPECT_EQ(JetFunctions::formatDate(t, QStringLiteral("dddd")), QStringLiteral("Saturday"));
}
