#pragma once
// Writes a CUE/BIN disc image from generated PCM, so that the CD code can be
// tried without a drive. Kept free of the test framework: the rip benchmark
// uses it too.
#include <QList>
#include <QString>

#include <cstdint>
#include <vector>

namespace fixtures {

struct CdImageTrack {
    bool audio = true;
    // Audio: the interleaved 16-bit stereo samples as the disc holds them, that
    // is the generated frames followed by the silence that fills the last sector.
    std::vector<int16_t> samples;
    int64_t frames = 0;      // generated frames, before that padding
    int32_t startSector = 0; // where the track starts in the BIN file
    int32_t sectors = 0;
};

struct CdImage {
    QString cuePath;
    QString binPath;
    QList<CdImageTrack> tracks; // in disc order, the data track too
    int32_t totalSectors = 0;
};

// Writes NAME.cue and NAME.bin into folder: one audio track per entry of
// audioFrames (frames of 1/44100 s each, noise from a fixed seed), after a
// MODE1/2352 data track of dataSectors sectors when dataSectors > 0. The BIN
// holds the audio little-endian, as a CUE "BINARY" file means, or big-endian
// under a "MOTOROLA" file when bigEndian is set.
CdImage WriteCdImage(const QString& folder, const QString& name, const QList<int64_t>& audioFrames,
                     int dataSectors = 0, uint32_t seed = 1, bool bigEndian = false);

} // namespace fixtures
