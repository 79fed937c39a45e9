#include "core/Formatting.h"

#include <QLocale>
#include <QTime>
#include <cmath>

namespace mainMod {

QString SqlQuote(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\''), QLatin1String("''"));
    return out;
}

QString QuoteText(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QString CutAtNul(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QString FormatDuration(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
    const qint64 whole = static_cast<qint64>(std::floor(seconds)) % 86400;
    return QTime(0, 0).addSecs(static_cast<int>(whole)).toString(QStringLiteral("HH:mm:ss"));
}

QString FormatDuration(const QString& seconds) {
    bool ok = false;
    const double value = seconds.trimmed().toDouble(&ok);
    return FormatDuration(ok ? value : 0.0);
}

QString FormatSize(double bytes, bool frenchUnits) {
    if (!std::isfinite(bytes) || bytes < 0) bytes = 0;
    int unit = 0;
    // The value is a fixed-point amount with four decimals, as the original
    // arithmetic kept it; each division rounds to that precision.
    while (bytes >= 1024) {
        bytes = std::round(bytes / 1024.0 * 10000.0) / 10000.0;
        ++unit;
    }
    QString text = QLocale().toString(bytes, 'f', 2);
    if (unit == 0) {
        text.chop(3);
        return text + (frenchUnits ? QStringLiteral(" octets") : QStringLiteral(" bytes"));
    }
    if (text.endsWith(QLatin1String("00")))
        text.chop(3);
    else if (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    static const QString letters = QStringLiteral("KMGT");
    const QString letter = unit <= letters.size() ? QString(letters.at(unit - 1)) : QString();
    return text + QLatin1Char(' ') + letter + (frenchUnits ? QLatin1Char('o') : QLatin1Char('B'));
}

QString FormatBitrate(double bitsPerSecond) {
    if (!std::isfinite(bitsPerSecond) || bitsPerSecond < 0) bitsPerSecond = 0;
    return QLocale().toString(bitsPerSecond / 1000.0, 'f', 0) + QStringLiteral(" Kbps");
}

QString FormatFrequency(double hertz) {
    if (!std::isfinite(hertz) || hertz < 0) hertz = 0;
    int unit = 0;
    while (hertz >= 1000) {
        hertz /= 1000.0;
        ++unit;
    }
    static const QString letters = QStringLiteral("KMG");
    QString text = QLocale().toString(hertz, 'f', 2) + QLatin1Char(' ');
    if (unit >= 1 && unit <= letters.size()) text += letters.at(unit - 1);
    return text + QStringLiteral("Hz");
}

} // namespace mainMod
