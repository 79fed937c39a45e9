#include "cd/DiscGenre.h"

#include "components/TagService.h"

namespace cd {

int DiscGenreNumber(const QString& genreText, const QString& category) {
    const int number = TagService::GenreNumber(genreText);
    return number != 255 ? number : TagService::GenreNumber(category);
}

} // namespace cd
