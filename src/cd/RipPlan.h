#pragma once
// The rip wizard's target list: where each track goes and under what name,
// and which names cannot be used.
#include <QList>
#include <QString>

namespace cd {

enum RipFormat { RipMp3 = 0, RipWma = 1, RipWav = 2 };

inline constexpr const char* DefaultRipPattern = "%N - %T";

struct RipPlanTrack {
    int number = 0; // on the disc, 1-based
    QString title;
};

struct RipPlanInput {
    QString folder; // the output folder
    bool subfolder = false;
    QString pattern;
    int format = RipMp3;
    QString artist;
    QString album;
    QString year;
    QList<RipPlanTrack> tracks;
};

struct RipTarget {
    enum Check { Ready, Exists, SameName, NoName };
    int number = 0;
    QString title;
    QString name;   // file name with extension
    QString folder; // with a trailing separator
    Check check = Ready;
    QString path() const { return folder + name; }
};

// "%n" becomes "%N" and so on for the five tags; other text stays.
QString RaisePatternTags(const QString& pattern);
// ".mp3", ".wma" or ".wav".
QString RipExtension(int format);
// The output folder with a trailing separator, plus "Artist - Album", "Artist"
// or "Album" when a subfolder is wanted and those are not blank. A "/" in
// them becomes "-", and a name of only dots becomes underscores.
QString RipFolder(const QString& folder, bool subfolder, const QString& artist,
                  const QString& album);
// The pattern filled in for one track, with the extension appended unless the
// name already ends in it (letter case ignored). A "/" becomes "-".
QString RipFileName(const RipPlanInput& input, const RipPlanTrack& track);
// One entry per track in order, each checked against the files present and
// against the other entries' names (equal ignoring case). A name that is
// nothing but its extension (an empty title with "%T") is refused too.
QList<RipTarget> BuildRipPlan(const RipPlanInput& input);
bool RipPlanUsable(const QList<RipTarget>& plan);

} // namespace cd
