#pragma once
// Splits Jet SQL into tokens, as Jet reads it: text in '…' or "…" (a doubled
// quote inside stands for one), [names], #date literals#, words, numbers and
// operators. Jet has no comments: "--" is two minus signs and "/*" a division
// followed by "*". Unterminated text, names and dates are errors, as are the
// SQLite operators Jet does not have (||, |, %, ~...).
#include "core/Result.h"

#include <QList>
#include <QString>

namespace JetLexer {

enum class Kind {
    Space,
    Word,
    Number,
    String,  // already in SQLite form: '…' with ' doubled
    Bracket, // [name]
    Date,    // the OLE day number of a #date#
    Op,
    LParen,
    RParen,
    Comma,
    Other,  // rewritten text that stands as one operand
    Clause, // rewritten text that stands between operands (" limit 20")
};

struct Token {
    Kind kind;
    QString text;
};

Result<QList<Token>> tokenize(const QString& jetSql);

} // namespace JetLexer
