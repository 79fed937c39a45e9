#pragma once
// The editing state of the properties dialog for one file: the record being
// edited, the change marks of the seven editable fields, and Apply, which
// writes exactly the marked fields through the media library.
#include "components/FileRecord.h"

#include <QList>
#include <QString>
#include <QStringList>

class MediaLibrary;

namespace props {

enum class Field { Title, Artist, Album, Year, Track, Genre, Rating };
inline constexpr int FieldCount = 7;

// One write of Apply: a tag code with its text, or (code -1) the rating.
struct Write {
    int code;
    QString text;
};

class PropsEdit {
public:
    explicit PropsEdit(FileRecord record = {}) : File(std::move(record)) {}

    // The record as edited; Apply writes from it.
    FileRecord File;

    void mark(Field field) { m_marks[static_cast<int>(field)] = true; }
    bool marked(Field field) const { return m_marks[static_cast<int>(field)]; }
    bool anyMarked() const;

    // The edits of the tag fields: the trimmed text goes into the record.
    void setText(Field field, const QString& text);
    // The genre as the text box and the genre list hold it.
    void setGenre(int number, const QString& text);
    void setRating(int rating);

    // The writes Apply makes, in its order: album, artist, genre number and
    // genre text, title, track, year, then the rating (only for a file in the
    // library).
    QList<Write> plan() const;
    // Makes the writes (the file by its id when it has one, else by its path),
    // clears the marks and sets the flags. Returns the reasons of the writes
    // that failed; the others are made all the same.
    QStringList Apply(MediaLibrary& library);

    bool applied() const { return m_applied; }
    bool artistWritten() const { return m_artistWritten; }
    bool albumWritten() const { return m_albumWritten; }

private:
    bool m_marks[FieldCount] = {};
    bool m_applied = false;
    bool m_artistWritten = false;
    bool m_albumWritten = false;
};

} // namespace props
