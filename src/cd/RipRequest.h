#pragma once
// What the audio-CD panel hands to the rip wizard: the disc data as the user
// edited it, the drive, and the tracks to rip in disc order.
#include <QList>
#include <QString>

struct RipTrackEntry {
    QString name;   // the track's title as the panel shows it
    int number = 0; // its track number on the disc (1-based)
};

struct RipRequest {
    static constexpr int MaxTracks = 200;

    QString album;
    QString artist;
    QString year;
    int genreNumber = 255;
    QString genreText;
    int drive = 0; // CD number as the CD watcher counts them (1-based)
    QList<RipTrackEntry> tracks;
};
