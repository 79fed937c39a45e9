// Jet's arithmetic, conversions and choices. True is 1, as SQLite's comparisons give it.
#include "core/JetArgs.h"
#include "core/JetCalls.h"
#include "core/JetFunctions.h"
#include "core/JetNumbers.h"

#include <sqlite3.h>

#include <cmath>
#include <limits>

namespace JetCalls {

using namespace JetArgs;

namespace {

// A condition: Null is false; numbers and numeric text are true unless 0;
// "True"/"False" are themselves.
bool truth(sqlite3_context* ctx, sqlite3_value* v, bool& out) {
    if (JetArgs::isNull(v)) {
        out = false;
        return true;
    }
    if (!isNumber(v)) {
        const QString t = text(v).trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
            t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
            out = t.size() == 4;
            return true;
        }
    }
    double x = 0;
    if (!number(ctx, v, x)) return false;
    out = x != 0;
    return true;
}

// A whole number within [low, high], as CByte, CInt and CLng give it.
void wholeIn(sqlite3_context* ctx, sqlite3_value** argv, qint64 low, qint64 high) {
    qint64 n = 0;
    if (nullIn(ctx, 1, argv) || !whole(ctx, argv[0], n)) return;
    if (n < low || n > high) return fail(ctx, "Overflow");
    sqlite3_result_int64(ctx, n);
}

// The two whole operands of "\" and Mod (Jet rounds them first, halves to even).
bool operands(sqlite3_context* ctx, sqlite3_value** argv, qint64& a, qint64& b) {
    if (nullIn(ctx, 2, argv) || !whole(ctx, argv[0], a) || !whole(ctx, argv[1], b)) return false;
    if (b != 0) return true;
    fail(ctx, "Division by zero");
    return false;
}

template <typename F> void unary(sqlite3_context* ctx, sqlite3_value** argv, F f) {
    double x = 0;
    if (nullIn(ctx, 1, argv) || !number(ctx, argv[0], x)) return;
    f(x);
}

} // namespace

void abs(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) { setNumber(ctx, std::fabs(x)); });
}

void cbool(sqlite3_context* ctx, int, sqlite3_value** argv) {
    bool b = false;
    if (!nullIn(ctx, 1, argv) && truth(ctx, argv[0], b)) sqlite3_result_int(ctx, b ? 1 : 0);
}

void cbyte(sqlite3_context* ctx, int, sqlite3_value** argv) {
    wholeIn(ctx, argv, 0, 255);
}

void cint(sqlite3_context* ctx, int, sqlite3_value** argv) {
    wholeIn(ctx, argv, -32768, 32767);
}

void clng(sqlite3_context* ctx, int, sqlite3_value** argv) {
    wholeIn(ctx, argv, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
}

void ccur(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) { setNumber(ctx, JetNumbers::round(x, 4)); });
}

void cdbl(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) { sqlite3_result_double(ctx, x); });
}

// Single precision keeps 7 significant digits.
void csng(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) {
        if (std::fabs(x) > std::numeric_limits<float>::max()) return fail(ctx, "Overflow");
        setNumber(ctx, QString::number(x, 'g', 7).toDouble());
    });
}

void cstr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (!nullIn(ctx, 1, argv)) setText(ctx, text(argv[0]));
}

// Choose(index, first, second...): Null when the index names no choice.
void choose(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    qint64 i = 0;
    if (nullIn(ctx, 1, argv) || !whole(ctx, argv[0], i)) return;
    if (i < 1 || i >= argc) return sqlite3_result_null(ctx);
    sqlite3_result_value(ctx, argv[i]);
}

void exp(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) {
        const double r = std::exp(x);
        if (!std::isfinite(r)) return fail(ctx, "Overflow");
        sqlite3_result_double(ctx, r);
    });
}

void fix(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) { setNumber(ctx, std::trunc(x)); });
}

void intPart(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) { setNumber(ctx, std::floor(x)); });
}

void iif(sqlite3_context* ctx, int, sqlite3_value** argv) {
    bool b = false;
    if (truth(ctx, argv[0], b)) sqlite3_result_value(ctx, argv[b ? 1 : 2]);
}

// a \ b: whole operands, the quotient truncated.
void intDiv(sqlite3_context* ctx, int, sqlite3_value** argv) {
    qint64 a = 0, b = 0;
    if (operands(ctx, argv, a, b)) sqlite3_result_int64(ctx, a / b);
}

// a Mod b: whole operands; the remainder has the sign of a.
void mod(sqlite3_context* ctx, int, sqlite3_value** argv) {
    qint64 a = 0, b = 0;
    if (operands(ctx, argv, a, b)) sqlite3_result_int64(ctx, a % b);
}

void isNull(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_int(ctx, JetArgs::isNull(argv[0]) ? 1 : 0);
}

void isNumeric(sqlite3_context* ctx, int, sqlite3_value** argv) {
    double x = 0;
    const bool yes =
        isNumber(argv[0]) || (!JetArgs::isNull(argv[0]) && JetNumbers::parse(text(argv[0]), x));
    sqlite3_result_int(ctx, yes ? 1 : 0);
}

void log(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) {
        if (x <= 0) return fail(ctx, "Invalid procedure call");
        sqlite3_result_double(ctx, std::log(x));
    });
}

// a ^ b.
void power(sqlite3_context* ctx, int, sqlite3_value** argv) {
    double a = 0, b = 0;
    if (nullIn(ctx, 2, argv) || !number(ctx, argv[0], a) || !number(ctx, argv[1], b)) return;
    if (a < 0 && b != std::trunc(b)) return fail(ctx, "Invalid procedure call");
    const double r = std::pow(a, b);
    if (!std::isfinite(r)) return fail(ctx, a == 0 ? "Division by zero" : "Overflow");
    setNumber(ctx, r);
}

// Round(x [, decimals]): halves go to the even neighbour.
void round(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    double x = 0;
    qint64 decimals = 0;
    if (nullIn(ctx, 1, argv) || !number(ctx, argv[0], x)) return;
    if (argc >= 2 && !JetArgs::isNull(argv[1]) && !whole(ctx, argv[1], decimals)) return;
    if (decimals < 0 || decimals > 22) return fail(ctx, "Invalid procedure call");
    const double r = JetNumbers::round(x, static_cast<int>(decimals));
    if (decimals == 0)
        setNumber(ctx, r);
    else
        sqlite3_result_double(ctx, r);
}

void sgn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) { sqlite3_result_int(ctx, x > 0 ? 1 : x < 0 ? -1 : 0); });
}

void sqr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) {
        if (x < 0) return fail(ctx, "Invalid procedure call");
        setNumber(ctx, std::sqrt(x));
    });
}

// Switch(condition1, value1, condition2, value2...): the value of the first
// true condition; Null when none is.
void switchOf(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc % 2 != 0) return fail(ctx, "Invalid procedure call");
    for (int i = 0; i < argc; i += 2) {
        bool b = false;
        if (!truth(ctx, argv[i], b)) return;
        if (b) return sqlite3_result_value(ctx, argv[i + 1]);
    }
    sqlite3_result_null(ctx);
}

void val(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullIn(ctx, 1, argv)) return;
    if (isNumber(argv[0])) return sqlite3_result_value(ctx, argv[0]);
    sqlite3_result_double(ctx, JetFunctions::val(utf8(argv[0])));
}

} // namespace JetCalls
