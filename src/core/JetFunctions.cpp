#include "core/JetFunctions.h"

#include "core/JetText.h"
#include "core/OleDate.h"

#include <QByteArray>
#include <QDate>
#include <QLocale>
#include <QRegularExpression>

#include <sqlite3.h>

#include <cmath>
#include <cstring>

namespace JetFunctions {

namespace {

QByteArrayView argText(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return QByteArrayView(p, sqlite3_value_bytes(v));
}

QString argQString(sqlite3_value* v) {
    const QByteArrayView t = argText(v);
    return QString::fromUtf8(t.data(), t.size());
}

bool anyNull(int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return true;
    return false;
}

void resultQString(sqlite3_context* ctx, const QString& s) {
    const QByteArray u = s.toUtf8();
    sqlite3_result_text(ctx, u.constData(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
}

bool isNumeric(sqlite3_value* v) {
    const int t = sqlite3_value_type(v);
    return t == SQLITE_INTEGER || t == SQLITE_FLOAT;
}

// A date argument: a number is taken as OLE days, text is parsed.
bool argDate(sqlite3_value* v, double& days) {
    if (isNumeric(v)) {
        days = sqlite3_value_double(v);
        return true;
    }
    return parseDate(argText(v), days);
}

// Character positions for mid/left/right/len: Jet counts characters.
QString argString(sqlite3_value* v) {
    if (isNumeric(v) && sqlite3_value_type(v) == SQLITE_FLOAT) {
        return QString::number(sqlite3_value_double(v), 'g', 15);
    }
    return argQString(v);
}

void fnStrComp(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const int mode = argc >= 3 ? sqlite3_value_int(argv[2]) : 1;
    const QByteArrayView a = argText(argv[0]);
    const QByteArrayView b = argText(argv[1]);
    int r = 0;
    if (mode == 0) {
        const int n =
            std::memcmp(a.data(), b.data(), static_cast<size_t>(std::min(a.size(), b.size())));
        r = n != 0 ? n : (a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0);
    } else {
        r = JetText::compare(a, b);
    }
    sqlite3_result_int(ctx, r < 0 ? -1 : r > 0 ? 1 : 0);
}

void fnVal(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    if (isNumeric(argv[0])) {
        sqlite3_result_value(ctx, argv[0]);
        return;
    }
    sqlite3_result_double(ctx, val(argText(argv[0])));
}

void fnCDate(sqlite3_context* ctx, int, sqlite3_value** argv) {
    double d = 0;
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || !argDate(argv[0], d)) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_double(ctx, d);
}

QString formatNumber(double x, const QString& pattern) {
    // Patterns of digits: "0", "0.00", "#,##0.00", "0%".
    QString p = pattern;
    const bool percent = p.endsWith(QLatin1Char('%'));
    if (percent) {
        x *= 100;
        p.chop(1);
    }
    const int dot = p.indexOf(QLatin1Char('.'));
    const int decimals = dot < 0 ? 0 : static_cast<int>(p.size() - dot - 1);
    const bool group = p.contains(QLatin1Char(','));
    QLocale c = QLocale::c();
    if (!group)
        c.setNumberOptions(QLocale::OmitGroupSeparator);
    else
        c.setNumberOptions({});
    QString s = c.toString(x, 'f', decimals);
    return percent ? s + QLatin1Char('%') : s;
}

void fnFormat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    if (argc < 2 || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        resultQString(ctx, argString(argv[0]));
        return;
    }
    const QString pattern = argQString(argv[1]);
    static const QRegularExpression numeric(QStringLiteral("^[0#,]*(\\.[0#]*)?%?$"));
    if (isNumeric(argv[0]) && numeric.match(pattern).hasMatch()) {
        resultQString(ctx, formatNumber(sqlite3_value_double(argv[0]), pattern));
        return;
    }
    double d = 0;
    if (!argDate(argv[0], d)) {
        resultQString(ctx, argQString(argv[0]));
        return;
    }
    resultQString(ctx, formatDate(d, pattern));
}

void fnNow(sqlite3_context* ctx, int, sqlite3_value**) {
    // Jet's Now has whole seconds.
    const QDateTime t = QDateTime::currentDateTime();
    sqlite3_result_double(ctx, OleDate::fromDateTime(t.addMSecs(-t.time().msec())));
}

void fnDate(sqlite3_context* ctx, int, sqlite3_value**) {
    const QDate d = QDate::currentDate();
    sqlite3_result_double(ctx, OleDate::fromDate(d.year(), d.month(), d.day()));
}

void fnIif(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const bool cond =
        sqlite3_value_type(argv[0]) != SQLITE_NULL && sqlite3_value_double(argv[0]) != 0;
    sqlite3_result_value(ctx, argv[cond ? 1 : 2]);
}

void fnUCase(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    resultQString(ctx, argString(argv[0]).toUpper());
}

void fnLCase(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    resultQString(ctx, argString(argv[0]).toLower());
}

void fnLen(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, argString(argv[0]).size());
}

void fnMid(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(std::min(argc, 2), argv)) return sqlite3_result_null(ctx);
    const QString s = argString(argv[0]);
    const qint64 start = sqlite3_value_int64(argv[1]);
    if (start < 1) {
        sqlite3_result_error(ctx, "Invalid procedure call: Mid start below 1", -1);
        return;
    }
    const qint64 len =
        argc >= 3 && sqlite3_value_type(argv[2]) != SQLITE_NULL ? sqlite3_value_int64(argv[2]) : -1;
    if (argc >= 3 && len < 0 && sqlite3_value_type(argv[2]) != SQLITE_NULL) {
        sqlite3_result_error(ctx, "Invalid procedure call: Mid length below 0", -1);
        return;
    }
    resultQString(ctx, s.mid(start - 1, len < 0 ? -1 : len));
}

