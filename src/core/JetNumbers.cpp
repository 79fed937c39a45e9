#include "core/JetNumbers.h"

#include <QByteArray>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace JetNumbers {

namespace {

// A positive number as significant digits d1d2... (no trailing zeros) meaning
// d1.d2... x 10^exp; no digits at all is zero.
struct Digits {
    QByteArray s;
    int exp = 0;
};

Digits decimalOf(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", v);
    Digits d;
    d.s.append(buf[0]);
    d.s.append(buf + 2, 14);
    d.exp = std::atoi(std::strchr(buf, 'e') + 1);
    while (!d.s.isEmpty() && d.s.endsWith('0'))
        d.s.chop(1);
    return d;
}

// Keeps `keep` significant digits and rounds the rest away.
void roundTo(Digits& d, qsizetype keep, Rounding rounding) {
    if (keep >= d.s.size()) return;
    if (keep < 0) {
        d.s.clear();
        return;
    }
    const char next = d.s.at(keep);
    bool restNonZero = false;
    for (qsizetype i = keep + 1; i < d.s.size(); ++i)
        restNonZero = restNonZero || d.s.at(i) != '0';
    const char last = keep > 0 ? d.s.at(keep - 1) : '0';
    const bool up = rounding == Rounding::HalfUp
                        ? next >= '5'
                        : next > '5' || (next == '5' && (restNonZero || (last - '0') % 2 == 1));
    d.s.truncate(keep);
    if (!up) return;
    qsizetype i = keep - 1;
    while (i >= 0 && d.s.at(i) == '9')
        d.s[i--] = '0';
    if (i < 0) {
        d.s.prepend('1');
        ++d.exp;
    } else {
        ++d.s[i];
    }
}

Fixed layout(const Digits& d, int decimals) {
    Fixed f;
    const int top = std::max(d.exp, 0);
    for (int pos = top; pos >= -decimals; --pos) {
        const qsizetype i = d.exp - pos;
        const char c = (i >= 0 && i < d.s.size()) ? d.s.at(i) : '0';
        (pos >= 0 ? f.whole : f.fraction).append(QLatin1Char(c));
    }
    while (f.whole.size() > 1 && f.whole.startsWith(QLatin1Char('0')))
        f.whole.remove(0, 1);
    if (f.whole.isEmpty()) f.whole = QStringLiteral("0");
    return f;
}

} // namespace

Fixed fixed(double absValue, int decimals, Rounding rounding) {
    decimals = std::max(decimals, 0);
    if (!(absValue > 0) || !std::isfinite(absValue))
        return {QStringLiteral("0"), QString(decimals, QLatin1Char('0'))};
    Digits d = decimalOf(absValue);
    roundTo(d, d.exp + 1 + decimals, rounding);
    return layout(d, decimals);
}

Scientific scientific(double absValue, int count) {
    count = std::max(count, 1);
    Scientific r;
    if (!(absValue > 0) || !std::isfinite(absValue)) {
        r.digits = QString(count, QLatin1Char('0'));
        return r;
    }
    Digits d = decimalOf(absValue);
    roundTo(d, count, Rounding::HalfUp);
    r.digits = QString::fromLatin1(d.s.left(count)).leftJustified(count, QLatin1Char('0'));
    r.exponent = d.exp;
    return r;
}

QString text(double x) {
    if (x == 0) return QStringLiteral("0");
    if (!std::isfinite(x)) return QString::number(x);
    const QString sign = x < 0 ? QStringLiteral("-") : QString();
    const Digits d = decimalOf(std::fabs(x));
    if (d.exp >= 15 || d.exp < -5) {
        QString m = QString(QLatin1Char(d.s.at(0)));
        if (d.s.size() > 1) m += QLatin1Char('.') + QString::fromLatin1(d.s.mid(1));
        return sign + m + QLatin1Char('E') + QLatin1Char(d.exp < 0 ? '-' : '+') +
               QString::number(std::abs(d.exp)).rightJustified(2, QLatin1Char('0'));
    }
    const Fixed f = layout(d, static_cast<int>(std::max<qsizetype>(0, d.s.size() - 1 - d.exp)));
    return sign + f.whole + (f.fraction.isEmpty() ? QString() : QLatin1Char('.') + f.fraction);
}

bool parse(QStringView text, double& out) {
    const QStringView t = text.trimmed();
    if (t.size() > 2 && t.at(0) == QLatin1Char('&')) {
        const QChar kind = t.at(1).toUpper();
        const int base = kind == QLatin1Char('H') ? 16 : kind == QLatin1Char('O') ? 8 : 0;
        if (base == 0) return false;
        bool ok = false;
        const qlonglong v = t.mid(2).toLongLong(&ok, base);
        if (ok) out = static_cast<double>(v);
        return ok;
    }
    QByteArray s;
    s.reserve(t.size());
    qsizetype i = 0;
    const qsizetype n = t.size();
    auto digitsAt = [&](qsizetype& k) {
        const qsizetype from = k;
        while (k < n && t.at(k).isDigit() && t.at(k).unicode() < 0x80)
            s.append(static_cast<char>(t.at(k++).unicode()));
        return k - from;
    };
    if (i < n && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-')))
        s.append(static_cast<char>(t.at(i++).unicode()));
    qsizetype mantissa = digitsAt(i);
    if (i < n && t.at(i) == QLatin1Char('.')) {
        s.append('.');
        ++i;
        mantissa += digitsAt(i);
    }
    if (mantissa == 0) return false;
    if (i < n && QStringLiteral("eEdD").contains(t.at(i))) {
        s.append('e');
        ++i;
        if (i < n && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-')))
            s.append(static_cast<char>(t.at(i++).unicode()));
        if (digitsAt(i) == 0) return false;
    }
    if (i != n) return false;
    out = std::strtod(s.constData(), nullptr);
    return std::isfinite(out);
}

double round(double x, int decimals) {
    if (!std::isfinite(x)) return x;
    // Beyond 15 digits a double has no decimals worth keeping.
    if (std::fabs(x) >= 1e15) return decimals == 0 ? std::nearbyint(x) : x;
    const Fixed f = fixed(std::fabs(x), decimals, Rounding::HalfEven);
    const double v =
        (f.fraction.isEmpty() ? f.whole : f.whole + QLatin1Char('.') + f.fraction).toDouble();
    return x < 0 ? -v : v;
}

} // namespace JetNumbers
