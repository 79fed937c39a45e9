#pragma once
// The grid as JSON, for the command line:
//   {"logic":"AND"|"OR","rows":[{"row":0-10,"op":K,"not":true|false, ...values}]}
// Values by row: "text" (rows 0-3, 7, 9, 10), "genre" (row 4: a list position
// or a genre's name), "from"/"until" (yyyy-MM-ddTHH:mm:ss) and "days" (rows 5,
// 6), "unit" 0-3 (row 7). Rows left out are "{ignore}".
#include "core/Result.h"
#include "filters/FilterGrid.h"

#include <QByteArray>
#include <QDateTime>

namespace filters {

// `now` is where date pickers without a value stand, as in a fresh editor.
// The bit rate is checked as the editor checks it: a number above 0.
Result<FilterGrid> GridFromJson(const QByteArray& json, const GenreList& genres,
                                const QDateTime& now);

} // namespace filters
