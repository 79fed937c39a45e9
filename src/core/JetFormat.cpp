#include "core/JetFormat.h"

#include "core/JetDates.h"
#include "core/JetNumbers.h"
#include "core/OleDate.h"

#include <QList>

#include <cmath>

namespace JetFormat {

namespace {

bool startsWithCI(QStringView s, qsizetype at, const char* word) {
    const QLatin1String w(word);
    return s.size() - at >= w.size() && s.mid(at, w.size()).compare(w, Qt::CaseInsensitive) == 0;
}

// The AM/PM token at `at` and its length: "AM/PM", "A/P" (either case), "AMPM"; 0 when none.
qsizetype ampmAt(QStringView p, qsizetype at) {
    if (startsWithCI(p, at, "am/pm")) return 5;
    if (startsWithCI(p, at, "ampm")) return 4;
    if (startsWithCI(p, at, "a/p")) return 3;
    return 0;
}

// Calls f(index) for every pattern character outside quotes and escapes.
template <typename F> void forEachBare(QStringView p, F f) {
    for (qsizetype i = 0; i < p.size(); ++i) {
        if (p.at(i) == QLatin1Char('"')) {
            const qsizetype end = p.indexOf(QLatin1Char('"'), i + 1);
            i = end < 0 ? p.size() : end;
        } else if (p.at(i) == QLatin1Char('\\')) {
            ++i;
        } else if (!f(i)) {
            return;
        }
    }
}

bool isDatePattern(QStringView p) {
    bool found = false;
    forEachBare(p, [&](qsizetype i) {
        const QChar c = p.at(i).toLower();
        found = QStringLiteral("dmyhnswqc").contains(c) || ampmAt(p, i) > 0 ||
                startsWithCI(p, i, "ttttt");
        return !found;
    });
    return found;
}

QString two(int v) {
    return QString::number(v).rightJustified(2, QLatin1Char('0'));
}

QString generalDate(double days) {
    const OleDate::Civil c = OleDate::toCivil(days);
    const bool hasDate = std::floor(days) != 0;
    const bool hasTime = c.hour != 0 || c.minute != 0 || c.second != 0;
    if (hasDate && !hasTime) return date(days, u"m/d/yyyy");
    if (!hasDate) return date(days, u"h:nn:ss AM/PM");
    return date(days, u"m/d/yyyy h:nn:ss AM/PM");
}

// ------------------------------------------------------------ number patterns

QList<QStringView> sections(QStringView p) {
    QList<QStringView> out;
    qsizetype start = 0;
    forEachBare(p, [&](qsizetype i) {
        if (p.at(i) == QLatin1Char(';')) {
            out.append(p.mid(start, i - start));
            start = i + 1;
        }
        return true;
    });
    out.append(p.mid(start));
    return out;
}

struct Item {
    enum Kind { Literal, IntDigit, FracDigit, Point, Exponent } kind;
    QString text; // the literal, the placeholder ('0' or '#'), or "E+"/"e-"
};

QString applySection(QStringView sec, double v, bool minus) {
    QList<Item> items;
    int percents = 0, scale = 0, pendingCommas = 0, expZeros = 0;
    bool point = false, inExp = false, group = false, anyIntDigit = false;
    auto literal = [&](const QString& s) {
        if (!items.isEmpty() && items.back().kind == Item::Literal)
            items.back().text += s;
        else
            items.append({Item::Literal, s});
    };
    for (qsizetype i = 0; i < sec.size(); ++i) {
        const QChar c = sec.at(i);
        if (c == QLatin1Char('"')) {
            const qsizetype end = sec.indexOf(QLatin1Char('"'), i + 1);
            literal(sec.mid(i + 1, (end < 0 ? sec.size() : end) - i - 1).toString());
            i = end < 0 ? sec.size() : end;
        } else if (c == QLatin1Char('\\')) {
            if (i + 1 < sec.size()) literal(sec.at(++i));
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            if (inExp) {
                if (c == QLatin1Char('0')) ++expZeros;
            } else if (point) {
                items.append({Item::FracDigit, c});
            } else {
                if (pendingCommas > 0) group = true;
                pendingCommas = 0;
                anyIntDigit = true;
                items.append({Item::IntDigit, c});
            }
        } else if (c == QLatin1Char('.') && !point && !inExp) {
            point = true;
            scale += pendingCommas;
            pendingCommas = 0;
            items.append({Item::Point, c});
        } else if (c == QLatin1Char(',') && !point && !inExp && anyIntDigit) {
            ++pendingCommas;
        } else if (c == QLatin1Char('%')) {
            ++percents;
            literal(c);
        } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && !inExp &&
                   i + 2 < sec.size() &&
                   (sec.at(i + 1) == QLatin1Char('+') || sec.at(i + 1) == QLatin1Char('-')) &&
                   (sec.at(i + 2) == QLatin1Char('0') || sec.at(i + 2) == QLatin1Char('#'))) {
            inExp = true;
            items.append({Item::Exponent, sec.mid(i, 2).toString()});
            ++i;
        } else {
            literal(c);
        }
    }
    scale += pendingCommas;
    v *= std::pow(100.0, percents) / std::pow(1000.0, scale);

