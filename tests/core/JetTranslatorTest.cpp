// The Jet-to-SQLite rewriting, as text, and the Jet text rules.
#include "core/JetTranslator.h"
#include "core/JetFunctions.h"
#include "core/JetText.h"

#include <gtest/gtest.h>

namespace {

// The translation, or "error: MESSAGE".
std::string tr(const char* jet) {
    const Result<QString> r = JetTranslator::translate(QString::fromUtf8(jet));
    return (r ? r.value() : QStringLiteral("error: ") + r.error()).toStdString();
}

} // namespace

TEST(JetTranslator, RewritesLiteralsKeywordsAndOperators) {
    EXPECT_EQ(tr("select * from files where type=\"MP3\""), "select * from files where type='MP3'");
    // A double-quoted value with an apostrophe, and doubled quotes inside.
    EXPECT_EQ(tr("x=\"O'Brien\" or y=\"say \"\"hi\"\"\""), "x='O''Brien' or y='say \"hi\"'");
    // Single-quoted text stays as it is, even with Jet words inside.
    EXPECT_EQ(tr("x='Now & True / Mod'"), "x='Now & True / Mod'");
    EXPECT_EQ(tr("select * from files where DATE_ADDED>=(Now - 7)"),
              "select * from files where DATE_ADDED>=(jet_now() - 7)");
    EXPECT_EQ(tr("select now() from x"), "select jet_now() from x");
    EXPECT_EQ(tr("where a=True and b=False"), "where a=1 and b=0");
    EXPECT_EQ(tr("where a Mod 2 = 1"), "where jet_mod(a, 2) = 1");
    EXPECT_EQ(tr("select distinctrow a from x"), "select distinct a from x");
    EXPECT_EQ(tr("where val(bitrate/1000)>128"), "where jet_val(bitrate*1.0/1000)>128");
    EXPECT_EQ(tr("where [size]>=10 and size<=20"), "where [size]>=10 and size<=20");
}

TEST(JetTranslator, DateLiteralsBecomeOleDayNumbers) {
    EXPECT_EQ(tr("d=#2024-03-02#"), "d=45353");
    EXPECT_EQ(tr("d=#3/2/2024#"), "d=45353");
    EXPECT_EQ(tr("d>=#2024-03-02 12:00:00#"), "d>=45353.5");
    EXPECT_EQ(tr("d=#1899-12-30#"), "d=0");
    EXPECT_EQ(tr("d=#Jan 1, 2020#"), "d=43831");
    EXPECT_EQ(tr("d=#1 January 2020#"), "d=43831");
    EXPECT_EQ(tr("d=#1-Jan-20#"), "d=43831");
    // US order: month first; a first number above 12 can only be the day.
    EXPECT_EQ(tr("d=#1/2/2020#"), "d=43832");
    EXPECT_EQ(tr("d=#13/1/2020#"), "d=43843");
    EXPECT_EQ(tr("d=#2020-01-02 13:45#"), "d=43832.572916666664");
    EXPECT_EQ(tr("d=#2020-01-02T13:45#"), "d=43832.572916666664");
    EXPECT_EQ(tr("t=#1:30 PM#"), "t=0.5625");
    EXPECT_EQ(tr("t=#1 pm#"), "t=0.54166666666666663");
    EXPECT_EQ(tr("t=#12:00 AM#"), "t=0");
    // A date before day 0 does not make "--" with a minus in front.
    EXPECT_EQ(tr("5-#1899-12-29#"), "5- -1");
}

TEST(JetTranslator, UnterminatedLiteralsAndBadDatesAreErrors) {
    EXPECT_EQ(tr("where a='abc"), "error: unterminated text: 'abc");
    EXPECT_EQ(tr("where a=\"abc\"\" or 1=1"), "error: unterminated text: \"abc\"\" or 1=1");
    EXPECT_EQ(tr("where [size>3"), "error: unterminated name: [size>3");
    EXPECT_EQ(tr("where d>#2020-01-01"), "error: unterminated date: #2020-01-01");
    EXPECT_EQ(tr("where d>#nope#"), "error: not a date: #nope#");
    EXPECT_EQ(tr("where d>#2/30/2020#"), "error: not a date: #2/30/2020#");
    EXPECT_EQ(tr("where d>#25:00#"), "error: not a date: #25:00#");
    EXPECT_EQ(tr("select (1"), "error: a \"(\" without its \")\"");
    EXPECT_EQ(tr("select 1)"), "error: a \")\" without its \"(\"");
}

