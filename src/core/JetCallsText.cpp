// Jet's text functions.
#include "core/Ansi.h"
#include "core/JetArgs.h"
#include "core/JetCalls.h"
#include "core/JetFormat.h"
#include "core/JetNumbers.h"
#include "core/JetText.h"

#include <sqlite3.h>

#include <cstring>

namespace JetCalls {

using namespace JetArgs;

namespace {

// A count argument (Left, Space...): whole and not negative.
bool count(sqlite3_context* ctx, sqlite3_value* v, qint64& out) {
    if (!whole(ctx, v, out)) return false;
    if (out >= 0) return true;
    fail(ctx, "Invalid procedure call");
    return false;
}

// Trims blanks (spaces only, as Jet does) on the bytes, without decoding.
void trimmed(sqlite3_context* ctx, sqlite3_value** argv, bool front, bool back) {
    if (nullIn(ctx, 1, argv)) return;
    if (sqlite3_value_type(argv[0]) == SQLITE_FLOAT) return setText(ctx, text(argv[0]));
    const QByteArrayView t = utf8(argv[0]);
    qsizetype from = 0, to = t.size();
    while (front && from < to && t[from] == ' ')
        ++from;
    while (back && to > from && t[to - 1] == ' ')
        --to;
    sqlite3_result_text(ctx, t.data() + from, static_cast<int>(to - from), SQLITE_TRANSIENT);
}

} // namespace

void asc(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullIn(ctx, 1, argv)) return;
    const QString s = text(argv[0]);
    if (s.isEmpty()) return fail(ctx, "Invalid procedure call");
    const int code = Ansi::codeOf(s.at(0));
    sqlite3_result_int(ctx, code < 0 ? '?' : code);
}

void chr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    qint64 code = 0;
    if (nullIn(ctx, 1, argv) || !whole(ctx, argv[0], code)) return;
    if (code < 0 || code > 255) return fail(ctx, "Invalid procedure call");
    setText(ctx, Ansi::toUnicode(QByteArray(1, static_cast<char>(code))));
}

// "a & b": Null counts as "", but Null & Null is Null.
void concat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    QByteArray out;
    bool any = false;
    for (int i = 0; i < argc; ++i) {
        if (JetArgs::isNull(argv[i])) continue;
        any = true;
        if (sqlite3_value_type(argv[i]) == SQLITE_FLOAT)
            out += text(argv[i]).toUtf8();
        else
            out += utf8(argv[i]);
    }
    if (!any) return sqlite3_result_null(ctx);
    sqlite3_result_text(ctx, out.constData(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

// Format(value [, pattern [, firstdayofweek [, firstweekofyear]]]).
void format(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (JetArgs::isNull(argv[0]) && (argc < 2 || JetArgs::isNull(argv[1]))) {
        nullIn(ctx, 1, argv);
        return;
    }
    JetFormat::Value value;
    if (isNumber(argv[0])) {
        value.kind = JetFormat::Value::Kind::Number;
        value.number = sqlite3_value_double(argv[0]);
    } else if (!JetArgs::isNull(argv[0])) {
        value.kind = JetFormat::Value::Kind::Text;
        value.text = text(argv[0]);
    }
    qint64 firstDay = 1, firstWeek = 1;
    if (argc >= 3 && !JetArgs::isNull(argv[2]) && !whole(ctx, argv[2], firstDay)) return;
    if (argc >= 4 && !JetArgs::isNull(argv[3]) && !whole(ctx, argv[3], firstWeek)) return;
    const QString pattern = argc >= 2 && !JetArgs::isNull(argv[1]) ? text(argv[1]) : QString();
    const std::optional<QString> out =
        JetFormat::format(value, pattern, static_cast<int>(firstDay), static_cast<int>(firstWeek));
    if (!out) {
        nullIn(ctx, 1, argv);
        return;
    }
    setText(ctx, *out);
}

// InStr([start,] text, sought [, compare]): compare 0 is binary, otherwise
// (and by default) letters match without regard to case.
void inStr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    qint64 start = 1;
    int i = 0;
    if (argc >= 3) {
        if (nullIn(ctx, 1, argv) || !whole(ctx, argv[0], start)) return;
        if (start < 1) return fail(ctx, "Invalid procedure call");
        i = 1;
    }
    if (nullIn(ctx, 2, argv + i)) return;
    qint64 mode = 1;
    if (argc > i + 2 && !JetArgs::isNull(argv[i + 2]) && !whole(ctx, argv[i + 2], mode)) return;
    const QString haystack = text(argv[i]);
    const QString sought = text(argv[i + 1]);
    if (start > haystack.size()) return sqlite3_result_int(ctx, 0);
    const qsizetype pos =
        haystack.indexOf(sought, start - 1, mode == 0 ? Qt::CaseSensitive : Qt::CaseInsensitive);
    sqlite3_result_int64(ctx, pos < 0 ? 0 : pos + 1);
}

void lcase(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (!nullIn(ctx, 1, argv)) setText(ctx, text(argv[0]).toLower());
}

void ucase(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (!nullIn(ctx, 1, argv)) setText(ctx, text(argv[0]).toUpper());
}

void left(sqlite3_context* ctx, int, sqlite3_value** argv) {
    qint64 n = 0;
    if (nullIn(ctx, 2, argv) || !count(ctx, argv[1], n)) return;
    setText(ctx, text(argv[0]).left(n));
}

void right(sqlite3_context* ctx, int, sqlite3_value** argv) {
    qint64 n = 0;
    if (nullIn(ctx, 2, argv) || !count(ctx, argv[1], n)) return;
    setText(ctx, text(argv[0]).right(n));
}

void len(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (!nullIn(ctx, 1, argv)) sqlite3_result_int64(ctx, text(argv[0]).size());
}

void ltrim(sqlite3_context* ctx, int, sqlite3_value** argv) {
    trimmed(ctx, argv, true, false);
}

void rtrim(sqlite3_context* ctx, int, sqlite3_value** argv) {
    trimmed(ctx, argv, false, true);
}

void trim(sqlite3_context* ctx, int, sqlite3_value** argv) {
    trimmed(ctx, argv, true, true);
}

// Mid(text, start [, length]).
void mid(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    qint64 start = 0, length = -1;
    if (nullIn(ctx, 2, argv) || !whole(ctx, argv[1], start)) return;
    if (start < 1) return fail(ctx, "Invalid procedure call");
    if (argc >= 3 && !JetArgs::isNull(argv[2]) && !count(ctx, argv[2], length)) return;
    setText(ctx, text(argv[0]).mid(start - 1, length));
}

// Replace(text, find, with [, start [, count [, compare]]]): the text from
// `start` on, with up to `count` (-1: all) finds replaced; compare 0 (the
// default) is binary.
void replace(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, argc, argv)) return;
    qint64 start = 1, limit = -1, mode = 0;
    if (argc >= 4 && !whole(ctx, argv[3], start)) return;
    if (argc >= 5 && !whole(ctx, argv[4], limit)) return;
    if (argc >= 6 && !whole(ctx, argv[5], mode)) return;
    if (start < 1 || limit < -1) return fail(ctx, "Invalid procedure call");
    const QString s = text(argv[0]).mid(start - 1);
    const QString find = text(argv[1]);
    const QString with = text(argv[2]);
    if (find.isEmpty() || limit == 0) return setText(ctx, s);
    const Qt::CaseSensitivity cs = mode == 0 ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QString out;
    qsizetype from = 0, done = 0;
    for (qsizetype at; (limit < 0 || done < limit) && (at = s.indexOf(find, from, cs)) >= 0;
         ++done) {
        out += QStringView(s).mid(from, at - from);
        out += with;
        from = at + find.size();
    }
    out += QStringView(s).mid(from);
    setText(ctx, out);
}