    qsizetype intCount = 0, fracCount = 0, lastFracZero = 0;
    for (const Item& it : items) {
        if (it.kind == Item::IntDigit) ++intCount;
        if (it.kind == Item::FracDigit) {
            ++fracCount;
            if (it.text == QLatin1String("0")) lastFracZero = fracCount;
        }
    }
    QString whole, fraction;
    int exponent = 0;
    if (inExp) {
        const qsizetype mantissa = std::max<qsizetype>(intCount, 1);
        const JetNumbers::Scientific s =
            JetNumbers::scientific(v, static_cast<int>(mantissa + fracCount));
        if (v > 0) exponent = s.exponent - static_cast<int>(mantissa - 1);
        whole = s.digits.left(mantissa);
        fraction = s.digits.mid(mantissa);
    } else {
        const JetNumbers::Fixed f =
            JetNumbers::fixed(v, static_cast<int>(fracCount), JetNumbers::Rounding::HalfUp);
        whole = f.whole == QLatin1String("0") ? QString() : f.whole;
        fraction = f.fraction;
    }
    // "#" decimals show only as far as digits other than 0 reach.
    qsizetype keep = lastFracZero;
    for (qsizetype k = fraction.size(); k > keep; --k)
        if (fraction.at(k - 1) != QLatin1Char('0')) {
            keep = k;
            break;
        }
    // Whole digits fill the placeholders from the right; more go to the first one.
    QList<QString> intDigits;
    for (const Item& it : items) {
        if (it.kind != Item::IntDigit) continue;
        const qsizetype fromRight = intCount - 1 - intDigits.size();
        if (fromRight < whole.size())
            intDigits.append(whole.at(whole.size() - 1 - fromRight));
        else
            intDigits.append(it.text == QLatin1String("0") ? it.text : QString());
    }
    if (intCount > 0 && whole.size() > intCount)
        intDigits[0].prepend(whole.left(whole.size() - intCount));
    qsizetype total = 0;
    for (const QString& d : intDigits)
        total += d.size();

