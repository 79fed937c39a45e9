#pragma once
// FDATA: the grid as MFILTERS stores it, so that a saved filter opens again as
// it was. One line per control, CR LF between lines: the control's name, "*"
// and its index for a control of an indexed group, a NUL, the value.
#include "filters/FilterGrid.h"

#include <QList>
#include <QString>

namespace filters {

struct FdataLine {
    QString name;   // as the form spells it
    int index = -1; // -1: the control is not part of an indexed group
    QString value;
};

// Whether FDATA carries the control (letter case ignored).
bool IsStoredControl(const QString& name);

QString WriteFdata(const QList<FdataLine>& lines);
// The lines that hold a NUL; names are not checked here.
QList<FdataLine> ReadFdata(const QString& fdata);

// A date picker's value as stored: whole days since 1899-12-30, halves to
// even, so that an afternoon counts as the next day.
qint64 PickerDayNumber(const QDateTime& value);

// One line for every stored control of the grid.
QList<FdataLine> GridLines(const FilterGrid& grid);
QString EncodeGrid(const FilterGrid& grid);

// Restores the lines onto the grid: unknown controls, indexes the form does
// not have and values a control cannot take are skipped, the rest of the grid
// stays as it was.
void ApplyLines(const QList<FdataLine>& lines, FilterGrid& grid);
FilterGrid DecodeGrid(const QString& fdata, const FilterGrid& base);

} // namespace filters
