#include "core/JetLexer.h"

#include "core/JetDates.h"

namespace JetLexer {

namespace {

bool isWordStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_');
}

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// Up to 20 characters of the text from `at`, for messages.
QString excerpt(const QString& s, qsizetype at) {
    const QString e = s.mid(at, 20);
    return at + 20 < s.size() ? e + QStringLiteral("…") : e;
}

} // namespace

Result<QList<Token>> tokenize(const QString& s) {
    using R = Result<QList<Token>>;
    QList<Token> out;
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s.at(i);
        const qsizetype start = i;
        if (c.isSpace()) {
            while (i < n && s.at(i).isSpace())
                ++i;
            out.append({Kind::Space, s.mid(start, i - start)});
        } else if (isWordStart(c)) {
            while (i < n && isWordChar(s.at(i)))
                ++i;
            out.append({Kind::Word, s.mid(start, i - start)});
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && s.at(i + 1).isDigit())) {
            while (i < n && (s.at(i).isDigit() || s.at(i) == QLatin1Char('.')))
                ++i;
            if (i < n && (s.at(i) == QLatin1Char('e') || s.at(i) == QLatin1Char('E'))) {
                qsizetype j = i + 1;
                if (j < n && (s.at(j) == QLatin1Char('+') || s.at(j) == QLatin1Char('-'))) ++j;
                if (j < n && s.at(j).isDigit()) {
                    while (j < n && s.at(j).isDigit())
                        ++j;
                    i = j;
                }
            }
            out.append({Kind::Number, s.mid(start, i - start)});
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // Either quote delimits text; the same quote doubled inside stands for one.
            QString value;
            bool closed = false;
            for (++i; i < n; ++i) {
                if (s.at(i) != c) {
                    value += s.at(i);
                } else if (i + 1 < n && s.at(i + 1) == c) {
                    value += c;
                    ++i;
                } else {
                    closed = true;
                    ++i;
                    break;
                }
            }
            if (!closed)
                return R::failure(QStringLiteral("unterminated text: ") + excerpt(s, start));
            value.replace(QLatin1Char('\''), QLatin1String("''"));
            out.append({Kind::String, QLatin1Char('\'') + value + QLatin1Char('\'')});
        } else if (c == QLatin1Char('[')) {
            const qsizetype end = s.indexOf(QLatin1Char(']'), i + 1);
            if (end < 0)
                return R::failure(QStringLiteral("unterminated name: ") + excerpt(s, start));
            i = end + 1;
            out.append({Kind::Bracket, s.mid(start, i - start)});
        } else if (c == QLatin1Char('#')) {
            const qsizetype end = s.indexOf(QLatin1Char('#'), i + 1);
            if (end < 0)
                return R::failure(QStringLiteral("unterminated date: ") + excerpt(s, start));
            double days = 0;
            const QString literal = s.mid(start, end + 1 - start);
            if (!JetDates::parse(QStringView(literal).mid(1, literal.size() - 2), days))
                return R::failure(QStringLiteral("not a date: ") + literal);
            i = end + 1;
            out.append({Kind::Date, QString::number(days, 'g', 17)});
        } else if (c == QLatin1Char('(')) {
            ++i;
            out.append({Kind::LParen, QStringLiteral("(")});
        } else if (c == QLatin1Char(')')) {
            ++i;
            out.append({Kind::RParen, QStringLiteral(")")});
        } else if (c == QLatin1Char(',')) {
            ++i;
            out.append({Kind::Comma, QStringLiteral(",")});
        } else {
            static const QString grouped = QStringLiteral("<>=!|");
            static const QStringList comparisons = {QStringLiteral("="),  QStringLiteral("<"),
                                                    QStringLiteral(">"),  QStringLiteral("<="),
                                                    QStringLiteral(">="), QStringLiteral("<>"),
                                                    QStringLiteral("!="), QStringLiteral("==")};
            if (grouped.contains(c)) {
                while (i < n && grouped.contains(s.at(i)))
                    ++i;
            } else {
                ++i;
            }
            const QString op = s.mid(start, i - start);
            // SQLite would read these (|| joins texts, % is a remainder); Jet has none of them.
            if ((grouped.contains(c) && !comparisons.contains(op)) || c == QLatin1Char('%') ||
                c == QLatin1Char('~'))
                return R::failure(QStringLiteral("unknown operator ") + op);
            out.append({Kind::Op, op});
        }
    }
    return out;
}

} // namespace JetLexer