    QString out = minus ? QStringLiteral("-") : QString();
    qsizetype intIndex = 0, fracIndex = 0, emitted = 0;
    auto emitWhole = [&](const QString& digits) {
        for (QChar d : digits) {
            out += d;
            const qsizetype rest = total - ++emitted;
            if (group && rest > 0 && rest % 3 == 0) out += QLatin1Char(',');
        }
    };
    for (const Item& it : items) {
        switch (it.kind) {
        case Item::Literal:
            out += it.text;
            break;
        case Item::IntDigit:
            emitWhole(intDigits[intIndex++]);
            break;
        case Item::Point:
            if (intCount == 0) out += whole;
            out += QLatin1Char('.');
            break;
        case Item::FracDigit:
            if (fracIndex < keep) out += fraction.at(fracIndex);
            ++fracIndex;
            break;
        case Item::Exponent: {
            if (intCount == 0 && fracCount == 0) out += whole;
            out += it.text.at(0);
            if (exponent < 0)
                out += QLatin1Char('-');
            else if (it.text.at(1) == QLatin1Char('+'))
                out += QLatin1Char('+');
            out += QString::number(std::abs(exponent)).rightJustified(expZeros, QLatin1Char('0'));
            break;
        }
        }
    }
    return out;
}

// ------------------------------------------------------------ named formats

enum class Named { None, Date, Number, Text };

// The pattern a named format stands for; Text for the words of Yes/No and the like.
Named named(QStringView name, QString& pattern) {
    static const struct {
        const char* name;
        Named kind;
        const char* pattern;
    } table[] = {
        {"general date", Named::Date, "c"},
        {"long date", Named::Date, "dddd, mmmm d, yyyy"},
        {"medium date", Named::Date, "dd-mmm-yy"},
        {"short date", Named::Date, "m/d/yyyy"},
        {"long time", Named::Date, "h:nn:ss AM/PM"},
        {"medium time", Named::Date, "hh:nn AM/PM"},
        {"short time", Named::Date, "hh:nn"},
        {"general number", Named::Number, ""},
        {"currency", Named::Number, "$#,##0.00;($#,##0.00)"},
        {"fixed", Named::Number, "0.00"},
        {"standard", Named::Number, "#,##0.00"},
        {"percent", Named::Number, "0.00%"},
        {"scientific", Named::Number, "0.00E+00"},
        {"yes/no", Named::Text, "Yes;No"},
        {"true/false", Named::Text, "True;False"},
        {"on/off", Named::Text, "On;Off"},
    };
    const QStringView n = name.trimmed();
    for (const auto& e : table) {
        if (n.compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0) {
            pattern = QString::fromLatin1(e.pattern);
            return e.kind;
        }
    }
    return Named::None;
}

} // namespace

