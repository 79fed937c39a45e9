#pragma once
// The Jet functions and text rules registered on every SQLite connection:
// strcomp, val, cdate, format, now, iif, ucase, lcase, len, mid, left, right,
// instr, year, month, day, isnull, cstr, cdbl, clng, cint; a case-insensitive
// LIKE for all letters; and the JETTEXT collation of the library's text columns.
#include <QString>

struct sqlite3;

namespace JetFunctions {

// Registers everything on the connection; false when SQLite refused.
bool registerAll(sqlite3* db);

// Jet's Val(): the number at the start of the text, blanks ignored, "&H"/"&O"
// prefixes understood; 0 when there is none.
double val(QByteArrayView text);
// Jet's CDate() for text: ISO dates ("2024-03-02", with an optional time), US
// dates ("3/2/2024") and times; false when the text is no date.
bool parseDate(QByteArrayView text, double& oleDays);
// Jet's Format() of a date/time (OLE days) with a pattern such as "yyyy-MM-dd".
QString formatDate(double oleDays, const QString& pattern);

} // namespace JetFunctions
