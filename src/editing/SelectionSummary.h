#pragma once
// What the summary of a multiple selection shows: the number of files, their
// total size and total duration, and their full paths.
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

class MediaLibrary;

namespace props {

struct SelectedFile {
    qint32 id = 0;
    QString fullPath; // the list item's path
};

struct SelectionSummary {
    int count = 0;
    // Totals in ten-thousandths, as the library's fixed-point values add up.
    qint64 sizeUnits = 0;
    qint64 durationUnits = 0;
    QStringList paths; // in list order, in their long form
    // The three lines: count, total size, total duration.
    QStringList info;
};

// Sizes and durations from the rows (a file without a row adds nothing).
SelectionSummary Summarize(MediaLibrary& library, const QList<SelectedFile>& files,
                           const QLocale& locale = QLocale());

} // namespace props
