#pragma once
// The editor's checks of its value boxes, run when a box loses the focus. An
// empty box always passes; a passing box may be rewritten in a tidier form.
#include <QLocale>
#include <QString>

namespace filters {

enum class CheckFailure {
    None,
    Value,           // language text 161 alone
    SizeSingleShape, // a "-" in a single size: 161 + " (163=####)"
    SizeRangeShape,  // no "-" in a size range: 161 + " (163=####-####)"
    SizeLimit,       // any other size failure: 161 + " (max value(s)=1023)."
};

struct ValueCheck {
    CheckFailure failure = CheckFailure::None;
    QString text; // the box's text after the check
    bool ok() const { return failure == CheckFailure::None; }
};

// Bit rate and day boxes: a number above 0, written in the shortest form.
ValueCheck CheckPositiveNumber(const QString& text);
// Duration box: a time of day h:m or h:m:s above zero, written "hh:mm:ss".
ValueCheck CheckDuration(const QString& text);
// Year box: a non-zero number, or two of them joined by one "-", rising.
ValueCheck CheckYear(const QString& text);
// Size box: one value 1..1023, or for "between" two rising values joined by one "-".
ValueCheck CheckSize(const QString& text, bool between, const QLocale& locale = QLocale());

// The prompt of a failed check, from language texts 161 and 163.
QString CheckPrompt(CheckFailure failure, const QString& text161, const QString& text163);

} // namespace filters
