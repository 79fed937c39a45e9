#pragma once
// The Jet functions and operators the dialect knows, in one table: the Jet name,
// the name registered on SQLite, the arities and the implementation. The
// translator rewrites every call through this table (an unknown name is an
// error), so no SQLite function of the same name can answer in Jet's place.
// Also registered on every connection: a LIKE with Jet's text rules and the
// JETTEXT collation of the library's text columns.
#include <QByteArrayView>
#include <QStringView>

#include <span>

struct sqlite3;
struct sqlite3_context;
struct sqlite3_value;

namespace JetFunctions {

struct Function {
    enum Flags : unsigned {
        None = 0,
        Dollar = 1,   // has a "$" form (Left$...) that refuses Null
        Volatile = 2, // not the same answer twice (Now)
        Operator = 4, // stands for an operator (&, Mod, \, ^); not callable by name
    };
    const char* name;    // as Jet spells it
    const char* sqlName; // as registered on SQLite; the "$" form adds "$"
    int minArgs;
    int maxArgs; // -1: any number
    void (*call)(sqlite3_context*, int, sqlite3_value**);
    unsigned flags = None;
};

std::span<const Function> functions();

// The function a Jet call names, without regard to case; "Left$" finds Left
// (dollar is then true). Null for a name Jet does not know here, and for operators.
const Function* find(QStringView name, bool* dollar = nullptr);
// The function behind an operator: "&", "mod", "\", "^".
const Function* findOperator(QStringView op);

// Registers the table, LIKE and the collation on the connection; false when SQLite refused.
bool registerAll(sqlite3* db);

// Jet's Val(): the number at the start of the text, blanks ignored, "&H"/"&O"
// prefixes understood; 0 when there is none.
double val(QByteArrayView text);

} // namespace JetFunctions
