#include "filters/FilterData.h"

#include "core/JetFunctions.h"
#include "core/OleDate.h"
#include "filters/FilterValues.h"

#include <QStringList>

#include <cmath>

namespace filters {

namespace {

const QString Crlf = QStringLiteral("\r\n");
const QChar Nul(u'\0');
const QDate DayZero(1899, 12, 30);

// Text boxes of rows 0 to 3, and the controls of the two date rows.
constexpr int TextBoxes = 4;
constexpr int DateRows = 2;

int numberOf(const QString& text) {
    const double v = JetFunctions::val(text.toUtf8());
    return std::isfinite(v) && std::fabs(v) < 1e9 ? static_cast<int>(std::trunc(v)) : -1000000000;
}

bool is(const FdataLine& l, const char* name) {
    return l.name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

// A list takes a position it has, or none (-1).
int listPosition(const QString& value, int count) {
    const int p = numberOf(value);
    return p >= 0 && p < count ? p : -1;
}

std::optional<QDateTime> pickerValue(const QString& value) {
    const double v = JetFunctions::val(value.toUtf8());
    // The pickers' range: 1 January 100 to 31 December 9999.
    if (!std::isfinite(v) || v < -657434 || v > 2958465) return std::nullopt;
    return QDateTime(DayZero.addDays(static_cast<qint64>(std::trunc(v))), QTime(0, 0));
}

} // namespace

bool IsStoredControl(const QString& name) {
    static const QStringList names = {"ckNOT",    "cmbCondition", "fTxt",   "cmbGenre",
                                      "dtI",      "dtF",          "dtDays", "szTxt",
                                      "cmbFSize", "qTxt",         "dTxt",   "cmbLogic"};
    return names.contains(name, Qt::CaseInsensitive);
}

QString WriteFdata(const QList<FdataLine>& lines) {
    QString out;
    for (const FdataLine& l : lines) {
        if (!out.isEmpty()) out += Crlf;
        out += l.name;
        if (l.index >= 0) out += QLatin1Char('*') + QString::number(l.index);
        out += Nul + l.value;
    }
    return out;
}

QList<FdataLine> ReadFdata(const QString& fdata) {
    QList<FdataLine> lines;
    for (const QString& line : fdata.split(Crlf)) {
        const qsizetype nul = line.indexOf(Nul);
        if (nul < 0) continue;
        FdataLine l;
        l.name = line.left(nul);
        l.value = line.mid(nul + 1);
        if (const qsizetype star = l.name.indexOf(QLatin1Char('*')); star >= 0) {
            l.index = numberOf(l.name.mid(star + 1));
            if (l.index < 0) l.index = -2; // a group index no control has
            l.name.truncate(star);
        }
        lines.append(l);
    }
    return lines;
}

qint64 PickerDayNumber(const QDateTime& value) {
    return RoundToInt32(OleDate::fromDateTime(value)).value_or(0);
}

QList<FdataLine> GridLines(const FilterGrid& grid) {
    QList<FdataLine> lines;
    const auto add = [&lines](const char* name, int index, const QString& value) {
        lines.append({QLatin1String(name), index, value});
    };
    for (int i = 0; i < RowCount; ++i) {
        add("cmbCondition", i, QString::number(grid.rows[i].op));
        add("ckNOT", i, grid.rows[i].negated ? QStringLiteral("1") : QStringLiteral("0"));
    }
    for (int i = 0; i < TextBoxes; ++i)
        add("fTxt", i, grid.rows[i].text);
    add("cmbGenre", -1, QString::number(grid.genre));
    for (int i = 0; i < DateRows; ++i) {
        const FilterRow& r = grid.rows[Row::DateAdded + i];
        add("dtI", i, QString::number(PickerDayNumber(r.from)));
        add("dtF", i, QString::number(PickerDayNumber(r.until)));
        add("dtDays", i, r.days);
    }
    add("szTxt", -1, grid.rows[Row::FileSize].text);
    add("cmbFSize", -1, QString::number(grid.sizeUnit));
    add("qTxt", -1, grid.rows[Row::BitRate].text);
    add("dTxt", -1, grid.rows[Row::Duration].text);
    add("cmbLogic", -1, QString::number(grid.logic));
    return lines;
}

QString EncodeGrid(const FilterGrid& grid) {
    return WriteFdata(GridLines(grid));
}

void ApplyLines(const QList<FdataLine>& lines, FilterGrid& grid) {
    for (const FdataLine& l : lines) {
        const int i = l.index;
        const bool row = i >= 0 && i < RowCount;
        const bool text = i >= 0 && i < TextBoxes;
        const bool date = i >= 0 && i < DateRows;
        const bool single = i == -1;
        if (is(l, "cmbCondition") && row) {
            grid.rows[i].op = listPosition(l.value, OperatorCount(i));
        } else if (is(l, "ckNOT") && row) {
            const int v = numberOf(l.value);
            if (v == 0 || v == 1) grid.rows[i].negated = v == 1;
        } else if (is(l, "fTxt") && text) {
            grid.rows[i].text = l.value;
        } else if ((is(l, "dtI") || is(l, "dtF")) && date) {
            if (const std::optional<QDateTime> d = pickerValue(l.value)) {
                FilterRow& r = grid.rows[Row::DateAdded + i];
                (is(l, "dtI") ? r.from : r.until) = *d;
            }
        } else if (is(l, "dtDays") && date) {
            grid.rows[Row::DateAdded + i].days = l.value;
        } else if (is(l, "cmbGenre") && single) {
            // The genre list's length is known only to the editor; a position
            // past its end selects nothing when compiled.
            grid.genre = std::max(-1, numberOf(l.value));
        } else if (is(l, "szTxt") && single) {
            grid.rows[Row::FileSize].text = l.value;
        } else if (is(l, "cmbFSize") && single) {
            grid.sizeUnit = listPosition(l.value, 4);
        } else if (is(l, "qTxt") && single) {
            grid.rows[Row::BitRate].text = l.value;
        } else if (is(l, "dTxt") && single) {
            grid.rows[Row::Duration].text = l.value;
        } else if (is(l, "cmbLogic") && single) {
            grid.logic = listPosition(l.value, 2);
        }
    }
}

FilterGrid DecodeGrid(const QString& fdata, const FilterGrid& base) {
    FilterGrid g = base;
    ApplyLines(ReadFdata(fdata), g);
    return g;
}

} // namespace filters
