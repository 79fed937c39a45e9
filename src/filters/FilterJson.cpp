#include "filters/FilterJson.h"

#include "core/JetNumbers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace filters {

namespace {

using R = Result<FilterGrid>;

// The value keys each row takes besides "row", "op" and "not".
QStringList valueKeys(int row) {
    switch (row) {
    case Row::Genre:
        return {QStringLiteral("genre")};
    case Row::DateAdded:
    case Row::FileDate:
        return {QStringLiteral("from"), QStringLiteral("until"), QStringLiteral("days")};
    case Row::FileSize:
        return {QStringLiteral("text"), QStringLiteral("unit")};
    case Row::FileType:
        return {};
    }
    return {QStringLiteral("text")};
}

// A text box's value: a string as it stands, or a number in the shortest form.
bool textOf(const QJsonValue& v, QString& out) {
    if (v.isString()) {
        out = v.toString();
        return true;
    }
    if (v.isDouble()) {
        out = JetNumbers::text(v.toDouble());
        return true;
    }
    return false;
}

bool wholeNumber(const QJsonValue& v, int& out) {
    if (!v.isDouble()) return false;
    const double d = v.toDouble();
    if (d != static_cast<int>(d)) return false;
    out = static_cast<int>(d);
    return true;
}

Result<int> genrePosition(const QJsonValue& v, const GenreList& genres) {
    int p = 0;
    if (wholeNumber(v, p)) {
        if (p < 0 || p >= genres.size())
            return Result<int>::failure(QStringLiteral("no genre at position %1").arg(p));
        return p;
    }
    if (v.isString()) {
        for (int i = 0; i < genres.size(); ++i)
            if (genres.at(i).text.compare(v.toString(), Qt::CaseInsensitive) == 0) return i;
        return Result<int>::failure(QStringLiteral("no genre named ") + v.toString());
    }
    return Result<int>::failure(QStringLiteral("\"genre\" is a position or a name"));
}

Status readRow(const QJsonObject& o, const GenreList& genres, FilterGrid& grid, QSet<int>& seen) {
    int row = -1;
    if (!wholeNumber(o.value(QLatin1String("row")), row) || row < 0 || row >= RowCount)
        return Status::failure(QStringLiteral("\"row\" must be 0 to 10"));
    const QString where = QStringLiteral("row %1: ").arg(row);
    if (seen.contains(row)) return Status::failure(where + QStringLiteral("given twice"));
    seen.insert(row);
    FilterRow& r = grid.rows[row];
    if (!wholeNumber(o.value(QLatin1String("op")), r.op) || r.op < 0 || r.op >= OperatorCount(row))
        return Status::failure(
            where + QStringLiteral("\"op\" must be 0 to %1").arg(OperatorCount(row) - 1));
    if (o.contains(QLatin1String("not"))) {
        if (!o.value(QLatin1String("not")).isBool())
            return Status::failure(where + QStringLiteral("\"not\" is true or false"));
        r.negated = o.value(QLatin1String("not")).toBool();
    }
    const QStringList keys = valueKeys(row);
    for (auto it = o.begin(); it != o.end(); ++it) {
        const QString key = it.key();
        if (key == QLatin1String("row") || key == QLatin1String("op") ||
            key == QLatin1String("not"))
            continue;
        if (!keys.contains(key))
            return Status::failure(where + QStringLiteral("\"%1\" does not belong here").arg(key));
        const QJsonValue v = it.value();
        if (key == QLatin1String("text")) {
            if (!textOf(v, r.text))
                return Status::failure(where + QStringLiteral("\"text\" is a string"));
        } else if (key == QLatin1String("days")) {
            if (!textOf(v, r.days))
                return Status::failure(where + QStringLiteral("\"days\" is a number"));
        } else if (key == QLatin1String("from") || key == QLatin1String("until")) {
            const QDateTime d =
                QDateTime::fromString(v.toString(), QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
            if (!d.isValid())
                return Status::failure(where +
                                       QStringLiteral("\"%1\" is yyyy-MM-ddTHH:mm:ss").arg(key));
            (key == QLatin1String("from") ? r.from : r.until) = d;
        } else if (key == QLatin1String("unit")) {
            if (!wholeNumber(v, grid.sizeUnit) || grid.sizeUnit < 0 || grid.sizeUnit > 3)
                return Status::failure(where + QStringLiteral("\"unit\" must be 0 to 3"));
        } else if (key == QLatin1String("genre")) {
            const Result<int> p = genrePosition(v, genres);
            if (!p) return Status::failure(where + p.error());
            grid.genre = p.value();
        }
    }
    // The editor lets only a number above 0 stand in the bit-rate box.
    if (row == Row::BitRate && !r.text.isEmpty()) {
        double n = 0;
        if (!JetNumbers::parse(r.text.trimmed(), n) || !(n > 0))
            return Status::failure(where + QStringLiteral("the bit rate must be a number above 0"));
        r.text = JetNumbers::text(n);
    }
    return {};
}

} // namespace

Result<FilterGrid> GridFromJson(const QByteArray& json, const GenreList& genres,
                                const QDateTime& now) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (doc.isNull()) return R::failure(QStringLiteral("not JSON: ") + error.errorString());
    if (!doc.isObject()) return R::failure(QStringLiteral("the grid is a JSON object"));
    const QJsonObject top = doc.object();
    FilterGrid grid = FilterGrid::reset(now);
    for (auto it = top.begin(); it != top.end(); ++it)
        if (it.key() != QLatin1String("logic") && it.key() != QLatin1String("rows"))
            return R::failure(QStringLiteral("\"%1\" does not belong here").arg(it.key()));
    const QString logic = top.value(QLatin1String("logic")).toString(QStringLiteral("AND"));
    if (logic.compare(QLatin1String("AND"), Qt::CaseInsensitive) == 0)
        grid.logic = 0;
    else if (logic.compare(QLatin1String("OR"), Qt::CaseInsensitive) == 0)
        grid.logic = 1;
    else
        return R::failure(QStringLiteral("\"logic\" is \"AND\" or \"OR\""));
    const QJsonValue rows = top.value(QLatin1String("rows"));
    if (!rows.isUndefined() && !rows.isArray())
        return R::failure(QStringLiteral("\"rows\" is a list"));
    QSet<int> seen;
    for (const QJsonValue& row : rows.toArray()) {
        if (!row.isObject()) return R::failure(QStringLiteral("each row is a JSON object"));
        if (Status s = readRow(row.toObject(), genres, grid, seen); !s)
            return R::failure(s.error());
    }
    return grid;
}

} // namespace filters
