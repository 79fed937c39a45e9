#include "core/JetDates.h"

#include "core/OleDate.h"

#include <QDate>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace JetDates {

namespace {

const char* const kMonths[] = {"January",   "February", "March",    "April",
                               "May",       "June",     "July",     "August",
                               "September", "October",  "November", "December"};
const char* const kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                             "Thursday", "Friday", "Saturday"};

long long floorDiv(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

long long dayOf(double days) {
    return static_cast<long long>(std::floor(days));
}

bool validYear(int y) {
    return y >= 100 && y <= 9999;
}

int fullYear(int y, qsizetype digits) {
    if (digits > 2) return y;
    return y + (y < 30 ? 2000 : 1900);
}

// A month by its English name or its first three letters ("Sept" too).
int monthOf(QStringView name) {
    if (name.size() < 3) return 0;
    for (int m = 0; m < 12; ++m) {
        const QLatin1String full(kMonths[m]);
        if (name.compare(full, Qt::CaseInsensitive) == 0 ||
            (name.size() == 3 && full.first(3).compare(name, Qt::CaseInsensitive) == 0))
            return m + 1;
    }
    return name.compare(QLatin1String("sept"), Qt::CaseInsensitive) == 0 ? 9 : 0;
}

// "13:45", "1:30:05 PM", "1 pm" as a fraction of a day.
bool parseTime(QStringView text, double& fraction) {
    static const QRegularExpression clock(
        QStringLiteral("^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*(?:([AaPp])\\.?[Mm]?\\.?)?$"));
    static const QRegularExpression hourOnly(
        QStringLiteral("^(\\d{1,2})\\s*([AaPp])\\.?[Mm]\\.?$"));
    const QString s = text.trimmed().toString();
    int h = 0, m = 0, sec = 0;
    QString ampm;
    QRegularExpressionMatch match = clock.match(s);
    if (match.hasMatch()) {
        h = match.captured(1).toInt();
        m = match.captured(2).toInt();
        sec = match.captured(3).toInt();
        ampm = match.captured(4);
    } else if ((match = hourOnly.match(s)).hasMatch()) {
        h = match.captured(1).toInt();
        ampm = match.captured(2);
    } else {
        return false;
    }
    if (!ampm.isEmpty()) {
        if (h > 12) return false;
        h = h % 12 + (ampm.compare(QLatin1String("p"), Qt::CaseInsensitive) == 0 ? 12 : 0);
    }
    if (h > 23 || m > 59 || sec > 59) return false;
    fraction = (h * 3600 + m * 60 + sec) / 86400.0;
    return true;
}

} // namespace

bool parse(QStringView text, double& days) {
    static const QRegularExpression iso(
        QStringLiteral("^\\s*(\\d{4})([-/.])(\\d{1,2})\\2(\\d{1,2})(?!\\d)"));
    static const QRegularExpression us(
        QStringLiteral("^\\s*(\\d{1,2})([-/.])(\\d{1,2})\\2(\\d{4}|\\d{2})(?!\\d)"));
    static const QRegularExpression monthFirst(
        QStringLiteral("^\\s*([A-Za-z]{3,9})\\.?[\\s-]+(\\d{1,2})(?:st|nd|rd|th)?,?[\\s-]+(\\d{4}|"
                       "\\d{2})(?!\\d)"));
    static const QRegularExpression dayFirst(
        QStringLiteral("^\\s*(\\d{1,2})[\\s-]+([A-Za-z]{3,9})\\.?,?[\\s-]+(\\d{4}|\\d{2})(?!\\d)"));
    const QString s = text.toString();
    int y = 0, m = 0, d = 0;
    qsizetype end = -1;
    QRegularExpressionMatch match;
    if ((match = iso.match(s)).hasMatch()) {
        y = match.captured(1).toInt();
        m = match.captured(3).toInt();
        d = match.captured(4).toInt();
    } else if ((match = us.match(s)).hasMatch()) {
        m = match.captured(1).toInt();
        d = match.captured(3).toInt();
        y = fullYear(match.captured(4).toInt(), match.capturedLength(4));
        if (m > 12 && d <= 12) std::swap(m, d);
    } else if ((match = monthFirst.match(s)).hasMatch()) {
        m = monthOf(match.capturedView(1));
        d = match.captured(2).toInt();
        y = fullYear(match.captured(3).toInt(), match.capturedLength(3));
    } else if ((match = dayFirst.match(s)).hasMatch()) {
        d = match.captured(1).toInt();
        m = monthOf(match.capturedView(2));
        y = fullYear(match.captured(3).toInt(), match.capturedLength(3));
    } else {
        double t = 0;
        if (!parseTime(text, t)) return false;
        days = t;
        return true;
    }
    end = match.capturedEnd(0);
    if (m == 0 || !validYear(y) || !QDate::isValid(y, m, d)) return false;
    double t = 0;
    QStringView rest = QStringView(s).mid(end);
    if (!rest.trimmed().isEmpty()) {
        // The time follows after blanks, or after "T" in the ISO form.
        if (rest.startsWith(QLatin1Char('T')) || rest.startsWith(QLatin1Char('t')))
            rest = rest.mid(1);
        else if (!rest.at(0).isSpace())
            return false;
        if (!parseTime(rest, t)) return false;
    }
    days = OleDate::fromDate(y, m, d) + t;
    return true;
}