void fnLeft(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (anyNull(2, argv)) return sqlite3_result_null(ctx);
    resultQString(ctx, argString(argv[0]).left(std::max<qint64>(0, sqlite3_value_int64(argv[1]))));
}

void fnRight(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (anyNull(2, argv)) return sqlite3_result_null(ctx);
    resultQString(ctx, argString(argv[0]).right(std::max<qint64>(0, sqlite3_value_int64(argv[1]))));
}

// InStr([start,] text, sought [, compare]); compare 0 binary, else text (the default).
void fnInStr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    int i = 0;
    qint64 start = 1;
    if (argc >= 3 && isNumeric(argv[0])) {
        start = sqlite3_value_int64(argv[0]);
        i = 1;
    }
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL ||
        sqlite3_value_type(argv[i + 1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const int mode = argc > i + 2 ? sqlite3_value_int(argv[i + 2]) : 1;
    const QString text = argString(argv[i]);
    const QString sought = argString(argv[i + 1]);
    if (start < 1) start = 1;
    const qsizetype pos =
        text.indexOf(sought, start - 1, mode == 0 ? Qt::CaseSensitive : Qt::CaseInsensitive);
    sqlite3_result_int64(ctx, pos < 0 ? 0 : pos + 1);
}

template <int Part> void fnDatePart(sqlite3_context* ctx, int, sqlite3_value** argv) {
    double d = 0;
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || !argDate(argv[0], d))
        return sqlite3_result_null(ctx);
    const OleDate::Civil c = OleDate::toCivil(d);
    sqlite3_result_int(ctx, Part == 0 ? c.year : Part == 1 ? c.month : c.day);
}

void fnIsNull(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_int(ctx, sqlite3_value_type(argv[0]) == SQLITE_NULL ? 1 : 0);
}

void fnCStr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    resultQString(ctx, argString(argv[0]));
}

void fnCDbl(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    sqlite3_result_double(ctx, isNumeric(argv[0]) ? sqlite3_value_double(argv[0])
                                                  : val(argText(argv[0])));
}

