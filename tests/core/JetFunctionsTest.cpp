// Every entry of the Jet function table, called through SQL as Jet would answer.
#include "core/JetFunctions.h"
#include "core/Database.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Case {
    const char* function; // the table entry under test ("Left$" for the $ form)
    const char* expr;     // a Jet expression
    const char* expected; // its text; "<null>"; or "error: " and the start of the message
};

std::ostream& operator<<(std::ostream& os, const Case& c) {
    return os << c.expr;
}

// t is Saturday 2024-03-02 14:05:09.
#define T "#2024-03-02 14:05:09#"

const Case kCases[] = {
    // Text
    {"Asc", "Asc('A')", "65"},
    {"Asc", "Asc('€uro')", "128"},
    {"Asc", "Asc('')", "error: Invalid procedure call in Asc"},
    {"Chr", "Chr(65) & Chr(233)", "Aé"},
    {"Chr", "Chr(256)", "error: Invalid procedure call in Chr"},
    {"Chr$", "Chr$(Null)", "error: Invalid use of Null in Chr$"},
    {"Format", "Format(5, '000')", "005"},
    {"Format", "Format(" T ", 'Short Date')", "3/2/2024"},
    {"Format", "Format(Null, '0;-0;0;\"none\"')", "none"},
    {"Format", "Format(Null)", "<null>"},
    {"Format$", "Format$(0.5, '#.##')", ".5"},
    {"Format$", "Format$(Null, '0')", "error: Invalid use of Null in Format$"},
    {"InStr", "InStr('Hello World', 'world')", "7"},
    {"InStr", "InStr(8, 'Hello World', 'o')", "8"},
    {"InStr", "InStr(1, 'Hello World', 'world', 0)", "0"},
    {"InStr", "InStr(0, 'a', 'a')", "error: Invalid procedure call in InStr"},
    {"InStr", "InStr('abc', Null)", "<null>"},
    {"LCase", "LCase('ÉMILE')", "émile"},
    {"LCase$", "LCase$(Null)", "error: Invalid use of Null in LCase$"},
    {"Left", "Left('Björk', 3)", "Bjö"},
    {"Left", "Left(12345, 2)", "12"},
    {"Left", "Left('abc', -1)", "error: Invalid procedure call in Left"},
    {"Left$", "Left$('abc', 9)", "abc"},
    {"Left$", "Left$(Null, 1)", "error: Invalid use of Null in Left$"},
    {"Len", "Len('Björk')", "5"},
    {"Len", "Len(1.5)", "3"},
    {"Len", "Len(Null)", "<null>"},
    {"LTrim", "LTrim('  a  ') & '|'", "a  |"},
    {"LTrim$", "LTrim$(Null)", "error: Invalid use of Null in LTrim$"},
    {"Mid", "Mid('Björk', 2, 3)", "jör"},
    {"Mid", "Mid('abc', 0)", "error: Invalid procedure call in Mid"},
    {"Mid$", "Mid$('Björk', 4)", "rk"},
    {"Replace", "Replace('a-b-c', '-', '+')", "a+b+c"},
    {"Replace", "Replace('aXbxc', 'x', '_', 1, -1, 1)", "a_b_c"},
    {"Replace", "Replace('abcabc', 'b', '', 3)", "cac"},
    {"Replace", "Replace('aaa', 'a', 'b', 1, 2)", "bba"},
    {"Right", "Right('Björk', 2)", "rk"},
    {"Right$", "Right$(Null, 2)", "error: Invalid use of Null in Right$"},
    {"RTrim", "RTrim('  a  ') & '|'", "  a|"},
    {"RTrim$", "RTrim$(' a ') & '|'", " a|"},
    {"Space", "Space(3) & '|'", "   |"},
    {"Space", "Space(-1)", "error: Invalid procedure call in Space"},
    {"Space$", "Space$(0) & '|'", "|"},
    {"Str", "Str(5) & '|' & Str(-5)", " 5|-5"},
    {"Str$", "Str$(1.5)", " 1.5"},
    {"StrComp", "StrComp('abc', 'ABC', 0)", "1"},
    {"StrComp", "StrComp('abc', 'ABC')", "0"},
    {"StrComp", "StrComp('a', Null)", "<null>"},
    {"String", "String(3, 'ab') & String(2, 65)", "aaaAA"},
    {"String$", "String$(2, '-')", "--"},
    {"Trim", "'|' & Trim('  a  ') & '|'", "|a|"},
    {"Trim$", "Trim$(Null)", "error: Invalid use of Null in Trim$"},
    {"UCase", "UCase('émile')", "ÉMILE"},
    {"UCase$", "UCase$(1.5)", "1.5"},
    // Numbers and conversions
    {"Abs", "Abs(-2.5)", "2.5"},
    {"Abs", "Abs('-3')", "3"},
    {"Abs", "Abs('x')", "error: Type mismatch in Abs"},
    {"CBool", "CBool(5) & CBool(0) & CBool('False') & CBool('true')", "1001"},
    {"CBool", "CBool('x')", "error: Type mismatch in CBool"},
    {"CByte", "CByte(254.5)", "254"},
    {"CByte", "CByte(255.5)", "error: Overflow in CByte"},
    {"CCur", "CCur(1.23456)", "1.2346"},
    {"CDate", "CDate('Mar 2, 2024 6:00 PM')", "45353.75"},
    {"CDate", "CDate('no date')", "error: Type mismatch in CDate"},
    {"CDbl", "CDbl('1.5') + CDbl(2)", "3.5"},
    {"CInt", "CInt(2.5) & CInt(3.5) & CInt('-0.5')", "240"},
    {"CInt", "CInt(32768)", "error: Overflow in CInt"},
    {"CLng", "CLng(-2.5)", "-2"},
    {"CLng", "CLng(2147483648)", "error: Overflow in CLng"},
    {"CSng", "CSng(0.1) & ' ' & CSng(1/3)", "0.1 0.3333333"},
    {"CStr", "CStr(1.5) & ' ' & CStr(1E+20) & ' ' & CStr(0.1 + 0.2) & ' ' & CStr(7/2*2)",
     "1.5 1E+20 0.3 7"},
    {"CStr", "CStr(Null)", "<null>"},
    {"Exp", "Exp(0)", "1.0"},
    {"Exp", "Exp(1000)", "error: Overflow in Exp"},
    {"Fix", "Fix(-2.7) & ' ' & Fix(2.7)", "-2 2"},
    {"Int", "Int(-2.7) & ' ' & Int(2.7) & ' ' & Int('3.5')", "-3 2 3"},
    {"Log", "Log(1)", "0.0"},
    {"Log", "Log(0)", "error: Invalid procedure call in Log"},
    {"Round", "Round(2.5) & Round(3.5) & Round(-2.5)", "24-2"},
    {"Round", "Round(2.675, 2) & ' ' & Round(0.125, 2) & ' ' & Round(1.005, 2)", "2.68 0.12 1"},
    {"Round", "Round(1, -1)", "error: Invalid procedure call in Round"},
    {"Sgn", "Sgn(-3) & Sgn(0) & Sgn(2.5)", "-101"},
    {"Sqr", "Sqr(16)", "4"},
    {"Sqr", "Sqr(-1)", "error: Invalid procedure call in Sqr"},
    {"Val", "Val('1999 remaster')", "1999.0"},
    {"Val", "Val(' 1 2 3')", "123.0"},
    // Choices and tests
    {"Choose", "Choose(2, 'a', 'b', 'c')", "b"},
    {"Choose", "Choose(4, 'a', 'b', 'c')", "<null>"},
    {"Choose", "Choose(1.5, 'a', 'b')", "b"},
    {"IIf", "IIf(2 > 1, 'yes', 'no') & IIf(Null, 'yes', 'no')", "yesno"},
    {"IsNull", "IsNull(Null) & IsNull('')", "10"},
    {"IsNumeric", "IsNumeric('1e3') & IsNumeric('abc') & IsNumeric(5) & IsNumeric(Null)", "1010"},
    {"Switch", "Switch(1 > 2, 'a', 2 > 1, 'b')", "b"},
    {"Switch", "Switch(1 > 2, 'a')", "<null>"},
    // Dates
    {"Date", "Date() = Int(Now())", "1"},
    {"DateAdd", "Format(DateAdd('m', 1, #1/31/2024#), 'yyyy-mm-dd')", "2024-02-29"},
    {"DateAdd", "Format(DateAdd('yyyy', 1, #2/29/2024#), 'yyyy-mm-dd')", "2025-02-28"},
    {"DateAdd", "Format(DateAdd('q', -1, " T "), 'yyyy-mm-dd hh:nn:ss')", "2023-12-02 14:05:09"},
    {"DateAdd", "Format(DateAdd('n', 90, #2024-03-02 23:00#), 'yyyy-mm-dd hh:nn')",
     "2024-03-03 00:30"},
    {"DateAdd", "DateAdd('w', 1, 10) & DateAdd('ww', 1, 10) & DateAdd('d', 1.5, 10)", "111712"},
    {"DateAdd", "DateAdd('x', 1, 10)", "error: Invalid procedure call in DateAdd"},
    {"DateDiff", "DateDiff('d', #1/1/2024#, #3/1/2024#)", "60"},
    {"DateDiff", "DateDiff('yyyy', #12/31/2023#, #1/1/2024#)", "1"},
    {"DateDiff", "DateDiff('m', #1/31/2024#, #2/1/2024#) & DateDiff('q', #3/31/2024#, #4/1/2024#)",
     "11"},
    {"DateDiff",
     "DateDiff('ww', #2024-03-02#, #2024-03-03#) & DateDiff('ww', #2024-03-02#, "
     "#2024-03-03#, 2)",
     "10"},
    {"DateDiff",
     "DateDiff('w', #2024-03-01#, #2024-03-15#) & DateDiff('w', #2024-03-15#, "
     "#2024-03-02#)",
     "2-1"},
    {"DateDiff", "DateDiff('h', #1:59#, #2:00#) & DateDiff('n', #1:59:59#, #2:00#)", "11"},
    {"DateDiff", "DateDiff('s', #2024-03-02#, #2024-03-03#)", "86400"},
    {"DatePart",
     "DatePart('yyyy', " T ") & DatePart('q', " T ") & DatePart('m', " T ") & '-' & "
     "DatePart('y', " T ") & '-' & DatePart('d', " T ")",
     "202413-62-2"},
    {"DatePart", "DatePart('w', " T ") & DatePart('w', " T ", 2) & DatePart('w', " T ", 0)", "767"},
    {"DatePart", "DatePart('h', " T ") & ':' & DatePart('n', " T ") & ':' & DatePart('s', " T ")",
     "14:5:9"},
    {"DatePart", "DatePart('ww', #2024-01-01#) & DatePart('ww', " T ")", "19"},
    // Weeks that start on Monday with four days: late December stays in week 53,
    // early January may still count to the year before.
    {"DatePart", "DatePart('ww', #2024-12-31#, 2, 2) & '/' & DatePart('ww', #2021-01-01#, 2, 2)",
     "53/53"},
    {"DatePart", "DatePart('ww', #2023-01-01#, 1, 3) & '/' & DatePart('ww', #2022-01-01#, 1, 3)",
     "1/52"},
    {"DatePart", "DatePart('w', " T ", 8)", "error: Invalid procedure call in DatePart"},
    {"DateSerial", "Format(DateSerial(2024, 13, 1), 'yyyy-mm-dd')", "2025-01-01"},
    {"DateSerial", "Format(DateSerial(24, 3, 0), 'yyyy-mm-dd')", "2024-02-29"},
    {"DateValue", "DateValue('2024-03-02 18:00')", "45353.0"},
    {"Day", "Day(" T ") & Day('2024-03-02')", "22"},
    {"Day", "Day('nope')", "error: Type mismatch in Day"},
    {"Hour", "Hour(" T ")", "14"},
    {"Minute", "Minute(" T ")", "5"},
    {"Month", "Month(45353)", "3"},
    {"MonthName", "MonthName(3) & MonthName(3, True)", "MarchMar"},
    {"MonthName", "MonthName(13)", "error: Invalid procedure call in MonthName"},
    {"Now", "Now() - Int(Now()) < 1", "1"},
    {"Second", "Second(" T ")", "9"},
    {"Time", "Time() >= 0 and Time() < 1", "1"},
    {"TimeSerial", "Format(TimeSerial(13, 90, 0), 'hh:nn')", "14:30"},
    {"TimeValue", "TimeValue('2024-03-02 18:00')", "0.75"},
    {"Weekday", "Weekday(" T ") & Weekday(" T ", 2) & Weekday(#2024-03-03#)", "761"},
    {"WeekdayName", "WeekdayName(1) & WeekdayName(1, True, 2)", "SundayMon"},
    {"Year", "Year(" T ")", "2024"},
    // Operators
    {"&", "'a' & Null", "a"},
    {"&", "Null & Null", "<null>"},
    {"&", "1.5 & 'x' & Val('3')", "1.5x3"},
    {"Mod", "5.5 Mod 2 & ' ' & -7 Mod 3 & ' ' & '7' Mod 2", "0 -1 1"},
    {"Mod", "7 Mod 0", "error: Division by zero in Mod"},
    {"\\", "7.5 \\ 2 & ' ' & -7 \\ 2", "4 -3"},
    {"\\", "1 \\ 0", "error: Division by zero in \\"},
    {"^", "2^10 & ' ' & 2^-1 & ' ' & -2^2", "1024 0.5 -4"},
    {"^", "(-8)^(1/3)", "error: Invalid procedure call in ^"},
};

