#include "util/VersionCompare.h"

#include <QStringList>

namespace mainMod {

namespace {

// The part's leading digits without leading zeros; digit strings of any length
// keep their value, so no part overflows.
QString partValue(const QString& part) {
    const QString text = part.trimmed();
    qsizetype end = 0;
    while (end < text.size() && text[end] >= QLatin1Char('0') && text[end] <= QLatin1Char('9'))
        ++end;
    qsizetype start = 0;
    while (start < end && text[start] == QLatin1Char('0'))
        ++start;
    return start == end ? QStringLiteral("0") : text.mid(start, end - start);
}

} // namespace

QString NormalizeVersion(const QString& version) {
    const QStringList parts = version.split(QLatin1Char('.'));
    QStringList four;
    for (int i = 0; i < 4; ++i)
        four << partValue(i < parts.size() ? parts[i] : QString());
    return four.join(QLatin1Char('.'));
}

int CompareVersions(const QString& current, const QString& other) {
    const int order =
        QString::compare(NormalizeVersion(current), NormalizeVersion(other), Qt::CaseSensitive);
    return order == 0 ? 0 : order > 0 ? 1 : 2;
}

} // namespace mainMod
