#include "core/JetTranslator.h"

#include "core/JetFunctions.h"

#include <QList>

namespace JetTranslator {

namespace {

enum class Kind { Space, Word, Number, String, Bracket, Date, Op, LParen, RParen, Comma, Other };

struct Token {
    Kind kind;
    QString text;
};

bool isWordStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_');
}
bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

QList<Token> tokenize(const QString& s) {
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
            // A doubled quote inside stands for one.
            QString value;
            ++i;
            while (i < n) {
                if (s.at(i) == c) {
                    if (i + 1 < n && s.at(i + 1) == c) {
                        value += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += s.at(i++);
            }
            value.replace(QLatin1Char('\''), QLatin1String("''"));
            out.append({Kind::String, QLatin1Char('\'') + value + QLatin1Char('\'')});
        } else if (c == QLatin1Char('[')) {
            const qsizetype end = s.indexOf(QLatin1Char(']'), i + 1);
            i = end < 0 ? n : end + 1;
            out.append({Kind::Bracket, s.mid(start, i - start)});
        } else if (c == QLatin1Char('#')) {
            const qsizetype end = s.indexOf(QLatin1Char('#'), i + 1);
            double days = 0;
            if (end > 0 && JetFunctions::parseDate(s.mid(i + 1, end - i - 1).toUtf8(), days)) {
                i = end + 1;
                out.append({Kind::Date, QString::number(days, 'g', 17)});
            } else {
                ++i;
                out.append({Kind::Other, QStringLiteral("#")});
            }
        } else if (c == QLatin1Char('(')) {
            ++i;
            out.append({Kind::LParen, QStringLiteral("(")});
        } else if (c == QLatin1Char(')')) {
            ++i;
            out.append({Kind::RParen, QStringLiteral(")")});
        } else if (c == QLatin1Char(',')) {
            ++i;
            out.append({Kind::Comma, QStringLiteral(",")});
        } else if (c == QLatin1Char('-') && i + 1 < n && s.at(i + 1) == QLatin1Char('-')) {
            const qsizetype end = s.indexOf(QLatin1Char('\n'), i);
            i = end < 0 ? n : end;
            out.append({Kind::Space, QStringLiteral(" ")});
        } else {
            static const QString ops = QStringLiteral("<>=!|");
            if (ops.contains(c)) {
                while (i < n && ops.contains(s.at(i)))
                    ++i;
            } else {
                ++i;
            }
            out.append({Kind::Op, s.mid(start, i - start)});
        }
    }
    return out;
}

bool isWord(const Token& t, const char* w) {
    return t.kind == Kind::Word && t.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
}

// Index of the next token that is not blank, from i on; -1 when none.
qsizetype nextSolid(const QList<Token>& t, qsizetype i) {
    while (i < t.size() && t[i].kind == Kind::Space)
        ++i;
    return i < t.size() ? i : -1;
}

// The matching ")" of the "(" at i, or the end.
qsizetype closeOf(const QList<Token>& t, qsizetype i) {
    int depth = 0;
    for (; i < t.size(); ++i) {
        if (t[i].kind == Kind::LParen)
            ++depth;
        else if (t[i].kind == Kind::RParen && --depth == 0)
            return i;
    }
    return t.size();
}

// strcomp(col,'lit',0)=0 -> (col='lit' AND col='lit' COLLATE BINARY): the first
// term finds the rows through the column's index, the second keeps the exact ones.
void rewriteStrComp(QList<Token>& t) {
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (!isWord(t[i], "strcomp")) continue;
        QList<qsizetype> at;
        qsizetype j = i;
        const Kind want[] = {Kind::LParen, Kind::Word,   Kind::Comma, Kind::String, Kind::Comma,
                             Kind::Number, Kind::RParen, Kind::Op,    Kind::Number};
        bool ok = true;
        QString column;
        for (Kind k : want) {
            j = nextSolid(t, j + 1);
            if (j < 0) {
                ok = false;
                break;
            }
            // Accept a bracketed or dotted column name.
            if (k == Kind::Word && (t[j].kind == Kind::Word || t[j].kind == Kind::Bracket)) {
                column = t[j].text;
                qsizetype d = nextSolid(t, j + 1);
                while (d >= 0 && t[d].kind == Kind::Op && t[d].text == QLatin1String(".")) {
                    const qsizetype w = nextSolid(t, d + 1);
                    if (w < 0 || (t[w].kind != Kind::Word && t[w].kind != Kind::Bracket)) break;
                    column += QLatin1Char('.') + t[w].text;
                    j = w;
                    d = nextSolid(t, j + 1);
                }
                at.append(j);
                continue;
            }
            if (t[j].kind != k) {
                ok = false;
                break;
            }
            at.append(j);
        }
        if (!ok || t[at[5]].text != QLatin1String("0") || t[at[7]].text != QLatin1String("=") ||
            t[at[8]].text != QLatin1String("0"))
            continue;
        // Nothing that binds tighter than "=" may follow.
        const qsizetype after = nextSolid(t, at[8] + 1);
        if (after >= 0 && t[after].kind == Kind::Op &&
            QStringLiteral("+-*/%&|").contains(t[after].text.at(0)))
            continue;
        const QString lit = t[at[3]].text;
        const QString repl = QLatin1Char('(') + column + QLatin1Char('=') + lit +
                             QLatin1String(" AND ") + column + QLatin1Char('=') + lit +
                             QLatin1String(" COLLATE BINARY)");
        t.remove(i, at[8] - i + 1);
        t.insert(i, {Kind::Other, repl});
    }
}

