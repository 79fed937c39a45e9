#pragma once
// The decoder object: MP3 and WMA files to 16-bit PCM WAV, on FFmpeg.
#include <QString>

class AudioDecoder {
public:
    bool Mp3DecoderAvailable() const;
    bool WmaDecoderAvailable() const;
    // limit is taken for callers that pass one and does not bound the decode.
    // False when the source cannot be read as that format or the target cannot
    // be written; a failed decode leaves the target as it was.
    bool DecodeMp3ToWav(const QString& source, const QString& wavPath, int limit = 600);
    bool DecodeWmaToWav(const QString& source, const QString& wavPath, int limit = 600);
    QString LastError() const { return m_error; }

private:
    enum class Kind { Mp3, Wma };
    bool decode(Kind kind, const QString& source, const QString& wavPath);

    QString m_error;
};
