#pragma once
// Jet's date rules, as the program's Jet runs them: US English names and the
// month-first order. Dates are OLE day numbers (see OleDate): reading date texts
// and #literals#, weekdays and weeks, and the intervals of DateAdd, DateDiff and
// DatePart.
#include <QString>
#include <QStringView>

namespace JetDates {

// A date, a time, or both: "2024-03-02", "3/2/2024" (month first; a first number
// above 12 is the day), "Mar 2, 2024", "2 March 2024", "2-Mar-24", each with an
// optional time ("13:45", "1:30:05 PM", "1 PM"), or a time alone. Years 00-29
// are 2000-2029, 30-99 are 1930-1999. False when the text is no date.
bool parse(QStringView text, double& days);

// The day of the week, 1 for firstDayOfWeek: 1 = Sunday ... 7 = Saturday; 0 is
// the system's, Sunday.
int weekday(double days, int firstDayOfWeek = 1);
// The week of the year; firstWeekOfYear 1 (or 0): the week of January 1; 2: the
// first week with four days of the year; 3: the first full week.
int weekOfYear(double days, int firstDayOfWeek = 1, int firstWeekOfYear = 1);
int dayOfYear(double days);

enum class Interval { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second };
// "yyyy", "q", "m", "y", "d", "w", "ww", "h", "n", "s", in any letter case.
bool interval(QStringView text, Interval& out);

// DateAdd (the number is rounded to a whole one first); a month end is kept
// within the month (Jan 31 + 1 month = Feb 28/29). False outside the years 100-9999.
bool add(Interval i, double number, double date, double& out);
// DateDiff: how many interval boundaries lie from date1 to date2 ("w": whole
// weeks; "ww": firstDayOfWeek days).
qint64 diff(Interval i, double date1, double date2, int firstDayOfWeek = 1);
// DatePart.
int part(Interval i, double date, int firstDayOfWeek = 1, int firstWeekOfYear = 1);
// DateSerial: months and days out of range carry over; years 0-99 as in parse().
// False outside the years 100-9999.
bool serial(int year, int month, int day, double& out);

// "March" / "Mar"; weekday 1 = Sunday.
QString monthName(int month, bool abbreviate);
QString weekdayName(int weekday, bool abbreviate);

} // namespace JetDates