QString date(double days, QStringView p, int firstDayOfWeek, int firstWeekOfYear) {
    const OleDate::Civil c = OleDate::toCivil(days);
    bool twelve = false;
    forEachBare(p, [&](qsizetype i) {
        twelve = ampmAt(p, i) > 0;
        return !twelve;
    });
    const int hour = twelve ? (c.hour % 12 == 0 ? 12 : c.hour % 12) : c.hour;
    QString out;
    bool afterHour = false;
    const qsizetype n = p.size();
    for (qsizetype i = 0; i < n;) {
        const QChar raw = p.at(i);
        const QChar ch = raw.toLower();
        if (raw == QLatin1Char('"')) {
            const qsizetype end = p.indexOf(QLatin1Char('"'), i + 1);
            out += p.mid(i + 1, (end < 0 ? n : end) - i - 1);
            i = end < 0 ? n : end + 1;
            continue;
        }
        if (raw == QLatin1Char('\\')) {
            if (i + 1 < n) out += p.at(i + 1);
            i += 2;
            continue;
        }
        if (const qsizetype len = ampmAt(p, i); len > 0) {
            const bool pm = c.hour >= 12;
            if (len == 4)
                out += pm ? QLatin1String("PM") : QLatin1String("AM");
            else if (len == 5)
                out += p.mid(pm ? i + 3 : i, 2);
            else
                out += p.at(pm ? i + 2 : i);
            i += len;
            continue;
        }
        qsizetype run = 1;
        while (i + run < n && p.at(i + run).toLower() == ch)
            ++run;
        qsizetype used = run;
        if (ch == QLatin1Char('y')) {
            used = run >= 4 ? 4 : std::min<qsizetype>(run, 2);
            out += used == 4   ? QString::number(c.year).rightJustified(4, QLatin1Char('0'))
                   : used == 2 ? two(c.year % 100)
                               : QString::number(JetDates::dayOfYear(days));
        } else if (ch == QLatin1Char('m')) {
            used = std::min<qsizetype>(run, 4);
            if (afterHour && used <= 2)
                out += used == 2 ? two(c.minute) : QString::number(c.minute);
            else if (used == 4)
                out += JetDates::monthName(c.month, false);
            else if (used == 3)
                out += JetDates::monthName(c.month, true);
            else
                out += used == 2 ? two(c.month) : QString::number(c.month);
        } else if (ch == QLatin1Char('d')) {
            used = std::min<qsizetype>(run, 6);
            const int wd = JetDates::weekday(days, 1);
            switch (used) {
            case 1:
                out += QString::number(c.day);
                break;
            case 2:
                out += two(c.day);
                break;
            case 3:
            case 4:
                out += JetDates::weekdayName(wd, used == 3);
                break;
            case 5:
                out += date(days, u"m/d/yyyy");
                break;
            default:
                out += date(days, u"dddd, mmmm d, yyyy");
                break;
            }
        } else if (ch == QLatin1Char('h') || ch == QLatin1Char('n') || ch == QLatin1Char('s')) {
            used = std::min<qsizetype>(run, 2);
            const int v = ch == QLatin1Char('h')   ? hour
                          : ch == QLatin1Char('n') ? c.minute
                                                   : c.second;
            out += used == 2 ? two(v) : QString::number(v);
        } else if (ch == QLatin1Char('w')) {
            used = std::min<qsizetype>(run, 2);
            out += QString::number(used == 2
                                       ? JetDates::weekOfYear(days, firstDayOfWeek, firstWeekOfYear)
                                       : JetDates::weekday(days, firstDayOfWeek));
        } else if (ch == QLatin1Char('q')) {
            used = 1;
            out += QString::number((c.month - 1) / 3 + 1);
        } else if (ch == QLatin1Char('c')) {
            used = 1;
            out += generalDate(days);
        } else if (ch == QLatin1Char('t') && run >= 5) {
            used = 5;
            out += date(days, u"h:nn:ss AM/PM");
        } else {
            used = 1;
            out += raw;
        }
        // "m" right after an hour (separators between allowed) is the minute.
        if (ch == QLatin1Char('h'))
            afterHour = true;
        else if (ch != QLatin1Char(':') && !ch.isSpace())
            afterHour = false;
        i += used;
    }
    return out;
}

QString number(double x, QStringView pattern) {
    const QList<QStringView> secs = sections(pattern);
    if (x < 0) {
        if (secs.size() >= 2 && !secs[1].isEmpty()) return applySection(secs[1], -x, false);
        return applySection(secs[0], -x, true);
    }
    if (x == 0 && secs.size() >= 3 && !secs[2].isEmpty()) return applySection(secs[2], 0, false);
    return applySection(secs[0], x, false);
}

std::optional<QString> format(const Value& value, QStringView pattern, int firstDayOfWeek,
                              int firstWeekOfYear) {
    using Kind = Value::Kind;
    QString p;
    Named kind = named(pattern, p);
    if (kind == Named::None) {
        p = pattern.toString();
        kind = p.isEmpty() ? Named::None : isDatePattern(p) ? Named::Date : Named::Number;
    }
    if (value.kind == Kind::Null) {
        if (kind == Named::Number) {
            const QList<QStringView> secs = sections(p);
            if (secs.size() >= 4) return applySection(secs[3], 0, false);
        }
        return std::nullopt;
    }
    if (kind == Named::None)
        return value.kind == Kind::Text ? value.text : JetNumbers::text(value.number);
    double x = value.number;
    if (kind == Named::Date) {
        if (value.kind == Kind::Text && !JetDates::parse(value.text, x)) return value.text;
        return date(x, p, firstDayOfWeek, firstWeekOfYear);
    }
    if (value.kind == Kind::Text && !JetNumbers::parse(value.text, x)) return value.text;
    if (kind == Named::Text) {
        const QList<QStringView> words = sections(p);
        return (x != 0 ? words[0] : words[1]).toString();
    }
    return p.isEmpty() ? JetNumbers::text(x) : number(x, p);
}

} // namespace JetFormat
