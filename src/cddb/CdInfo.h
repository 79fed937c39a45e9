#pragma once
// The disc record of a CDDB look-up: artist and album from the query's match
// line, year, genre and track titles from the read. Copied whole.
#include <QString>

#include <array>
#include <cstdint>

struct CdTrackTitle {
    QString title;
    quint8 number = 0; // 1-based; 0 for an entry the read did not fill
};

struct CdInfo {
    static constexpr int MaxTracks = 100;

    QString artist;
    QString album;
    QString year;     // at most 4 characters
    QString discId;   // "%SELECT$" while a query's several matches wait for a choice
    QString category; // the CDDB category (first word of the match line)
    QString genre;    // the disc's own genre text, which may be empty
    quint8 trackCount = 0;
    std::array<CdTrackTitle, MaxTracks> tracks;
};
