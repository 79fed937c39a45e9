#pragma once
// Jet's Format(): named formats ("Short Date", "Currency", "Yes/No"...), date
// patterns ("dd-mmm-yyyy hh:nn AM/PM") and number patterns ("#,##0.00;(0.00)"),
// in US English as the program's Jet runs. A pattern is a date pattern when it
// holds a date or time letter (d m y h n s w q c, ttttt, AM/PM) outside quotes.
#include <QString>
#include <QStringView>

#include <optional>

namespace JetFormat {

// What Format() is given: Null, a number (dates are OLE day numbers) or text.
struct Value {
    enum class Kind { Null, Number, Text };
    Kind kind = Kind::Null;
    double number = 0;
    QString text;
};

// Format(value, pattern); nullopt for Null (unless a number pattern has a
// fourth section, which is the text for Null). Text that is no number (or no
// date, for a date pattern) comes back as it is.
std::optional<QString> format(const Value& value, QStringView pattern, int firstDayOfWeek = 1,
                              int firstWeekOfYear = 1);

// A date (OLE days) with a date pattern.
QString date(double days, QStringView pattern, int firstDayOfWeek = 1, int firstWeekOfYear = 1);
// A number with a number pattern: 0 and # digits, ".", "," (thousands, or
// scaling by 1000 before the point), %, E+/E-, literal text, and up to four
// sections "positive;negative;zero;null".
QString number(double x, QStringView pattern);

} // namespace JetFormat