// "select [distinct] top n [percent]" -> the same select with "limit n" at its end.
void rewriteTop(QList<Token>& t) {
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (!isWord(t[i], "select")) continue;
        qsizetype j = nextSolid(t, i + 1);
        if (j >= 0 && (isWord(t[j], "distinct") || isWord(t[j], "all"))) j = nextSolid(t, j + 1);
        if (j < 0 || !isWord(t[j], "top")) continue;
        const qsizetype k = nextSolid(t, j + 1);
        if (k < 0 || t[k].kind != Kind::Number) continue;
        const QString count = t[k].text;
        qsizetype last = k;
        const qsizetype p = nextSolid(t, k + 1);
        if (p >= 0 && isWord(t[p], "percent")) continue; // no equivalent; left for SQLite to reject
        // Find the end of this select: the ")" closing its group, or the end.
        int depth = 0;
        qsizetype end = t.size();
        for (qsizetype m = last + 1; m < t.size(); ++m) {
            if (t[m].kind == Kind::LParen)
                ++depth;
            else if (t[m].kind == Kind::RParen && --depth < 0) {
                end = m;
                break;
            } else if (depth == 0 && t[m].kind == Kind::Op && t[m].text == QLatin1String(";")) {
                end = m;
                break;
            }
        }
        t.insert(end, {Kind::Other, QLatin1String(" limit ") + count});
        if (last + 1 < t.size() && t[last + 1].kind == Kind::Space) ++last;
        t.remove(j, last - j + 1);
    }
}

bool isBoundary(const Token& t) {
    if (t.kind == Kind::Comma) return true;
    if (t.kind == Kind::Op) {
        const QString& s = t.text;
        return s == QLatin1String("=") || s == QLatin1String("<") || s == QLatin1String(">") ||
               s == QLatin1String("<=") || s == QLatin1String(">=") || s == QLatin1String("<>") ||
               s == QLatin1String("!=") || s == QLatin1String("==") || s == QLatin1String(";");
    }
    if (t.kind == Kind::Word) {
        static const char* words[] = {"and",   "or",     "not",  "like",  "between", "in",
                                      "is",    "select", "from", "where", "order",   "by",
                                      "group", "having", "as",   "on",    "join",    "when",
                                      "then",  "else",   "end",  "case",  "asc",     "desc",
                                      "limit", "escape", "xor",  "eqv",   "imp"};
        for (const char* w : words)
            if (isWord(t, w)) return true;
    }
    return false;
}

