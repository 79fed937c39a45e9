#pragma once
// Turns the condition grid into the Jet statement a smart filter stores and
// runs. Pure: reads only its arguments. Rows whose values cannot be used are
// left out silently, so an empty grid gives "select * from files".
#include "filters/FilterGrid.h"

#include <QString>

namespace filters {

// The statement: "select * from files" or "select * from files where ...".
QString Compile(const FilterGrid& grid, const GenreList& genres);

// The fragment of one row, trimmed; empty when the row is off or unusable.
QString CompileRow(const FilterGrid& grid, const GenreList& genres, int row);

// The WHERE part of a compiled statement, as expert mode shows it.
QString WherePart(const QString& statement);

} // namespace filters
