#pragma once
// The filter editor's condition grid as plain values: eleven rows, each with
// its operator list position, NOT box and value boxes, plus the genre, size
// unit and logic lists. The editor window and `qvr filter` both fill one of
// these; the compiler and the FDATA writer read it.
#include <QDateTime>
#include <QList>
#include <QString>

#include <array>

namespace filters {

constexpr int RowCount = 11;

namespace Row {
constexpr int Album = 0;
constexpr int Artist = 1;
constexpr int Title = 2;
constexpr int Year = 3;
constexpr int Genre = 4;
constexpr int DateAdded = 5;
constexpr int FileDate = 6;
constexpr int FileSize = 7;
constexpr int FileType = 8;
constexpr int BitRate = 9;
constexpr int Duration = 10;
} // namespace Row

// Number of entries of each row's operator list, "{ignore}" included.
int OperatorCount(int row);

struct FilterRow {
    int op = 0;           // operator list position; 0 "{ignore}", -1 none chosen
    bool negated = false; // the NOT box
    QString text;         // fTxt (rows 0-3), szTxt (7), qTxt (9), dTxt (10)
    QDateTime from;       // dtI (rows 5, 6)
    QDateTime until;      // dtF (rows 5, 6)
    QString days;         // dtDays (rows 5, 6)
};

struct FilterGrid {
    std::array<FilterRow, RowCount> rows;
    int genre = 0;    // cmbGenre position
    int sizeUnit = 0; // cmbFSize: bytes, KB, MB, GB
    int logic = 0;    // cmbLogic: 0 AND, 1 OR

    // Every list at position 0 and the date pickers at `now`, as the editor
    // opens.
    static FilterGrid reset(const QDateTime& now);
};

// One entry of the genre list: its text and item data.
struct GenreEntry {
    qint64 id = 255;
    QString text;
};

// The genre list as the editor fills it: entry 0 is the "any" text with item
// data 255, then the genres by name.
using GenreList = QList<GenreEntry>;

} // namespace filters
