#include "core/OleDate.h"

#include <cmath>

namespace OleDate {

namespace {

// Days from 1970-01-01 of a civil date (proleptic Gregorian), after H. Hinnant.
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

// Day number of 1970-01-01 in OLE days.
constexpr long long kUnixEpochOle = 25569;

} // namespace

double fromDate(int year, int month, int day) {
    return static_cast<double>(
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
        kUnixEpochOle);
}

double fromDateTime(const QDateTime& dt) {
    if (!dt.isValid()) return 0;
    const QDateTime local = dt.toLocalTime();
    const QDate d = local.date();
    const double day = fromDate(d.year(), d.month(), d.day());
    return day + local.time().msecsSinceStartOfDay() / 86400000.0;
}

Civil toCivil(double days) {
    Civil c;
    double whole = std::floor(days);
    // Round to the millisecond so that 0.999999 of a day does not show 23:59:59.999.
    long long ms = std::llround((days - whole) * 86400000.0);
    if (ms >= 86400000) {
        whole += 1;
        ms -= 86400000;
    }
    const long long z = static_cast<long long>(whole) - kUnixEpochOle;
    civilFromDays(z, c.year, c.month, c.day);
    const long long secs = ms / 1000;
    c.hour = static_cast<int>(secs / 3600);
    c.minute = static_cast<int>(secs / 60 % 60);
    c.second = static_cast<int>(secs % 60);
    const long long wd = ((z % 7) + 7 + 3) % 7; // 1970-01-01 was a Thursday (index 3)
    c.dayOfWeek = static_cast<int>(wd) + 1;
    return c;
}

QDateTime toDateTime(double days) {
    if (days == 0 || !std::isfinite(days)) return {};
    const double whole = std::floor(days);
    long long ms = std::llround((days - whole) * 86400000.0);
    const Civil c = toCivil(whole);
    QDateTime dt(QDate(c.year, c.month, c.day), QTime(0, 0));
    return dt.addMSecs(ms);
}

double now() {
    return fromDateTime(QDateTime::currentDateTime());
}

double fromUnix(std::time_t seconds, long nanoseconds) {
    std::tm tm{};
    localtime_r(&seconds, &tm);
    const double day = fromDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    const double secs = tm.tm_hour * 3600.0 + tm.tm_min * 60.0 + tm.tm_sec + nanoseconds / 1e9;
    return day + secs / 86400.0;
}

} // namespace OleDate
