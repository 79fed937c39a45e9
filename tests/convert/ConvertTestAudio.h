#pragma once
// Generated WAV inputs for the encoder and decoder tests.
#include "convert/WavFile.h"

#include <QFile>
#include <taglib/mpegfile.h>
#include <taglib/mpegheader.h>

#include <cmath>
#include <vector>

// Writes seconds of a tone (quiet for the first half when varied, so that a VBR
// stream's first frame says nothing about its average bit rate).
inline bool WriteToneWav(const QString& path, double seconds, int channels = 2, int rate = 44100,
                         bool varied = false) {
    convert::WavWriter w;
    if (!w.open(path, channels, rate)) return false;
    const auto frames = static_cast<qint64>(seconds * rate);
    std::vector<int16_t> pcm(static_cast<size_t>(frames * channels));
    for (qint64 i = 0; i < frames; ++i) {
        const bool quiet = varied && i < frames / 2;
        const double t = static_cast<double>(i) / rate;
        const double v = quiet ? 0.0
                               : 9000 * std::sin(2 * M_PI * 440 * t) +
                                     (varied ? 6000 * std::sin(2 * M_PI * 7919 * t * t) : 0.0);
        for (int c = 0; c < channels; ++c)
            pcm[static_cast<size_t>(i * channels + c)] = static_cast<int16_t>(v * (c ? 0.5 : 1));
    }
    return w.write(pcm.data(), frames) && w.commit().ok();
}

// The bit rate in the header of the first audio frame after the LAME/Info frame.
inline int FrameBitrate(const QString& path) {
    TagLib::MPEG::File f(QFile::encodeName(path).constData());
    if (!f.isValid()) return -1;
    const long second = f.nextFrameOffset(f.firstFrameOffset() + 1);
    return TagLib::MPEG::Header(&f, second).bitrate();
}
