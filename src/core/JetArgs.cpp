#include "core/JetArgs.h"

#include "core/JetDates.h"
#include "core/JetNumbers.h"

#include <sqlite3.h>

#include <cmath>

namespace JetArgs {

namespace {

const Binding* bindingOf(sqlite3_context* ctx) {
    return static_cast<const Binding*>(sqlite3_user_data(ctx));
}

} // namespace

bool isNull(sqlite3_value* v) {
    return sqlite3_value_type(v) == SQLITE_NULL;
}

bool isNumber(sqlite3_value* v) {
    const int t = sqlite3_value_type(v);
    return t == SQLITE_INTEGER || t == SQLITE_FLOAT;
}

bool isInteger(sqlite3_value* v) {
    return sqlite3_value_type(v) == SQLITE_INTEGER;
}

bool nullIn(sqlite3_context* ctx, int n, sqlite3_value** argv) {
    for (int i = 0; i < n; ++i) {
        if (!isNull(argv[i])) continue;
        const Binding* b = bindingOf(ctx);
        if (b && b->dollar)
            fail(ctx, "Invalid use of Null");
        else
            sqlite3_result_null(ctx);
        return true;
    }
    return false;
}

QByteArrayView utf8(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return QByteArrayView(p, sqlite3_value_bytes(v));
}

QString text(sqlite3_value* v) {
    if (sqlite3_value_type(v) == SQLITE_FLOAT) return JetNumbers::text(sqlite3_value_double(v));
    const QByteArrayView t = utf8(v);
    return QString::fromUtf8(t.data(), t.size());
}

bool number(sqlite3_context* ctx, sqlite3_value* v, double& out) {
    if (isNumber(v)) {
        out = sqlite3_value_double(v);
        return true;
    }
    if (JetNumbers::parse(text(v), out)) return true;
    fail(ctx, "Type mismatch");
    return false;
}

bool whole(sqlite3_context* ctx, sqlite3_value* v, qint64& out) {
    if (isInteger(v)) {
        out = sqlite3_value_int64(v);
        return true;
    }
    double x = 0;
    if (!number(ctx, v, x)) return false;
    x = std::nearbyint(x);
    if (!(std::fabs(x) < 9.2e18)) {
        fail(ctx, "Overflow");
        return false;
    }
    out = static_cast<qint64>(x);
    return true;
}

bool date(sqlite3_context* ctx, sqlite3_value* v, double& out) {
    if (isNumber(v)) {
        out = sqlite3_value_double(v);
        return true;
    }
    if (JetDates::parse(text(v), out)) return true;
    fail(ctx, "Type mismatch");
    return false;
}

void setText(sqlite3_context* ctx, const QString& s) {
    const QByteArray u = s.toUtf8();
    sqlite3_result_text(ctx, u.constData(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
}

void setNumber(sqlite3_context* ctx, double x) {
    if (std::isfinite(x) && x == std::trunc(x) && std::fabs(x) < 9007199254740992.0)
        sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(x));
    else
        sqlite3_result_double(ctx, x);
}

void fail(sqlite3_context* ctx, const char* message) {
    const Binding* b = bindingOf(ctx);
    const QByteArray m = b ? QByteArray(message) + " in " + b->name : QByteArray(message);
    sqlite3_result_error(ctx, m.constData(), static_cast<int>(m.size()));
}

} // namespace JetArgs
