#pragma once
// What a conversion is made of before it runs: the queued source files, the
// options chosen for them, and the rows (source, target, state) they become.
#include <QList>
#include <QString>

#include <optional>

namespace convert {

// One queued source file.
struct ConvertItem {
    QString Folder;   // up to and including the last separator
    QString FullPath; // exactly as queued
    QString Title;    // file name without its last dot and extension
    QString FileName; // after the last separator
};

// The ordered queue. Only existing files are queued, each path once; paths are
// compared as this file system compares them (case-sensitively).
class ConvertQueue {
public:
    bool AddFile(const QString& path);
    const QList<ConvertItem>& Items() const { return m_items; }
    int Count() const { return static_cast<int>(m_items.size()); }

    static ConvertItem MakeItem(const QString& path);

private:
    QList<ConvertItem> m_items;
};

enum TargetFormat { TargetMp3 = 0, TargetWma = 1, TargetWav = 2 };
// "MP3", "WMA", "WAV".
QString FormatText(int format);
// The format of a --format word (mp3, wma, wav, any case), or -1.
int FormatOfText(const QString& text);

// Tag values that replace the source's own; unset ones are carried over.
struct TagOverrides {
    std::optional<QString> title, artist, album, year;
    std::optional<QString> genreName;
    int genreCode = 255;
};

struct ConvertOptions {
    int format = TargetMp3;
    // Empty: every target is named after its own source title.
    QString targetName;
    // Empty: every target goes to its source's folder.
    QString targetFolder;
    bool deleteOriginals = false;
    bool addToLibrary = true;
    TagOverrides overrides;
};

enum class RowState { Ready, Decoding, Encoding, Completed, Failed, Canceled };
// "ready", "decoding", "encoding", "completed", "failed", "canceled".
QString StateWord(RowState state);
// The row colour as 0xRRGGBB; -1 for the list's default.
int StateColor(RowState state);

struct ConvertRow {
    QString source;
    QString target;
    QString targetName;
    RowState state = RowState::Ready;
    QString reason; // why the row failed
};

// Source type: the last three characters in upper case ("MP3", "WMA", "WAV").
QString SourceType(const QString& path);
// MP3 targets from MP3 or WMA sources take a decode step first.
bool NeedsDecodeStep(const QString& source, int format);
// The rows of a run, in queue order, all "ready".
QList<ConvertRow> PlanRows(const QList<ConvertItem>& items, const ConvertOptions& options);
// One step per row plus one per decode step.
int CountSteps(const QList<ConvertRow>& rows, int format);

} // namespace convert
