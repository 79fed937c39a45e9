#include "filters/FilterCompiler.h"

#include "core/Formatting.h"
#include "filters/FilterValues.h"

#include <QStringList>

namespace filters {

namespace {

const QString Select = QStringLiteral("select * from files");

// The column each row's fragments name.
const char* const Columns[RowCount] = {"MD_ALBUM",   "MD_ARTIST",         "MD_TITLE", "MD_YEAR",
                                       "MD_GENREID", "DATE_ADDED",        "DATETIME", "[size]",
                                       "type",       "val(bitrate/1000)", "duration"};

// Trims blanks only, as the fragments are built from text boxes.
QString trimBlanks(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && s.at(b) == QLatin1Char(' '))
        ++b;
    while (e > b && s.at(e - 1) == QLatin1Char(' '))
        --e;
    return s.mid(b, e - b);
}

QString Q(const QString& text) {
    return mainMod::QuoteText(text);
}

const char* comparison(int op) {
    switch (op) {
    case 1:
        return "=";
    case 2:
        return "<";
    case 3:
        return ">";
    }
    return nullptr;
}

QString textFragment(const QString& column, const FilterRow& r) {
    if (r.op == 1) return column + QLatin1Char('=') + Q(r.text);
    return column + QStringLiteral(" LIKE ") + Q(QLatin1Char('%') + r.text + QLatin1Char('%'));
}

QString yearFragment(const QString& column, const FilterRow& r) {
    const QString val = QStringLiteral("val(") + column + QLatin1Char(')');
    if (const char* op = comparison(r.op)) return val + QLatin1String(op) + YearNumber(r.text);
    const QStringList pieces = r.text.split(QLatin1Char('-'));
    if (pieces.size() < 2) return {};
    return val + QStringLiteral(">=") + YearNumber(pieces.at(0)) + QStringLiteral(" AND ") + val +
           QStringLiteral("<=") + YearNumber(pieces.at(1));
}

QString genreFragment(const FilterGrid& grid, const GenreList& genres) {
    if (grid.genre < 0 || grid.genre >= genres.size()) return {};
    const GenreEntry& g = genres.at(grid.genre);
    QString f = QStringLiteral("MD_GENREID=") + QString::number(g.id);
    if (grid.genre > 0) f += QStringLiteral(" OR MD_GENREDESC=") + Q(g.text);
    return f;
}

QString dateFragment(const QString& column, const FilterRow& r) {
    const QString day = QStringLiteral("cdate(format(") + column + QLatin1Char(',') +
                        Q(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("))");
    const auto d = [](const QDateTime& t) {
        return t.date().toString(QStringLiteral("yyyy-MM-dd"));
    };
    switch (r.op) {
    case 1:
    case 2:
    case 3:
        if (!r.from.isValid()) return {};
        return day + QLatin1String(comparison(r.op)) + QLatin1Char('#') + d(r.from) +
               QLatin1Char('#');
    case 4:
        if (!r.from.isValid() || !r.until.isValid()) return {};
        return QLatin1Char('(') + day + QStringLiteral(">=#") + d(r.from) +
               QStringLiteral("#) AND") + QLatin1Char('(') + day + QStringLiteral("<=#") +
               d(r.until) + QStringLiteral("#)");
    case 5: {
        const std::optional<qint64> n = WholeDays(r.days);
        if (!n || *n <= 0) return {};
        return column + QStringLiteral(">=(Now - ") + QString::number(*n) + QLatin1Char(')');
    }
    }
    return {};
}

QString sizeFragment(const FilterGrid& grid, const FilterRow& r) {
    if (r.op >= 4) {
        const QStringList pieces = r.text.split(QLatin1Char('-'));
        const qint32 b1 = SizeBytes(pieces.at(0), grid.sizeUnit);
        const qint32 b2 = pieces.size() > 1 ? SizeBytes(pieces.at(1), grid.sizeUnit) : 0;
        if (b1 < 1 || b2 < 1) return {};
        return QStringLiteral("[size]>=") + QString::number(b1) + QStringLiteral(" and size<=") +
               QString::number(b2);
    }
    const qint32 b = SizeBytes(r.text, grid.sizeUnit);
    if (b < 1) return {};
    return QStringLiteral("[size]") + QLatin1String(comparison(r.op)) + QString::number(b);
}

QString typeFragment(const FilterRow& r) {
    static const char* const types[] = {"MP3", "WAV", "WMA"};
    if (r.op < 1 || r.op > 3) return {};
    return QStringLiteral("type=") + Q(QLatin1String(types[r.op - 1]));
}

QString durationFragment(const FilterRow& r) {
    const qint64 s = DurationSeconds(r.text);
    if (s < 1) return {};
    return QStringLiteral("duration") + QLatin1String(comparison(r.op)) + QString::number(s);
}

QString fragment(const FilterGrid& grid, const GenreList& genres, int row) {
    const FilterRow& r = grid.rows.at(row);
    const QString column = QLatin1String(Columns[row]);
    switch (row) {
    case Row::Album:
    case Row::Artist:
    case Row::Title:
        return textFragment(column, r);
    case Row::Year:
        return yearFragment(column, r);
    case Row::Genre:
        return genreFragment(grid, genres);
    case Row::DateAdded:
    case Row::FileDate:
        return dateFragment(column, r);
    case Row::FileSize:
        return sizeFragment(grid, r);
    case Row::FileType:
        return typeFragment(r);
    case Row::BitRate:
        if (const char* op = comparison(r.op))
            return QStringLiteral("val(bitrate/1000)") + QLatin1String(op) + r.text;
        return {};
    case Row::Duration:
        return comparison(r.op) ? durationFragment(r) : QString();
    }
    return {};
}

} // namespace

QString CompileRow(const FilterGrid& grid, const GenreList& genres, int row) {
    if (row < 0 || row >= RowCount || grid.rows.at(row).op < 1) return {};
    return trimBlanks(fragment(grid, genres, row));
}

QString Compile(const FilterGrid& grid, const GenreList& genres) {
    QString where;
    for (int row = 0; row < RowCount; ++row) {
        const QString f = CompileRow(grid, genres, row);
        if (f.isEmpty()) continue;
        if (!where.isEmpty())
            where += grid.logic == 1 ? QStringLiteral(" OR ") : QStringLiteral(" AND ");
        where += (grid.rows.at(row).negated ? QStringLiteral("NOT (") : QStringLiteral("(")) + f +
                 QLatin1Char(')');
    }
    if (trimBlanks(where).isEmpty()) return Select;
    return Select + QStringLiteral(" where ") + where;
}

QString WherePart(const QString& statement) {
    QString s = statement;
    s.remove(Select, Qt::CaseSensitive);
    s = trimBlanks(s);
    if (s.startsWith(QLatin1String("where"), Qt::CaseSensitive)) s = trimBlanks(s.mid(5));
    return s;
}

} // namespace filters
