#pragma once
// Rewrites Jet SQL text into SQLite SQL with the same meaning. Every statement
// the application or a user writes passes through `JetTranslator::translate`.
//
//  - literals: "text" and 'text' become 'text'; #dates# become OLE day numbers;
//    unterminated text, [names] and #dates# are errors (see JetLexer);
//  - expressions are read with Jet's operator precedence (^, unary -, * /, \,
//    Mod, + -, &) and written with the parentheses SQLite needs; "/" divides
//    as floating point; &, Mod, \ and ^ become calls of Jet functions;
//  - every function call goes through JetFunctions' table: Left(...) becomes
//    jet_left(...); an unknown name or a wrong number of arguments is an
//    error. count, sum, avg, min and max (one argument) stay SQLite's;
//  - "select top n ..." becomes "select ... limit n" of the same select;
//    bare Now becomes jet_now(); True/False become 1/0; DISTINCTROW becomes DISTINCT;
//  - strcomp(col,'lit',0)=0 becomes a comparison that can use an index on col;
//  - the output never holds "--", "/*" or "->", which SQLite would read as
//    comments or a JSON operator.
#include "core/Result.h"

#include <QString>

namespace JetTranslator {

Result<QString> translate(const QString& jetSql);

} // namespace JetTranslator
