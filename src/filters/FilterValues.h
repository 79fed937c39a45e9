#pragma once
// How the grid's value boxes are read into numbers for the statement.
#include <QLocale>
#include <QString>

#include <optional>

namespace filters {

// Leading-number parse of a year text, written back in the shortest form.
QString YearNumber(const QString& text);

// Bytes of a size text in a unit (0 bytes .. 3 GB): the decimal separator
// follows the locale, the value is read as single precision, scaled and
// rounded half to even. 0 when unreadable or beyond a 32-bit signed integer.
qint32 SizeBytes(const QString& text, int unit, const QLocale& locale = QLocale());

// The size text with its decimal separator aligned with the locale.
QString AlignDecimalSeparator(const QString& text, const QLocale& locale);

// Seconds of "s", "m:s" or "h:m:s"; each piece rounded; 0 for other shapes.
qint64 DurationSeconds(const QString& text);

// The whole number of days of a "last n days" box; nothing when the text is
// not numeric.
std::optional<qint64> WholeDays(const QString& text);

// Rounds half to even and fits a 32-bit signed integer; nothing when it does not.
std::optional<qint32> RoundToInt32(double value);

} // namespace filters