#undef T

class JetFunctionCase : public ::testing::TestWithParam<Case> {
protected:
    static void SetUpTestSuite() {
        dir = new QTemporaryDir;
        Result<db::Database> d = db::Database::open(dir->path() + QStringLiteral("/f.qvd"),
                                                    db::Database::Mode::ReadWriteCreate);
        ASSERT_TRUE(d.ok()) << d.error().toStdString();
        conn = new db::Database(std::move(d).value());
    }
    static void TearDownTestSuite() {
        delete conn;
        delete dir;
    }
    static QTemporaryDir* dir;
    static db::Database* conn;
};

QTemporaryDir* JetFunctionCase::dir = nullptr;
db::Database* JetFunctionCase::conn = nullptr;

} // namespace

TEST_P(JetFunctionCase, AnswersAsJet) {
    const Case& c = GetParam();
    Result<db::Recordset> r = conn->query(QStringLiteral("select ") + QString::fromUtf8(c.expr));
    ASSERT_TRUE(r.ok()) << r.error().toStdString();
    QString got;
    if (!r.value().next())
        got = QStringLiteral("error: ") + r.value().error();
    else
        got = r.value().isNull(0) ? "<null>" : r.value().text(0);
    const QString want = QString::fromUtf8(c.expected);
    if (want.startsWith(QLatin1String("error: "))) {
        EXPECT_TRUE(got.startsWith(want)) << got.toStdString();
    } else {
        EXPECT_EQ(got, want);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, JetFunctionCase, ::testing::ValuesIn(kCases));

TEST(JetFunctionTable, EveryEntryAndDollarFormHasCases) {
    auto covered = [](const QString& name) {
        for (const Case& c : kCases)
            if (QString::fromUtf8(c.function) == name) return true;
        return false;
    };
    for (const JetFunctions::Function& f : JetFunctions::functions()) {
        const QString name = QString::fromLatin1(f.name);
        EXPECT_TRUE(covered(name)) << f.name;
        if (f.flags & JetFunctions::Function::Dollar) {
            EXPECT_TRUE(covered(name + QLatin1Char('$'))) << f.name << "$";
        }
    }
}

TEST(JetFunctionTable, NamesFindTheirEntriesWithoutRegardToCase) {
    bool dollar = false;
    const JetFunctions::Function* f = JetFunctions::find(u"left$", &dollar);
    ASSERT_NE(f, nullptr);
    EXPECT_STREQ(f->name, "Left");
    EXPECT_TRUE(dollar);
    EXPECT_EQ(JetFunctions::find(u"Len$"), nullptr) << "Len has no $ form";
    EXPECT_EQ(JetFunctions::find(u"Mod"), nullptr) << "operators are not called by name";
    EXPECT_NE(JetFunctions::findOperator(u"MOD"), nullptr);
}