void fnCLng(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const double x = isNumeric(argv[0]) ? sqlite3_value_double(argv[0]) : val(argText(argv[0]));
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(std::nearbyint(x))); // halves to even
}

void fnLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
    char32_t escape = 0;
    if (argc == 3) {
        const QByteArrayView e = argText(argv[2]);
        auto p = reinterpret_cast<const unsigned char*>(e.data());
        if (!e.isEmpty()) escape = JetText::decodeUtf8(p, p + e.size());
    }
    // sqlite passes like(pattern, text) for "text LIKE pattern".
    sqlite3_result_int(ctx, JetText::like(argText(argv[0]), argText(argv[1]), escape) ? 1 : 0);
}

int collateJetText(void*, int na, const void* a, int nb, const void* b) {
    return JetText::compare(QByteArrayView(static_cast<const char*>(a), na),
                            QByteArrayView(static_cast<const char*>(b), nb));
}

struct Fn {
    const char* name;
    int args;
    void (*fn)(sqlite3_context*, int, sqlite3_value**);
    bool deterministic;
};

} // namespace

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

bool parseDate(QByteArrayView text, double& oleDays) {
    static const QRegularExpression iso(QStringLiteral(
        "^\\s*(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[ T](\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?\\s*$"));
    static const QRegularExpression us(QStringLiteral(
        "^\\s*(\\d{1,2})/(\\d{1,2})/"
        "(\\d{2,4})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*([AaPp][Mm])?)?\\s*$"));
    static const QRegularExpression timeOnly(
        QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*([AaPp][Mm])?\\s*$"));
    const QString s = QString::fromUtf8(text.data(), text.size());
    auto timeOf = [](int h, int m, int sec, const QString& ampm, double& out) {
        if (!ampm.isEmpty()) {
            const bool pm = ampm.startsWith(QLatin1Char('p'), Qt::CaseInsensitive);
            if (h < 1 || h > 12) return false;
            h = (h % 12) + (pm ? 12 : 0);
        }
        if (h > 23 || m > 59 || sec > 59) return false;
        out = (h * 3600 + m * 60 + sec) / 86400.0;
        return true;
    };
    QRegularExpressionMatch m = iso.match(s);
    int y = 0, mo = 0, d = 0;
    double t = 0;
    if (m.hasMatch()) {
        y = m.captured(1).toInt();
        mo = m.captured(2).toInt();
        d = m.captured(3).toInt();
        if (!m.captured(4).isEmpty() &&
            !timeOf(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(), {}, t))
            return false;
    } else if ((m = us.match(s)).hasMatch()) {
        mo = m.captured(1).toInt();
        d = m.captured(2).toInt();
        y = m.captured(3).toInt();
        if (m.captured(3).size() <= 2) y += y < 30 ? 2000 : 1900;
        if (!m.captured(4).isEmpty() && !timeOf(m.captured(4).toInt(), m.captured(5).toInt(),
                                                m.captured(6).toInt(), m.captured(7), t))
            return false;
    } else if ((m = timeOnly.match(s)).hasMatch()) {
        if (!timeOf(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                    m.captured(4), t))
            return false;
        oleDays = t;
        return true;
    } else {
        return false;
    }
    if (!QDate::isValid(y, mo, d)) return false;
    oleDays = OleDate::fromDate(y, mo, d) + t;
    return true;
}

QString formatDate(double oleDays, const QString& pattern) {
    const OleDate::Civil c = OleDate::toCivil(oleDays);
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    QString out;
    const qsizetype n = pattern.size();
    bool lastWasHour = false;
    auto run = [&](qsizetype i, QChar ch) {
        qsizetype j = i;
        while (j < n && pattern.at(j).toLower() == ch)
            ++j;
        return j - i;
    };
    auto two = [](int v) { return QString::number(v).rightJustified(2, QLatin1Char('0')); };
    for (qsizetype i = 0; i < n;) {
        const QChar ch = pattern.at(i).toLower();
        if (pattern.at(i) == QLatin1Char('"')) { // quoted literal
            const qsizetype end = pattern.indexOf(QLatin1Char('"'), i + 1);
            out += pattern.mid(i + 1, end < 0 ? -1 : end - i - 1);
            i = end < 0 ? n : end + 1;
            continue;
        }
        if (pattern.at(i) == QLatin1Char('\\') && i + 1 < n) {
            out += pattern.at(i + 1);
            i += 2;
            continue;
        }
        const qsizetype len =
            (ch == 'y' || ch == 'm' || ch == 'd' || ch == 'h' || ch == 'n' || ch == 's')
                ? run(i, ch)
                : 1;
        if (ch == 'y') {
            out += len >= 3 ? QString::number(c.year).rightJustified(4, QLatin1Char('0'))
                            : two(c.year % 100);
        } else if (ch == 'm') {
            if (lastWasHour && len <= 2)
                out += len == 2 ? two(c.minute) : QString::number(c.minute);
            else if (len >= 4)
                out += en.monthName(c.month, QLocale::LongFormat);
            else if (len == 3)
                out += en.monthName(c.month, QLocale::ShortFormat);
            else
                out += len == 2 ? two(c.month) : QString::number(c.month);
        } else if (ch == 'd') {
            if (len >= 4)
                out += en.dayName(c.dayOfWeek, QLocale::LongFormat);
            else if (len == 3)
                out += en.dayName(c.dayOfWeek, QLocale::ShortFormat);
            else
                out += len == 2 ? two(c.day) : QString::number(c.day);
        } else if (ch == 'h') {
            out += len >= 2 ? two(c.hour) : QString::number(c.hour);
        } else if (ch == 'n') {
            out += len >= 2 ? two(c.minute) : QString::number(c.minute);
        } else if (ch == 's') {
            out += len >= 2 ? two(c.second) : QString::number(c.second);
        } else {
            out += pattern.at(i);
        }
        if (ch == 'h')
            lastWasHour = true;
        else if (ch != ':' && ch != ' ')
            lastWasHour = false;
        i += len;
    }
    return out;
}

bool registerAll(sqlite3* db) {
    static const Fn fns[] = {
        {"strcomp", 2, fnStrComp, true},  {"strcomp", 3, fnStrComp, true},
        {"val", 1, fnVal, true},          {"cdate", 1, fnCDate, true},
        {"datevalue", 1, fnCDate, true},  {"format", 1, fnFormat, true},
        {"format", 2, fnFormat, true},    {"now", 0, fnNow, false},
        {"date", 0, fnDate, false},       {"iif", 3, fnIif, true},
        {"ucase", 1, fnUCase, true},      {"lcase", 1, fnLCase, true},
        {"len", 1, fnLen, true},          {"mid", 2, fnMid, true},
        {"mid", 3, fnMid, true},          {"jet_left", 2, fnLeft, true},
        {"jet_right", 2, fnRight, true},  {"instr", 2, fnInStr, true},
        {"instr", 3, fnInStr, true},      {"instr", 4, fnInStr, true},
        {"year", 1, fnDatePart<0>, true}, {"month", 1, fnDatePart<1>, true},
        {"day", 1, fnDatePart<2>, true},  {"isnull", 1, fnIsNull, true},
        {"cstr", 1, fnCStr, true},        {"cdbl", 1, fnCDbl, true},
        {"clng", 1, fnCLng, true},        {"cint", 1, fnCLng, true},
        {"like", 2, fnLike, true},        {"like", 3, fnLike, true},
    };
    for (const Fn& f : fns) {
        const int flags = SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
        if (sqlite3_create_function_v2(db, f.name, f.args, flags, nullptr, f.fn, nullptr, nullptr,
                                       nullptr) != SQLITE_OK)
            return false;
    }
    return sqlite3_create_collation_v2(db, "JETTEXT", SQLITE_UTF8, nullptr, collateJetText,
                                       nullptr) == SQLITE_OK;
}

} // namespace JetFunctions
