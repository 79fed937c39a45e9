#pragma once
// Arguments and results of the Jet functions as SQLite calls them. Jet's rules:
// Null in gives Null out (the "$" forms refuse Null), numeric text counts as a
// number, other text where a number belongs is a type mismatch, and numbers read
// as text the way CStr writes them. Errors name the function.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

struct sqlite3_context;
struct sqlite3_value;

namespace JetArgs {

// The user data of each registered function: its Jet name for messages, and
// whether it is a "$" form.
struct Binding {
    QByteArray name;
    bool dollar = false;
};

bool isNull(sqlite3_value* v);
bool isNumber(sqlite3_value* v);
bool isInteger(sqlite3_value* v);

// True when one of the first n arguments is Null; the result is then set: Null,
// or for a "$" form the error "Invalid use of Null".
bool nullIn(sqlite3_context* ctx, int n, sqlite3_value** argv);

QByteArrayView utf8(sqlite3_value* v);
// The value as Jet text.
QString text(sqlite3_value* v);
// The value as a number; false (with the error "Type mismatch" set) for text
// that is no number.
bool number(sqlite3_context* ctx, sqlite3_value* v, double& out);
// As number(), rounded to a whole number with halves to even, as CLng does.
bool whole(sqlite3_context* ctx, sqlite3_value* v, qint64& out);
// A date: a number is OLE days, text is read as a date; else a type mismatch.
bool date(sqlite3_context* ctx, sqlite3_value* v, double& out);

void setText(sqlite3_context* ctx, const QString& s);
// Whole numbers that a double holds exactly are given as integers.
void setNumber(sqlite3_context* ctx, double x);
// "MESSAGE in FUNCTION".
void fail(sqlite3_context* ctx, const char* message);

} // namespace JetArgs
