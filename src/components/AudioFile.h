#pragma once
// Reading the tags and audio properties of one audio file with TagLib. Used by
// the scanner (on several threads at once), by AddLibraryFile and by TagService.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <string>

enum class AudioType { None, Mp3, Wma, Wav };

// The audio type of a file name by its extension (.mp3, .wma, .wav, any case).
AudioType AudioTypeOf(QByteArrayView fileName);
inline AudioType AudioTypeOf(const QByteArray& fileName) {
    return AudioTypeOf(QByteArrayView(fileName));
}
inline AudioType AudioTypeOf(const QString& fileName) {
    return AudioTypeOf(fileName.toUtf8());
}
// "MP3", "WMA", "WAV" or "".
const char* AudioTypeName(AudioType type);

// What the library keeps of a file's contents. Text is UTF-8. A file that
// cannot be read (corrupt, truncated, unreadable) leaves everything empty.
struct AudioFacts {
    std::string artist, album, title, track, year, genre, comment;
    int genreId = 255;
    double duration = 0; // seconds
    int bitrate = 0;     // bits per second
    int frequency = 0;   // Hz
    int channels = 0;
    bool readable = false; // TagLib could parse the file
    // HeadHash of the file's start; set whenever the file could be opened.
    std::optional<qint64> headHash;
};

// Reads the file at the raw path (file-system bytes). Thread-safe; never throws.
// knownSize: the size just read by stat, or -1.
AudioFacts ReadAudioFacts(const char* path, AudioType type, long knownSize = -1);
// The same for a path in the library's text form (see FileNameCodec).
AudioFacts ReadAudioFacts(const QString& path);
// Silences TagLib's diagnostic messages on stderr (called by ReadAudioFacts).
void QuietTagLib();
