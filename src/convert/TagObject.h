#pragma once
// The ID3 and WMA tag objects: open a file, read and change title, artist,
// album, year, comment, genre and track, save.
//
// Save writes only the fields that changed since Open, each through the same
// writers as every other tag write (TagService), so frames and attributes the
// object does not know (pictures, lyrics, user frames) stay as they are, and a
// failed write leaves the file as it was. The comment, which TagService does
// not edit, is the ID3v2 comment frame without description (and the ID3v1
// comment where there is one), or the WMA content-description comment.
#include "core/Result.h"

#include <QString>

#include <array>

class AudioTagObject {
public:
    enum Field {
        TitleTag,
        ArtistTag,
        AlbumTag,
        YearTag,
        CommentTag,
        GenreTag,
        TrackTag,
        FieldCount
    };

    virtual ~AudioTagObject() = default;

    // Reads the file's tag; false (with LastError) when it cannot be read.
    bool Open(const QString& path);
    // Writes the changed fields; false when one could not be written (those
    // before it are written).
    bool Save();
    QString LastError() const { return m_error; }
    QString FilePath() const { return m_path; }

    QString Value(Field field) const { return m_values[field]; }
    void SetValue(Field field, const QString& text) { m_values[field] = text; }
    // Empties every field (Save then removes them).
    void Clear();

    QString Title() const { return Value(TitleTag); }
    QString Artist() const { return Value(ArtistTag); }
    QString AlbumName() const { return Value(AlbumTag); }
    QString YearText() const { return Value(YearTag); }
    QString CommentText() const { return Value(CommentTag); }
    QString GenreName() const { return Value(GenreTag); }
    QString TrackText() const { return Value(TrackTag); }

protected:
    using Values = std::array<QString, FieldCount>;
    virtual Status read(const QByteArray& path, Values& values) const = 0;
    virtual Status writeComment(const QByteArray& path, const QString& text) const = 0;

private:
    QString m_path;
    QString m_error;
    Values m_values;
    Values m_opened;
};

// ID3 tags of MP3 files (ID3v2, or ID3v1 where there is no ID3v2 tag).
class Id3TagObject : public AudioTagObject {
protected:
    Status read(const QByteArray& path, Values& values) const override;
    Status writeComment(const QByteArray& path, const QString& text) const override;
};

// The tags of WMA files.
class WmaTagObject : public AudioTagObject {
protected:
    Status read(const QByteArray& path, Values& values) const override;
    Status writeComment(const QByteArray& path, const QString& text) const override;
};
