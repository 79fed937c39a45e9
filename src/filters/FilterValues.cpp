#include "filters/FilterValues.h"

#include "core/JetFunctions.h"
#include "core/JetNumbers.h"

#include <QStringList>

#include <cfenv>
#include <cmath>
#include <limits>

namespace filters {

std::optional<qint32> RoundToInt32(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    // nearbyint follows the current rounding mode: to nearest, halves to even.
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    if (r < std::numeric_limits<qint32>::min() || r > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(r);
}

QString YearNumber(const QString& text) {
    return JetNumbers::text(JetFunctions::val(text.toUtf8()));
}

QString AlignDecimalSeparator(const QString& text, const QLocale& locale) {
    QString s = text;
    if (locale.toString(0.5).contains(QLatin1Char('.')))
        s.replace(QLatin1Char(','), QLatin1Char('.'));
    else
        s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

qint32 SizeBytes(const QString& text, int unit, const QLocale& locale) {
    bool ok = false;
    const float single = locale.toFloat(AlignDecimalSeparator(text, locale).trimmed(), &ok);
    if (!ok) return 0;
    const double bytes = static_cast<double>(single) * std::pow(1024.0, unit);
    return RoundToInt32(bytes).value_or(0);
}

qint64 DurationSeconds(const QString& text) {
    const QStringList pieces = text.split(QLatin1Char(':'));
    if (pieces.size() > 3) return 0;
    qint64 total = 0;
    for (const QString& piece : pieces) {
        const std::optional<qint32> n = RoundToInt32(JetFunctions::val(piece.toUtf8()));
        if (!n) return 0;
        total = total * 60 + *n;
    }
    return total;
}

std::optional<qint64> WholeDays(const QString& text) {
    double v = 0;
    if (!JetNumbers::parse(text, v)) return std::nullopt;
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(v);
    if (!std::isfinite(r) || std::fabs(r) > 1e15) return std::nullopt;
    return static_cast<qint64>(r);
}

} // namespace filters
