#pragma once
// The library database's tables, and the template `data.blk` made from them.
#include "core/Database.h"

#include <QList>
#include <QPair>
#include <QString>

namespace LibrarySchema {

// Bumped when the tables change; stored in table INFO as "schema".
inline constexpr int kVersion = 2;

// Creates every table, column, index and trigger that is missing, and fills ID3_GENRES
// when it is empty. Safe on a database that already has them.
Status ensure(db::Database& db);
// Writes a fresh template database (rollback journal, one file) to the path,
// replacing it atomically.
Status createTemplate(const QString& path);

// The standard ID3v1 genres 0-147, index = genre number.
const QStringList& Genres();
// The genre number of a name (letter case ignored), or 255.
int GenreNumber(const QString& name);
// The name of a genre number, or "" when the number is no standard genre.
QString GenreName(int number);
// The genres sorted by name (letter case ignored), each with its number; with
// includeNone the first entry is ("", 255), the entry for no genre.
QList<QPair<QString, int>> GenreList(bool includeNone);

} // namespace LibrarySchema