int weekday(double days, int firstDayOfWeek) {
    const int first = firstDayOfWeek < 1 || firstDayOfWeek > 7 ? 1 : firstDayOfWeek;
    // Day 0 (1899-12-30) was a Saturday, day 1 a Sunday.
    const int sundayBased = static_cast<int>(((dayOf(days) - 1) % 7 + 7) % 7) + 1;
    return (sundayBased - first + 7) % 7 + 1;
}

int dayOfYear(double days) {
    const OleDate::Civil c = OleDate::toCivil(days);
    return static_cast<int>(dayOf(days) - static_cast<long long>(OleDate::fromDate(c.year, 1, 1))) +
           1;
}

int weekOfYear(double days, int firstDayOfWeek, int firstWeekOfYear) {
    const long long day = dayOf(days);
    const int year = OleDate::toCivil(days).year;
    // The first day of week 1 of a year.
    auto weekOneStart = [&](int y) {
        const long long jan1 = static_cast<long long>(OleDate::fromDate(y, 1, 1));
        const int offset = weekday(static_cast<double>(jan1), firstDayOfWeek) - 1;
        switch (firstWeekOfYear) {
        case 2:
            return offset <= 3 ? jan1 - offset : jan1 + 7 - offset;
        case 3:
            return offset == 0 ? jan1 : jan1 + 7 - offset;
        default:
            return jan1 - offset;
        }
    };
    long long start = weekOneStart(year);
    if (day < start) start = weekOneStart(year - 1);
    return static_cast<int>((day - start) / 7) + 1;
}

bool interval(QStringView text, Interval& out) {
    static const struct {
        const char* name;
        Interval interval;
    } names[] = {{"yyyy", Interval::Year},   {"q", Interval::Quarter}, {"m", Interval::Month},
                 {"y", Interval::DayOfYear}, {"d", Interval::Day},     {"w", Interval::Weekday},
                 {"ww", Interval::Week},     {"h", Interval::Hour},    {"n", Interval::Minute},
                 {"s", Interval::Second}};
    for (const auto& n : names) {
        if (text.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0) {
            out = n.interval;
            return true;
        }
    }
    return false;
}