TEST(JetTranslator, JetHasNoCommentsSoTheOutputHasNone) {
    // "--" is minus minus; SQLite must not see a comment either.
    EXPECT_EQ(tr("select 5--3"), "select 5- -3");
    EXPECT_EQ(tr("where rating--1>0"), "where rating- -1>0");
    EXPECT_EQ(tr("select 1 - -2 - - -3"), "select 1 - -2 - - -3");
    EXPECT_EQ(tr("select * from files; -- done"), "select * from files; - -done");
    // "/*" is a division followed by "*": SQLite reports a syntax error, as Jet does.
    EXPECT_EQ(tr("select 6/*2*/3"), "select 6*1.0/ *2**1.0/3");
    EXPECT_EQ(tr("select a /* note */ from x"), "select a *1.0/ * note **1.0/ from x");
    // "->" is no operator in Jet; SQLite would read JSON.
    EXPECT_EQ(tr("select a->b"), "select a- >b");
    // Texts keep their dashes.
    EXPECT_EQ(tr("where a='--x' or b=\"/*\""), "where a='--x' or b='/*'");
}

TEST(JetTranslator, SqliteOnlyOperatorsAreErrors) {
    EXPECT_EQ(tr("select a || b"), "error: unknown operator ||");
    EXPECT_EQ(tr("select 7 % 2"), "error: unknown operator %");
    EXPECT_EQ(tr("select a | b"), "error: unknown operator |");
    EXPECT_EQ(tr("select ~a"), "error: unknown operator ~");
    EXPECT_EQ(tr("select Forms!x"), "error: unknown operator !");
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

TEST(JetTranslator, OperatorsFollowJetPrecedence) {
    // & joins after arithmetic, as one call for a chain.
    EXPECT_EQ(tr("select a & b from x"), "select jet_concat(a, b) from x");
    EXPECT_EQ(tr("where a & b + 1 = 'x3'"), "where jet_concat(a, b + 1) = 'x3'");
    EXPECT_EQ(tr("select left(a & b, c) & 'x' & 1"),
              "select jet_concat(jet_left(jet_concat(a, b), c), 'x', 1)");
    // Mod and \ sit between * / and + -.
    EXPECT_EQ(tr("select 7 Mod 2*2"), "select jet_mod(7, 2*2)");
    EXPECT_EQ(tr("select 1+7 Mod 4"), "select 1+jet_mod(7, 4)");
    EXPECT_EQ(tr("select 9 \\ 2 Mod 3"), "select jet_mod(jet_intdiv(9, 2), 3)");
    EXPECT_EQ(tr("select 8 \\ 2*2"), "select jet_intdiv(8, 2*2)");
    // ^ binds above unary minus: -2^2 is -4; its exponent may carry a sign.
    EXPECT_EQ(tr("select -2^2, 2^-1, 2^3^2"),
              "select -jet_power(2, 2), jet_power(2, -1), jet_power(jet_power(2, 3), 2)");
    // SQLite's own operators get parentheses where Jet's grouping needs them.
    EXPECT_EQ(tr("select (a+b)/c, a/(b*c), a-(b-c), a/b/c"),
              "select (a+b)*1.0/c, a*1.0/(b*c), a-(b-c), a*1.0/b*1.0/c");
    EXPECT_EQ(tr("select (1 + 2) ^ 2 & \"!\""), "select jet_concat(jet_power((1 + 2), 2), '!')");
    // Comparisons and logic end an operand run.
    EXPECT_EQ(tr("where a & b = c & d and not e Mod 2 = 0"),
              "where jet_concat(a, b) = jet_concat(c, d) and not jet_mod(e, 2) = 0");
    EXPECT_EQ(tr("where x between 1+1 and 2 & 3"), "where x between 1+1 and jet_concat(2, 3)");
    EXPECT_EQ(tr("select t.a & [b c].[d] from t"), "select jet_concat(t.a, [b c].[d]) from t");
}

TEST(JetTranslator, FunctionsGoThroughTheJetTable) {
    EXPECT_EQ(tr("select Left(a, 2), LEFT$(a,1), mid$(a, 2), IsNull(a)"),
              "select jet_left(a, 2), jet_left$(a,1), jet_mid$(a, 2), jet_isnull(a)");
    EXPECT_EQ(tr("select Asc('a') from x order by a asc"),
              "select jet_asc('a') from x order by a asc");
    EXPECT_EQ(tr("where trim(MD_ARTIST)=''"), "where jet_trim(MD_ARTIST)=''");
    // Aggregates stay SQLite's, with one argument.
    EXPECT_EQ(tr("select count(*), count(distinct a), max(b) from x"),
              "select count(*), count(distinct a), max(b) from x");
    EXPECT_EQ(tr("select max(a, b)"), "error: wrong number of arguments to max");
    // Names Jet does not know, and calls of the wrong size, are errors.
    EXPECT_EQ(tr("select Foo(1)"), "error: unknown function Foo");
    EXPECT_EQ(tr("select lower(a), length(a)"), "error: unknown function lower");
    EXPECT_EQ(tr("select coalesce(a, 1)"), "error: unknown function coalesce");
    EXPECT_EQ(tr("select UCase$$(a)"), "error: unknown function UCase$$");
    EXPECT_EQ(tr("select Len$(a)"), "error: unknown function Len$");
    EXPECT_EQ(tr("select Left(a)"), "error: wrong number of arguments to Left");
    EXPECT_EQ(tr("select Now(1)"), "error: wrong number of arguments to Now");
    EXPECT_EQ(tr("select Switch(a, 1, b)"), "error: wrong number of arguments to Switch");
    EXPECT_EQ(tr("select a & & b"), "error: cannot read the expression a & & b");
    // Tables and their columns are no calls; definitions keep their types.
    EXPECT_EQ(tr("insert into T(a, b) values(1 & 2, Now)"),
              "insert into T(a, b) values(jet_concat(1, 2), jet_now())");
    EXPECT_EQ(tr("create table t (a varchar(10), b text(5))"),
              "create table t (a varchar(10), b text(5))");
    EXPECT_EQ(tr("select * from (select top 2 a from t) as s, u where s.a=u.a"),
              "select * from (select a from t limit 2) as s, u where s.a=u.a");
}

TEST(JetTranslator, StrCompEqualsZeroBecomesAnIndexableExactComparison) {
    EXPECT_EQ(
        tr("select * from files where strcomp(MD_ARTIST,'Abba',0)=0 order by filename"),
        "select * from files where (MD_ARTIST='Abba' AND MD_ARTIST='Abba' COLLATE BINARY) order by "
        "filename");
    EXPECT_EQ(tr("where strcomp(files.MD_ALBUM,'It''s',0)=0 "),
              "where (files.MD_ALBUM='It''s' AND files.MD_ALBUM='It''s' COLLATE BINARY) ");
    // Other forms keep the function.
    EXPECT_EQ(tr("where strcomp(MD_ARTIST,'a',1)=0"), "where jet_strcomp(MD_ARTIST,'a',1)=0");
    EXPECT_EQ(tr("where strcomp(MD_ARTIST,'a',0)<0"), "where jet_strcomp(MD_ARTIST,'a',0)<0");
    EXPECT_EQ(tr("where strcomp(MD_ARTIST,'a',0)=0 Mod 2"),
              "where jet_strcomp(MD_ARTIST,'a',0)=jet_mod(0, 2)");
}

TEST(JetTranslator, TopPercentIsRefused) {
    EXPECT_EQ(tr("select top 10 percent * from files"), "error: TOP 10 PERCENT is not supported");
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