// "a & b + c" -> "(a) || (b + c)": Jet joins after arithmetic, SQLite's || binds first.
void rewriteConcat(QList<Token>& t, qsizetype from, qsizetype to) {
    // Recurse into groups first.
    for (qsizetype i = from; i < to; ++i) {
        if (t[i].kind == Kind::LParen) {
            const qsizetype close = closeOf(t, i);
            const qsizetype before = t.size();
            rewriteConcat(t, i + 1, std::min(close, t.size()));
            const qsizetype grown = t.size() - before;
            to += grown;
            i = std::min(close + grown, t.size());
        }
    }
    // Then runs of this level between boundaries.
    qsizetype segStart = from;
    for (qsizetype i = from; i <= to; ++i) {
        const bool atEnd = i == to;
        if (!atEnd && t[i].kind == Kind::LParen) {
            i = closeOf(t, i);
            continue;
        }
        if (!atEnd && !isBoundary(t[i])) continue;
        // Segment [segStart, i): split at "&".
        QList<qsizetype> amps;
        for (qsizetype k = segStart; k < i; ++k) {
            if (t[k].kind == Kind::LParen)
                k = closeOf(t, k);
            else if (t[k].kind == Kind::Op && t[k].text == QLatin1String("&"))
                amps.append(k);
        }
        if (!amps.isEmpty()) {
            // Build from the back so indexes stay valid.
            qsizetype added = 0;
            qsizetype partEnd = i;
            for (qsizetype a = amps.size() - 1; a >= -1; --a) {
                qsizetype partStart = a >= 0 ? amps[a] + 1 : segStart;
                qsizetype end = partEnd;
                while (partStart < end && t[partStart].kind == Kind::Space)
                    ++partStart;
                while (end > partStart && t[end - 1].kind == Kind::Space)
                    --end;
                t.insert(end, {Kind::Other, QStringLiteral(")")});
                t.insert(partStart, {Kind::Other, QStringLiteral("(")});
                added += 2;
                if (a >= 0) {
                    t[amps[a]].text = QStringLiteral("||");
                    t[amps[a]].kind = Kind::Other;
                }
                partEnd = a >= 0 ? amps[a] : partEnd;
            }
            i += added;
            to += added;
        }
        segStart = i + 1;
    }
}

} // namespace

QString translate(const QString& jetSql) {
    QList<Token> t = tokenize(jetSql);
    rewriteStrComp(t);
    rewriteTop(t);
    rewriteConcat(t, 0, t.size());
    QString out;
    out.reserve(jetSql.size() + 32);
    for (qsizetype i = 0; i < t.size(); ++i) {
        const Token& k = t[i];
        if (k.kind == Kind::Word) {
            const qsizetype next = nextSolid(t, i + 1);
            const bool call = next >= 0 && t[next].kind == Kind::LParen;
            if (isWord(k, "now") && !call) {
                out += QLatin1String("now()");
                continue;
            }
            if (isWord(k, "true")) {
                out += QLatin1Char('1');
                continue;
            }
            if (isWord(k, "false")) {
                out += QLatin1Char('0');
                continue;
            }
            if (isWord(k, "mod")) {
                out += QLatin1Char('%');
                continue;
            }
            // LEFT and RIGHT are SQLite keywords: the functions go by other names.
            if (call && (isWord(k, "left") || isWord(k, "right"))) {
                out += QLatin1String("jet_") + k.text.toLower();
                continue;
            }
            if (isWord(k, "distinctrow")) {
                out += QLatin1String("distinct");
                continue;
            }
        } else if (k.kind == Kind::Op && k.text == QLatin1String("/")) {
            out += QLatin1String("*1.0/");
            continue;
        }
        out += k.text;
    }
    return out;
}

} // namespace JetTranslator
