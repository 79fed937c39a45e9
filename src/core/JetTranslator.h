#pragma once
// Rewrites Jet SQL text into SQLite SQL with the same meaning. Every statement
// the application or a user writes passes through `JetTranslator::translate`.
//
//  - "text" literals become 'text'; #yyyy-MM-dd# and #M/d/yyyy# (with an optional
//    time) become OLE day numbers;
//  - "select top n ..." becomes "select ... limit n" of the same select;
//  - bare Now becomes now(); True/False become 1/0; Mod becomes %;
//    DISTINCTROW becomes DISTINCT; left()/right() become jet_left()/jet_right()
//    (LEFT and RIGHT are SQLite keywords);
//  - & concatenation becomes || with Jet's precedence (below arithmetic);
//  - "/" divides as floating point, as in Jet ("a/b" becomes "a*1.0/b");
//  - strcomp(col,'lit',0)=0 becomes a comparison that can use an index on col.
#include <QString>

namespace JetTranslator {

QString translate(const QString& jetSql);

} // namespace JetTranslator
