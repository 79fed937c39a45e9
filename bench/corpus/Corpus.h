#pragma once
// A generator of test and benchmark music libraries: N MP3 files with varied
// ID3v2.3 tags in nested folders, all made from one short LAME-encoded
// template, and a way to turn such a corpus into a library database.
#include "components/LibraryScanner.h"
#include "core/Result.h"

#include <QByteArray>
#include <QString>

namespace corpus {

// `seconds` of a 440 Hz tone encoded by LAME as CBR MP3 (no ID3 tag).
QByteArray EncodeMp3(double seconds, int kbps = 64, int channels = 1, int sampleRate = 44100);

struct TagFields {
    QString artist, album, title, track, year, genre, comment;
};
// An ID3v2.3 tag with a text frame for each non-empty field (ISO-8859-1 when
// the text fits, else UTF-16 with BOM).
QByteArray Id3v23(const TagFields& tags);
// A 128-byte ID3v1 tag.
QByteArray Id3v1(const TagFields& tags, int genreNumber);

struct Spec {
    int files = 1000;
    quint32 seed = 1;
    double templateSeconds = 0.25;
};

struct Stats {
    int files = 0;
    int artists = 0; // distinct artist tags (blank counts as one)
    int albums = 0;  // distinct (artist, album) pairs
    qint64 bytes = 0;
};

// The tags of file i of a corpus of n files (deterministic for a seed). About
// one artist per 20 files and one album per 10 (5,000 artists and 10,000
// albums at 100,000 files); some artists, albums and titles blank, some with
// accents or apostrophes.
TagFields TagsOf(int index, int files, quint32 seed);
// The path of file i below the root: root/gNN/aNNNNN/bNNNNN/NN - title.mp3
// (a few with the extension in capitals).
QString RelativePathOf(int index, int files, quint32 seed);

// Writes the corpus below root (created when needed; files already there are
// overwritten).
Result<Stats> Generate(const QString& root, const Spec& spec);

// Makes a fresh library database at dbPath from the schema, adds root as its
// media folder and scans it.
Result<ScanCounts> BuildLibrary(const QString& root, const QString& dbPath,
                                const LibraryScanner::Callbacks& callbacks = {});

} // namespace corpus
