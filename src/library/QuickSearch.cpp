#include "library/QuickSearch.h"

#include "core/Formatting.h"
#include "core/Settings.h"

#include <cmath>
#include <limits>

namespace QuickSearch {

bool IsLongEnough(const QString& text) {
    return text.trimmed().size() >= MinimumLength;
}

QString ListQuery(const QString& text) {
    return QLatin1Char('?') + text.trimmed();
}

QString Sql(const QString& term) {
    const QString quoted = mainMod::SqlQuote(term);
    QString pattern = quoted;
    pattern.replace(QLatin1Char(' '), QLatin1Char('%'));
    const QString like = QStringLiteral("like '%") + pattern + QStringLiteral("%'");
    // NumberOr with a NaN default tells whether the text is a number.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const bool numeric = !std::isnan(mainMod::NumberOr(quoted, nan));
    QString sql = QStringLiteral("select * from files where filename ") + like +
                  QStringLiteral(" or md_artist ") + like + QStringLiteral(" or md_album ") + like +
                  QStringLiteral(" or ");
    if (numeric) sql += QStringLiteral("md_year='") + quoted + QStringLiteral("' or ");
    sql += QStringLiteral("md_title ") + like + QStringLiteral(" or md_genredesc ") + like;
    return sql;
}

} // namespace QuickSearch
