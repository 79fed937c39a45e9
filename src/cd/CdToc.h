#pragma once
// A disc's table of contents and what is derived from it alone: the freedb
// disc id, the CDDB query command and the length texts.
#include <QList>
#include <QString>

#include <cstdint>

namespace cd {

// 75 sectors a second; every address on a disc counts the 150-sector lead-in.
constexpr int SectorsPerSecond = 75;
constexpr int LeadInSectors = 150;
constexpr int BytesPerSector = 2352;
constexpr int FramesPerSector = 588; // stereo 16-bit frames

struct CdToc {
    struct Track {
        int number = 0;  // as the disc numbers it
        int32_t lba = 0; // start address, lead-in included
        bool audio = true;
    };
    QList<Track> tracks; // every track of the disc, data tracks too
    int32_t leadoutLba = 0;

    // The audio tracks in disc order; callers number them 1..audioCount().
    int audioCount() const;
    // Index into tracks of audio track n (1-based), or -1.
    int indexOfAudio(int n) const;
    // Sectors of tracks[index]: up to the next track or the lead-out.
    int32_t sectorsOf(int index) const;

    // The freedb id over all tracks, as 8 lower-case hexadecimal digits.
    uint32_t freedbId() const;
    QString discIdText() const;
    // "cddb query ID COUNT OFFSETS... SECONDS" over all tracks.
    QString cddbQuery() const;
    // Playing time from the first track to the lead-out, in whole seconds.
    int discSeconds() const;
};

// "m:ss"; the minutes are not limited to 59.
QString LengthText(int seconds);

} // namespace cd
