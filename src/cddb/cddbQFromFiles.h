#pragma once
// Lays library files out as the tracks of an imaginary audio CD, from their
// playing times in the order added, and writes the CDDB query for that disc:
// every track starts 2 seconds (the lead-in) after the end of the one before.
#include "core/Result.h"

#include <QString>
#include <QVariant>
#include <array>

class cddbQFromFiles {
public:
    static constexpr int MaxTracks = 256;
    static constexpr int FramesPerSecond = 75;
    static constexpr int GapSeconds = 2;

    void Reset();
    // duration: seconds as a number or a numeric text (rounded, halves to even),
    // or a time text "m:ss" / "h:mm:ss". An unusable duration and every track
    // beyond the 256th are skipped; the result fails only when the disc would
    // leave the 32-bit range (the track is then skipped too).
    Status AddTrack(const QVariant& duration, bool noGap = false);
    int TrackCount() const { return m_count; }
    // The disc id in upper-case hexadecimal, no leading zeros; "" without tracks.
    QString DiscId() const;
    // "cddb query ID COUNT OFFSET... SECONDS"; "" without tracks.
    QString QueryCommand() const;

    // The whole seconds a duration stands for, or -1.
    static qint64 Seconds(const QVariant& duration);

private:
    int m_count = 0;
    std::array<qint32, MaxTracks> m_starts{};
    std::array<qint32, MaxTracks> m_lengths{};
    qint32 m_total = 0;
};
