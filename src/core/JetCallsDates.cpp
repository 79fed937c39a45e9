// Jet's date functions; dates are OLE day numbers.
#include "core/JetArgs.h"
#include "core/JetCalls.h"
#include "core/JetDates.h"
#include "core/OleDate.h"

#include <QDateTime>

#include <sqlite3.h>

#include <cmath>

namespace JetCalls {

using namespace JetArgs;

namespace {

template <typename F> void ofDate(sqlite3_context* ctx, sqlite3_value** argv, F f) {
    double d = 0;
    if (nullIn(ctx, 1, argv) || !JetArgs::date(ctx, argv[0], d)) return;
    f(d);
}

bool intervalArg(sqlite3_context* ctx, sqlite3_value* v, JetDates::Interval& out) {
    if (JetDates::interval(text(v).trimmed(), out)) return true;
    fail(ctx, "Invalid procedure call");
    return false;
}

// An optional whole argument (firstdayofweek, firstweekofyear...); Null or absent gives `fallback`.
bool option(sqlite3_context* ctx, int argc, sqlite3_value** argv, int i, qint64 fallback,
            qint64 low, qint64 high, qint64& out) {
    out = fallback;
    if (i >= argc || JetArgs::isNull(argv[i])) return true;
    if (!whole(ctx, argv[i], out)) return false;
    if (out >= low && out <= high) return true;
    fail(ctx, "Invalid procedure call");
    return false;
}

void civil(sqlite3_context* ctx, sqlite3_value** argv, int OleDate::Civil::*field) {
    ofDate(ctx, argv, [&](double d) { sqlite3_result_int(ctx, OleDate::toCivil(d).*field); });
}

} // namespace

void cdate(sqlite3_context* ctx, int, sqlite3_value** argv) {
    ofDate(ctx, argv, [&](double d) { sqlite3_result_double(ctx, d); });
}

void dateValue(sqlite3_context* ctx, int, sqlite3_value** argv) {
    ofDate(ctx, argv, [&](double d) { sqlite3_result_double(ctx, std::floor(d)); });
}

void timeValue(sqlite3_context* ctx, int, sqlite3_value** argv) {
    ofDate(ctx, argv, [&](double d) { sqlite3_result_double(ctx, d - std::floor(d)); });
}

void now(sqlite3_context* ctx, int, sqlite3_value**) {
    // Jet's Now has whole seconds.
    const QDateTime t = QDateTime::currentDateTime();
    sqlite3_result_double(ctx, OleDate::fromDateTime(t.addMSecs(-t.time().msec())));
}

void date(sqlite3_context* ctx, int, sqlite3_value**) {
    const QDate d = QDate::currentDate();
    sqlite3_result_double(ctx, OleDate::fromDate(d.year(), d.month(), d.day()));
}

void time(sqlite3_context* ctx, int, sqlite3_value**) {
    const QTime t = QTime::currentTime();
    sqlite3_result_double(ctx, (t.msecsSinceStartOfDay() / 1000) / 86400.0);
}

void year(sqlite3_context* ctx, int, sqlite3_value** argv) {
    civil(ctx, argv, &OleDate::Civil::year);
}

void month(sqlite3_context* ctx, int, sqlite3_value** argv) {
    civil(ctx, argv, &OleDate::Civil::month);
}

void day(sqlite3_context* ctx, int, sqlite3_value** argv) {
    civil(ctx, argv, &OleDate::Civil::day);
}

void hour(sqlite3_context* ctx, int, sqlite3_value** argv) {
    civil(ctx, argv, &OleDate::Civil::hour);
}

void minute(sqlite3_context* ctx, int, sqlite3_value** argv) {
    civil(ctx, argv, &OleDate::Civil::minute);
}

void second(sqlite3_context* ctx, int, sqlite3_value** argv) {
    civil(ctx, argv, &OleDate::Civil::second);
}

// Weekday(date [, firstdayofweek]).
void weekday(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    qint64 first = 1;
    if (!option(ctx, argc, argv, 1, 1, 0, 7, first)) return;
    ofDate(ctx, argv, [&](double d) {
        sqlite3_result_int(ctx, JetDates::weekday(d, static_cast<int>(first)));
    });
}

// DateAdd(interval, number, date).
void dateAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
    JetDates::Interval i;
    double n = 0, d = 0, out = 0;
    if (nullIn(ctx, 3, argv) || !intervalArg(ctx, argv[0], i) || !number(ctx, argv[1], n) ||
        !JetArgs::date(ctx, argv[2], d))
        return;
    if (!JetDates::add(i, n, d, out)) return fail(ctx, "Invalid procedure call");
    sqlite3_result_double(ctx, out);
}