void space(sqlite3_context* ctx, int, sqlite3_value** argv) {
    qint64 n = 0;
    if (nullIn(ctx, 1, argv) || !count(ctx, argv[0], n)) return;
    setText(ctx, QString(n, QLatin1Char(' ')));
}

// Str(number): a blank stands in place of the plus sign.
void str(sqlite3_context* ctx, int, sqlite3_value** argv) {
    double x = 0;
    if (nullIn(ctx, 1, argv) || !number(ctx, argv[0], x)) return;
    const QString t = isNumber(argv[0]) ? text(argv[0]) : JetNumbers::text(x);
    setText(ctx, x >= 0 ? QLatin1Char(' ') + t : t);
}

// StrComp(a, b [, compare]): compare 0 is binary, otherwise (and by default) Jet text order.
void strComp(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, 2, argv)) return;
    qint64 mode = 1;
    if (argc >= 3 && !JetArgs::isNull(argv[2]) && !whole(ctx, argv[2], mode)) return;
    const QByteArray a = isNumber(argv[0]) ? text(argv[0]).toUtf8() : utf8(argv[0]).toByteArray();
    const QByteArray b = isNumber(argv[1]) ? text(argv[1]).toUtf8() : utf8(argv[1]).toByteArray();
    int r = 0;
    if (mode == 0) {
        const int n =
            std::memcmp(a.data(), b.data(), static_cast<size_t>(std::min(a.size(), b.size())));
        r = n != 0 ? n : (a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0);
    } else {
        r = JetText::compare(a, b);
    }
    sqlite3_result_int(ctx, r < 0 ? -1 : r > 0 ? 1 : 0);
}

// String(count, character): the character as text (its first letter) or as a code.
void string(sqlite3_context* ctx, int, sqlite3_value** argv) {
    qint64 n = 0;
    if (nullIn(ctx, 2, argv) || !count(ctx, argv[0], n)) return;
    QChar c;
    if (isNumber(argv[1])) {
        qint64 code = 0;
        if (!whole(ctx, argv[1], code)) return;
        c = Ansi::toUnicode(QByteArray(1, static_cast<char>(code & 0xFF))).at(0);
    } else {
        const QString s = text(argv[1]);
        if (s.isEmpty()) return fail(ctx, "Invalid procedure call");
        c = s.at(0);
    }
    setText(ctx, QString(n, c));
}

} // namespace JetCalls
