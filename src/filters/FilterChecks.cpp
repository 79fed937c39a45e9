#include "filters/FilterChecks.h"

#include "core/JetNumbers.h"
#include "filters/FilterValues.h"

#include <QRegularExpression>
#include <QStringList>
#include <QTime>

namespace filters {

namespace {

ValueCheck passed(const QString& text) {
    return {CheckFailure::None, text};
}
ValueCheck failed(CheckFailure why, const QString& text) {
    return {why, text};
}

bool nonZeroNumber(const QString& text, double& out) {
    return JetNumbers::parse(text, out) && out != 0;
}

} // namespace

ValueCheck CheckPositiveNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return passed(text);
    double v = 0;
    if (!JetNumbers::parse(t, v) || v <= 0) return failed(CheckFailure::Value, text);
    return passed(JetNumbers::text(v));
}

ValueCheck CheckDuration(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return passed(text);
    // Read as a time of day, the way a date conversion reads "1:30" (hours and minutes).
    static const QRegularExpression shape(
        QStringLiteral("^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?$"));
    const QRegularExpressionMatch m = shape.match(t);
    if (!m.hasMatch()) return failed(CheckFailure::Value, text);
    const QTime time(m.captured(1).toInt(), m.captured(2).toInt(),
                     m.captured(3).isEmpty() ? 0 : m.captured(3).toInt());
    if (!time.isValid() || time.msecsSinceStartOfDay() == 0)
        return failed(CheckFailure::Value, text);
    return passed(time.toString(QStringLiteral("hh:mm:ss")));
}

ValueCheck CheckYear(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return passed(text);
    const QStringList pieces = t.split(QLatin1Char('-'));
    double a = 0, b = 0;
    const bool ok = pieces.size() == 1 ? nonZeroNumber(pieces[0], a)
                    : pieces.size() == 2
                        ? nonZeroNumber(pieces[0], a) && nonZeroNumber(pieces[1], b) && b > a
                        : false;
    return ok ? passed(text) : failed(CheckFailure::Value, text);
}

ValueCheck CheckSize(const QString& text, bool between, const QLocale& locale) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return passed(text);
    const QStringList pieces = AlignDecimalSeparator(t, locale).split(QLatin1Char('-'));
    if (!between && pieces.size() > 1) return failed(CheckFailure::SizeSingleShape, text);
    if (between && pieces.size() < 2) return failed(CheckFailure::SizeRangeShape, text);
    if (pieces.size() > 2) return failed(CheckFailure::SizeLimit, text);
    double values[2] = {0, 0};
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        bool ok = false;
        values[i] = locale.toDouble(pieces[i].trimmed(), &ok);
        if (!ok || values[i] == 0 || values[i] > 1023) return failed(CheckFailure::SizeLimit, text);
    }
    if (between && values[1] <= values[0]) return failed(CheckFailure::SizeLimit, text);
    return passed(text);
}

QString CheckPrompt(CheckFailure failure, const QString& text161, const QString& text163) {
    switch (failure) {
    case CheckFailure::SizeSingleShape:
        return text161 + QStringLiteral(" (") + text163 + QStringLiteral("=####)");
    case CheckFailure::SizeRangeShape:
        return text161 + QStringLiteral(" (") + text163 + QStringLiteral("=####-####)");
    case CheckFailure::SizeLimit:
        return text161 + QStringLiteral(" (max value(s)=1023).");
    default:
        return text161;
    }
}

} // namespace filters
