#pragma once
// Dates as the library stores them: days since 1899-12-30 as a double, the
// fraction being the time of day (local time, no zone), as Jet and OLE do.
#include <QDateTime>
#include <ctime>

namespace OleDate {

// 1899-12-30 00:00 is 0; an invalid QDateTime gives 0.
double fromDateTime(const QDateTime& dt);
// 0 gives an invalid QDateTime ("never").
QDateTime toDateTime(double days);
double fromDate(int year, int month, int day);
// The current local date and time.
double now();
// A file time (seconds since the Unix epoch plus nanoseconds) in local time.
double fromUnix(std::time_t seconds, long nanoseconds = 0);

// Civil calendar of a day number (whole part only).
struct Civil {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
    int dayOfWeek = 7; // 1 = Monday ... 7 = Sunday
};
Civil toCivil(double days);

} // namespace OleDate