bool add(Interval i, double number, double date, double& out) {
    const long long n = static_cast<long long>(std::nearbyint(number));
    int months = 0;
    switch (i) {
    case Interval::Year:
        months = 12;
        break;
    case Interval::Quarter:
        months = 3;
        break;
    case Interval::Month:
        months = 1;
        break;
    case Interval::DayOfYear:
    case Interval::Day:
    case Interval::Weekday:
        out = date + static_cast<double>(n);
        return validYear(OleDate::toCivil(out).year);
    case Interval::Week:
        out = date + 7.0 * static_cast<double>(n);
        return validYear(OleDate::toCivil(out).year);
    case Interval::Hour:
    case Interval::Minute:
    case Interval::Second: {
        const long long unit = i == Interval::Hour ? 3600 : i == Interval::Minute ? 60 : 1;
        out = static_cast<double>(std::llround(date * 86400.0) + n * unit) / 86400.0;
        return validYear(OleDate::toCivil(out).year);
    }
    }
    const OleDate::Civil c = OleDate::toCivil(date);
    const long long index = c.year * 12LL + (c.month - 1) + n * months;
    const long long y = floorDiv(index, 12);
    const int m = static_cast<int>(index - y * 12) + 1;
    if (!validYear(static_cast<int>(std::clamp<long long>(y, 0, 10000)))) return false;
    const int day = std::min(c.day, QDate(static_cast<int>(y), m, 1).daysInMonth());
    out = OleDate::fromDate(static_cast<int>(y), m, day) + (date - std::floor(date));
    return true;
}

qint64 diff(Interval i, double date1, double date2, int firstDayOfWeek) {
    const OleDate::Civil a = OleDate::toCivil(date1);
    const OleDate::Civil b = OleDate::toCivil(date2);
    const long long seconds1 = std::llround(date1 * 86400.0);
    const long long seconds2 = std::llround(date2 * 86400.0);
    switch (i) {
    case Interval::Year:
        return b.year - a.year;
    case Interval::Quarter:
        return (b.year * 4LL + (b.month - 1) / 3) - (a.year * 4LL + (a.month - 1) / 3);
    case Interval::Month:
        return (b.year * 12LL + b.month) - (a.year * 12LL + a.month);
    case Interval::DayOfYear:
    case Interval::Day:
        return dayOf(date2) - dayOf(date1);
    case Interval::Weekday:
        return (dayOf(date2) - dayOf(date1)) / 7;
    case Interval::Week: {
        // Day n is weekday n (Sunday-based) for n = 1..7.
        const int first = firstDayOfWeek < 1 || firstDayOfWeek > 7 ? 1 : firstDayOfWeek;
        return floorDiv(dayOf(date2) - first, 7) - floorDiv(dayOf(date1) - first, 7);
    }
    case Interval::Hour:
        return floorDiv(seconds2, 3600) - floorDiv(seconds1, 3600);
    case Interval::Minute:
        return floorDiv(seconds2, 60) - floorDiv(seconds1, 60);
    case Interval::Second:
        return seconds2 - seconds1;
    }
    return 0;
}

int part(Interval i, double date, int firstDayOfWeek, int firstWeekOfYear) {
    const OleDate::Civil c = OleDate::toCivil(date);
    switch (i) {
    case Interval::Year:
        return c.year;
    case Interval::Quarter:
        return (c.month - 1) / 3 + 1;
    case Interval::Month:
        return c.month;
    case Interval::DayOfYear:
        return dayOfYear(date);
    case Interval::Day:
        return c.day;
    case Interval::Weekday:
        return weekday(date, firstDayOfWeek);
    case Interval::Week:
        return weekOfYear(date, firstDayOfWeek, firstWeekOfYear);
    case Interval::Hour:
        return c.hour;
    case Interval::Minute:
        return c.minute;
    case Interval::Second:
        return c.second;
    }
    return 0;
}

bool serial(int year, int month, int day, double& out) {
    if (year >= 0 && year < 100) year = fullYear(year, 2);
    const long long index = year * 12LL + (month - 1);
    const long long y = floorDiv(index, 12);
    const int m = static_cast<int>(index - y * 12) + 1;
    if (!validYear(static_cast<int>(std::clamp<long long>(y, 0, 10000)))) return false;
    out = OleDate::fromDate(static_cast<int>(y), m, 1) + (day - 1);
    return validYear(OleDate::toCivil(out).year);
}

QString monthName(int month, bool abbreviate) {
    if (month < 1 || month > 12) return {};
    const QString name = QString::fromLatin1(kMonths[month - 1]);
    return abbreviate ? name.left(3) : name;
}

QString weekdayName(int weekday, bool abbreviate) {
    if (weekday < 1 || weekday > 7) return {};
    const QString name = QString::fromLatin1(kDays[weekday - 1]);
    return abbreviate ? name.left(3) : name;
}

} // namespace JetDates