// DateDiff(interval, date1, date2 [, firstdayofweek [, firstweekofyear]]).
void dateDiff(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    JetDates::Interval i;
    double a = 0, b = 0;
    qint64 first = 1, week = 1;
    if (nullIn(ctx, 3, argv) || !intervalArg(ctx, argv[0], i) || !JetArgs::date(ctx, argv[1], a) ||
        !JetArgs::date(ctx, argv[2], b) || !option(ctx, argc, argv, 3, 1, 0, 7, first) ||
        !option(ctx, argc, argv, 4, 1, 0, 3, week))
        return;
    sqlite3_result_int64(ctx, JetDates::diff(i, a, b, static_cast<int>(first)));
}

// DatePart(interval, date [, firstdayofweek [, firstweekofyear]]).
void datePart(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    JetDates::Interval i;
    double d = 0;
    qint64 first = 1, week = 1;
    if (nullIn(ctx, 2, argv) || !intervalArg(ctx, argv[0], i) || !JetArgs::date(ctx, argv[1], d) ||
        !option(ctx, argc, argv, 2, 1, 0, 7, first) || !option(ctx, argc, argv, 3, 1, 0, 3, week))
        return;
    sqlite3_result_int(ctx, JetDates::part(i, d, static_cast<int>(first), static_cast<int>(week)));
}

// DateSerial(year, month, day).
void dateSerial(sqlite3_context* ctx, int, sqlite3_value** argv) {
    qint64 y = 0, m = 0, d = 0;
    double out = 0;
    if (nullIn(ctx, 3, argv) || !whole(ctx, argv[0], y) || !whole(ctx, argv[1], m) ||
        !whole(ctx, argv[2], d))
        return;
    if (std::llabs(y) > 100000 || std::llabs(m) > 1200000 || std::llabs(d) > 36500000 ||
        !JetDates::serial(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d), out))
        return fail(ctx, "Invalid procedure call");
    sqlite3_result_double(ctx, out);
}

// TimeSerial(hour, minute, second): values out of range carry over.
void timeSerial(sqlite3_context* ctx, int, sqlite3_value** argv) {
    qint64 h = 0, m = 0, s = 0;
    if (nullIn(ctx, 3, argv) || !whole(ctx, argv[0], h) || !whole(ctx, argv[1], m) ||
        !whole(ctx, argv[2], s))
        return;
    sqlite3_result_double(ctx, static_cast<double>(h * 3600 + m * 60 + s) / 86400.0);
}

// MonthName(month [, abbreviate]).
void monthName(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    qint64 m = 0, abbreviate = 0;
    if (nullIn(ctx, 1, argv) || !whole(ctx, argv[0], m) ||
        !option(ctx, argc, argv, 1, 0, -1, 1, abbreviate))
        return;
    if (m < 1 || m > 12) return fail(ctx, "Invalid procedure call");
    setText(ctx, JetDates::monthName(static_cast<int>(m), abbreviate != 0));
}

// WeekdayName(weekday [, abbreviate [, firstdayofweek]]).
void weekdayName(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    qint64 w = 0, abbreviate = 0, first = 1;
    if (nullIn(ctx, 1, argv) || !whole(ctx, argv[0], w) ||
        !option(ctx, argc, argv, 1, 0, -1, 1, abbreviate) ||
        !option(ctx, argc, argv, 2, 1, 0, 7, first))
        return;
    if (w < 1 || w > 7) return fail(ctx, "Invalid procedure call");
    const int sundayBased = static_cast<int>((w - 1 + (first == 0 ? 1 : first) - 1) % 7) + 1;
    setText(ctx, JetDates::weekdayName(sundayBased, abbreviate != 0));
}

} // namespace JetCalls
