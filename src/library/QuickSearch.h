#pragma once
// The quick search: a typed text found in file names and the main tags.
#include <QString>

namespace QuickSearch {

constexpr int MinimumLength = 3;

// The trimmed text is long enough to search for.
bool IsLongEnough(const QString& text);
// "?" + the trimmed text: the list query that runs the search.
QString ListQuery(const QString& text);
// The statement for a search term (the list query without its "?").
QString Sql(const QString& term);

} // namespace QuickSearch
