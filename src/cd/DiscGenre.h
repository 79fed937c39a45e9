#pragma once
// The genre number of a looked-up disc: its own genre text when that names a
// standard genre, otherwise its CDDB category (many discs carry a free-text
// genre, while the category is one of a few standard words such as "rock").
#include <QString>

namespace cd {

// 255 when neither names a standard genre.
int DiscGenreNumber(const QString& genreText, const QString& category);

} // namespace cd
