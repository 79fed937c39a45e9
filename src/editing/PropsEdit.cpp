#include "editing/PropsEdit.h"

#include "components/MediaLibrary.h"
#include "components/TagService.h"

namespace props {

bool PropsEdit::anyMarked() const {
    for (bool m : m_marks)
        if (m) return true;
    return false;
}

void PropsEdit::setText(Field field, const QString& text) {
    const QString value = text.trimmed();
    switch (field) {
    case Field::Title:
        File.title = value;
        break;
    case Field::Artist:
        File.artist = value;
        break;
    case Field::Album:
        File.album = value;
        break;
    case Field::Year:
        File.year = value;
        break;
    case Field::Track:
        File.track = value;
        break;
    case Field::Genre:
        File.genreText = value;
        break;
    case Field::Rating:
        return;
    }
    mark(field);
}

void PropsEdit::setGenre(int number, const QString& text) {
    File.genreNumber = static_cast<quint8>(number >= 0 && number <= 255 ? number : 255);
    File.genreText = text.trimmed();
    mark(Field::Genre);
}

void PropsEdit::setRating(int rating) {
    File.rating = rating;
    mark(Field::Rating);
}

QList<Write> PropsEdit::plan() const {
    QList<Write> writes;
    if (marked(Field::Album)) writes.append({TagService::Album, File.album});
    if (marked(Field::Artist)) writes.append({TagService::Artist, File.artist});
    if (marked(Field::Genre)) {
        writes.append({TagService::GenreNumber_, QString::number(File.genreNumber)});
        writes.append({TagService::GenreText, File.genreText});
    }
    if (marked(Field::Title)) writes.append({TagService::Title, File.title});
    if (marked(Field::Track)) writes.append({TagService::Track, File.track});
    if (marked(Field::Year)) writes.append({TagService::Year, File.year});
    if (marked(Field::Rating) && File.id >= 1) writes.append({-1, QString::number(File.rating)});
    return writes;
}

QStringList PropsEdit::Apply(MediaLibrary& library) {
    const QString file = File.id >= 1 ? QString::number(File.id) : File.fullPath;
    QStringList failures;
    for (const Write& w : plan()) {
        if (w.code < 0) {
            if (!library.SetFileField(File.id, FileField::Rating, File.rating))
                failures << QStringLiteral("the rating could not be stored");
            continue;
        }
        if (w.code == TagService::Album) m_albumWritten = true;
        if (w.code == TagService::Artist) m_artistWritten = true;
        if (Status s = library.Tags()->WriteTag(file, w.code, w.text); !s) failures << s.error();
    }
    for (bool& m : m_marks)
        m = false;
    m_applied = true;
    return failures;
}

} // namespace props
