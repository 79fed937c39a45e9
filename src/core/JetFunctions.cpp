#include "core/JetFunctions.h"

#include "core/JetArgs.h"
#include "core/JetCalls.h"
#include "core/JetText.h"

#include <QByteArray>

#include <sqlite3.h>

#include <cstdlib>
#include <deque>

namespace JetFunctions {

namespace {

using F = Function;
using namespace JetCalls;

// clang-format off
const Function kFunctions[] = {
    // Text
    {"Asc",         "jet_asc",         1, 1,  asc},
    {"Chr",         "jet_chr",         1, 1,  chr,        F::Dollar},
    {"Format",      "jet_format",      1, 4,  format,     F::Dollar},
    {"InStr",       "jet_instr",       2, 4,  inStr},
    {"LCase",       "jet_lcase",       1, 1,  lcase,      F::Dollar},
    {"Left",        "jet_left",        2, 2,  left,       F::Dollar},
    {"Len",         "jet_len",         1, 1,  len},
    {"LTrim",       "jet_ltrim",       1, 1,  ltrim,      F::Dollar},
    {"Mid",         "jet_mid",         2, 3,  mid,        F::Dollar},
    {"Replace",     "jet_replace",     3, 6,  replace},
    {"Right",       "jet_right",       2, 2,  right,      F::Dollar},
    {"RTrim",       "jet_rtrim",       1, 1,  rtrim,      F::Dollar},
    {"Space",       "jet_space",       1, 1,  space,      F::Dollar},
    {"Str",         "jet_str",         1, 1,  str,        F::Dollar},
    {"StrComp",     "jet_strcomp",     2, 3,  strComp},
    {"String",      "jet_string",      2, 2,  string,     F::Dollar},
    {"Trim",        "jet_trim",        1, 1,  trim,       F::Dollar},
    {"UCase",       "jet_ucase",       1, 1,  ucase,      F::Dollar},
    // Numbers and conversions
    {"Abs",         "jet_abs",         1, 1,  abs},
    {"CBool",       "jet_cbool",       1, 1,  cbool},
    {"CByte",       "jet_cbyte",       1, 1,  cbyte},
    {"CCur",        "jet_ccur",        1, 1,  ccur},
    {"CDate",       "jet_cdate",       1, 1,  cdate},
    {"CDbl",        "jet_cdbl",        1, 1,  cdbl},
    {"CInt",        "jet_cint",        1, 1,  cint},
    {"CLng",        "jet_clng",        1, 1,  clng},
    {"CSng",        "jet_csng",        1, 1,  csng},
    {"CStr",        "jet_cstr",        1, 1,  cstr},
    {"Exp",         "jet_exp",         1, 1,  exp},
    {"Fix",         "jet_fix",         1, 1,  fix},
    {"Int",         "jet_int",         1, 1,  intPart},
    {"Log",         "jet_log",         1, 1,  log},
    {"Round",       "jet_round",       1, 2,  round},
    {"Sgn",         "jet_sgn",         1, 1,  sgn},
    {"Sqr",         "jet_sqr",         1, 1,  sqr},
    {"Val",         "jet_val",         1, 1,  JetCalls::val},
    // Choices and tests
    {"Choose",      "jet_choose",      2, -1, choose},
    {"IIf",         "jet_iif",         3, 3,  iif},
    {"IsNull",      "jet_isnull",      1, 1,  isNull},
    {"IsNumeric",   "jet_isnumeric",   1, 1,  isNumeric},
    {"Switch",      "jet_switch",      2, -1, switchOf},
    // Dates
    {"Date",        "jet_date",        0, 0,  date,       F::Volatile},
    {"DateAdd",     "jet_dateadd",     3, 3,  dateAdd},
    {"DateDiff",    "jet_datediff",    3, 5,  dateDiff},
    {"DatePart",    "jet_datepart",    2, 4,  datePart},
    {"DateSerial",  "jet_dateserial",  3, 3,  dateSerial},
    {"DateValue",   "jet_datevalue",   1, 1,  dateValue},
    {"Day",         "jet_day",         1, 1,  day},
    {"Hour",        "jet_hour",        1, 1,  hour},
    {"Minute",      "jet_minute",      1, 1,  minute},
    {"Month",       "jet_month",       1, 1,  month},
    {"MonthName",   "jet_monthname",   1, 2,  monthName},
    {"Now",         "jet_now",         0, 0,  now,        F::Volatile},
    {"Second",      "jet_second",      1, 1,  second},
    {"Time",        "jet_time",        0, 0,  time,       F::Volatile},
    {"TimeSerial",  "jet_timeserial",  3, 3,  timeSerial},
    {"TimeValue",   "jet_timevalue",   1, 1,  timeValue},
    {"Weekday",     "jet_weekday",     1, 2,  weekday},
    {"WeekdayName", "jet_weekdayname", 1, 3,  weekdayName},
    {"Year",        "jet_year",        1, 1,  year},
    // Operators
    {"&",           "jet_concat",      2, -1, concat,     F::Operator},
    {"Mod",         "jet_mod",         2, 2,  mod,        F::Operator},
    {"\\",          "jet_intdiv",      2, 2,  intDiv,     F::Operator},
    {"^",           "jet_power",       2, 2,  power,      F::Operator},
};
// clang-format on

// Called for every row a quick search reads: kept free of calls into other files.
inline QByteArrayView textOf(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return QByteArrayView(p, sqlite3_value_bytes(v));
}

void like(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    char32_t escape = 0;
    if (argc == 3) {
        const QByteArrayView e = textOf(argv[2]);
        auto p = reinterpret_cast<const unsigned char*>(e.data());
        if (!e.isEmpty()) escape = JetText::decodeUtf8(p, p + e.size());
    }
    // SQLite calls like(pattern, text) for "text LIKE pattern".
    sqlite3_result_int(ctx, JetText::like(textOf(argv[0]), textOf(argv[1]), escape) ? 1 : 0);
}

int collateJetText(void*, int na, const void* a, int nb, const void* b) {
    return JetText::compare(QByteArrayView(static_cast<const char*>(a), na),
                            QByteArrayView(static_cast<const char*>(b), nb));
}

bool create(sqlite3* db, const QByteArray& sqlName, int args, const Function& f,
            const JetArgs::Binding* binding) {
    const int flags = SQLITE_UTF8 | ((f.flags & F::Volatile) ? 0 : SQLITE_DETERMINISTIC);
    return sqlite3_create_function_v2(db, sqlName.constData(), args, flags,
                                      const_cast<JetArgs::Binding*>(binding), f.call, nullptr,
                                      nullptr, nullptr) == SQLITE_OK;
}

// The bindings live as long as the program: every connection shares them.
const std::deque<JetArgs::Binding>& bindings() {
    static const std::deque<JetArgs::Binding> all = [] {
        std::deque<JetArgs::Binding> b;
        for (const Function& f : kFunctions) {
            b.push_back({QByteArray(f.name), false});
            b.push_back({QByteArray(f.name) + '$', true});
        }
        return b;
    }();
    return all;
}

} // namespace

std::span<const Function> functions() {
    return kFunctions;
}

const Function* find(QStringView name, bool* dollar) {
    const bool isDollar = name.endsWith(QLatin1Char('$'));
    const QStringView bare = isDollar ? name.chopped(1) : name;
    for (const Function& f : kFunctions) {
        if ((f.flags & F::Operator) || bare.compare(QLatin1String(f.name), Qt::CaseInsensitive))
            continue;
        if (isDollar && !(f.flags & F::Dollar)) return nullptr;
        if (dollar) *dollar = isDollar;
        return &f;
    }
    return nullptr;
}

const Function* findOperator(QStringView op) {
    for (const Function& f : kFunctions)
        if ((f.flags & F::Operator) && op.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

bool registerAll(sqlite3* db) {
    const std::deque<JetArgs::Binding>& b = bindings();
    for (size_t i = 0; i < std::size(kFunctions); ++i) {
        const Function& f = kFunctions[i];
        // SQLite takes up to 127 arguments; -1 registers a function that takes any number.
        const int arities = f.maxArgs < 0 ? 1 : f.maxArgs - f.minArgs + 1;
        for (int a = 0; a < arities; ++a) {
            const int args = f.maxArgs < 0 ? -1 : f.minArgs + a;
            if (!create(db, f.sqlName, args, f, &b[2 * i])) return false;
            if ((f.flags & F::Dollar) &&
                !create(db, QByteArray(f.sqlName) + '$', args, f, &b[2 * i + 1]))
                return false;
        }
    }
    for (int args : {2, 3})
        if (sqlite3_create_function_v2(db, "like", args, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                       nullptr, like, nullptr, nullptr, nullptr) != SQLITE_OK)
            return false;
    return sqlite3_create_collation_v2(db, "JETTEXT", SQLITE_UTF8, nullptr, collateJetText,
                                       nullptr) == SQLITE_OK;
}

double val(QByteArrayView text) {
    // Blanks, tabs and line feeds are skipped anywhere in the number, as Jet does.
    QByteArray digits;
    digits.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') digits.append(c);
    const char* p = digits.constData();
    const char* e = p + digits.size();
    if (e - p >= 2 && p[0] == '&' && (p[1] == 'H' || p[1] == 'h' || p[1] == 'O' || p[1] == 'o')) {
        const int base = (p[1] == 'H' || p[1] == 'h') ? 16 : 8;
        long long v = 0;
        for (p += 2; p < e; ++p) {
            const int d = (*p >= '0' && *p <= '9')   ? *p - '0'
                          : (*p >= 'a' && *p <= 'f') ? *p - 'a' + 10
                          : (*p >= 'A' && *p <= 'F') ? *p - 'A' + 10
                                                     : 99;
            if (d >= base) break;
            v = v * base + d;
        }
        return static_cast<double>(v);
    }
    const char* start = p;
    if (p < e && (*p == '+' || *p == '-')) ++p;
    const char* mant = p;
    while (p < e && *p >= '0' && *p <= '9')
        ++p;
    if (p < e && *p == '.') {
        ++p;
        while (p < e && *p >= '0' && *p <= '9')
            ++p;
    }
    if (p == mant || (p == mant + 1 && *mant == '.')) return 0;
    const char* numEnd = p;
    if (p < e && (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D')) {
        const char* q = p + 1;
        if (q < e && (*q == '+' || *q == '-')) ++q;
        if (q < e && *q >= '0' && *q <= '9') {
            while (q < e && *q >= '0' && *q <= '9')
                ++q;
            numEnd = q;
        }
    }
    QByteArray num(start, numEnd - start);
    for (char& c : num)
        if (c == 'd' || c == 'D') c = 'e';
    return std::strtod(num.constData(), nullptr);
}

} // namespace JetFunctions
