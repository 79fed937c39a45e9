#pragma once
// 16-bit PCM WAV files: the encoders read them, the decoder writes them.
#include "core/Result.h"

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <cstdint>
#include <vector>

namespace convert {

// Reads the samples of a 16-bit PCM WAV file (plain or extensible format, one or
// two channels) in blocks.
class WavReader {
public:
    Status open(const QString& path);
    int channels() const { return m_channels; }
    int sampleRate() const { return m_sampleRate; }
    // Frames (one sample per channel) in the data chunk, as far as the file holds them.
    qint64 frames() const { return m_frames; }
    // Reads up to maxFrames interleaved frames into samples; 0 at the end. A read
    // error gives -1.
    qint64 read(std::vector<int16_t>& samples, qint64 maxFrames);

private:
    QFile m_file;
    int m_channels = 0;
    int m_sampleRate = 0;
    qint64 m_frames = 0;
    qint64 m_left = 0;
};

// Writes a 16-bit PCM WAV file; the sizes in the header are filled in by commit().
// Nothing replaces the target unless commit() succeeds.
class WavWriter {
public:
    Status open(const QString& path, int channels, int sampleRate);
    bool write(const int16_t* samples, qint64 frames);
    Status commit();
    qint64 dataBytes() const { return m_dataBytes; }

private:
    QSaveFile m_file;
    int m_channels = 0;
    int m_sampleRate = 0;
    qint64 m_dataBytes = 0;
};

} // namespace convert
