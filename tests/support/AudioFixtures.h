#pragma once
// Real audio files for tests: MP3 encoded by LAME, WMA (wmav2 in ASF) encoded by
// FFmpeg, WAV written directly. Tags are written with the project's own ID3v2.3
// writer (MP3) or TagLib (WMA).
#include "corpus/Corpus.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace fixtures {

using corpus::TagFields;

// Tags with only the artist set.
inline TagFields ArtistOnly(const QString& artist) {
    TagFields t;
    t.artist = artist;
    return t;
}

// The MP3 audio part (cached): 0.5 s, 128 kbps stereo, 44.1 kHz.
const QByteArray& Mp3Audio();
// Writes an MP3 with an ID3v2.3 tag (when any field is set) and, when asked, an
// ID3v1 tag at the end. False on a write error.
bool WriteMp3(const QString& path, const TagFields& tags, bool withId3v1 = false);
// Writes 0.5 s of wmav2 audio in ASF, then the tags through TagLib.
bool WriteWma(const QString& path, const TagFields& tags);
// Writes 0.5 s of wmav2 audio with FFmpeg's own tags: title, author, copyright,
// comment and rating in the content description (absent ones with length 0),
// the others, and "Author" again, as extended attributes.
using WmaMetadata = QList<QPair<QByteArray, QByteArray>>;
bool WriteWmaByFFmpeg(const QString& path, const WmaMetadata& metadata);
// Writes 0.5 s of 16-bit stereo PCM at 44.1 kHz.
bool WriteWav(const QString& path, double seconds = 0.5);
// Writes whatever bytes (for corrupt files).
bool WriteBytes(const QString& path, const QByteArray& bytes);
QByteArray ReadBytes(const QString& path);

} // namespace fixtures
