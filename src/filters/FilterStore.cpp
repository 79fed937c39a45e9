#include "filters/FilterStore.h"

#include "core/Formatting.h"
#include "filters/FilterQuery.h"
#include "library/LibraryTree.h"

namespace filters {

namespace {

FilterRecord recordOf(const db::Recordset& rs) {
    return {rs.integer("id"), rs.text("DESCRIPT"), rs.text("FDATA"), rs.text("QSQL")};
}

Result<std::optional<FilterRecord>> findOne(db::Database& db, const QString& jetSql) {
    using R = Result<std::optional<FilterRecord>>;
    Result<db::Recordset> r = db.query(jetSql);
    if (!r) return R::failure(r.error());
    if (!r.value().isOpen()) return R::failure(QStringLiteral("no statement"));
    db::Recordset& rs = r.value();
    if (!rs.next()) {
        if (!rs.error().isEmpty()) return R::failure(rs.error());
        return std::optional<FilterRecord>();
    }
    return std::optional<FilterRecord>(recordOf(rs));
}

Status writeRow(db::Database& db, qint64 id, const SaveRequest& request, const QString& name) {
    Result<db::Recordset> r =
        id > 0 ? db.prepare(QStringLiteral(
                     "update MFILTERS set DESCRIPT=?1, FDATA=?2, QSQL=?3 where id=?4"))
               : db.prepare(QStringLiteral(
                     "insert into MFILTERS (DESCRIPT, FDATA, QSQL) values (?1, ?2, ?3)"));
    if (!r) return Status::failure(r.error());
    r.value().bind(1, name).bind(2, request.fdata).bind(3, request.statement);
    if (id > 0) r.value().bind(4, id);
    return r.value().execute();
}

} // namespace

Result<QList<FilterRecord>> ListFilters(db::Database& db) {
    using R = Result<QList<FilterRecord>>;
    Result<db::Recordset> r = db.query(QString::fromLatin1(LibraryTree::FiltersQuery));
    if (!r) return R::failure(r.error());
    QList<FilterRecord> out;
    while (r.value().next())
        out.append(recordOf(r.value()));
    if (!r.value().error().isEmpty()) return R::failure(r.value().error());
    return out;
}

Result<std::optional<FilterRecord>> FindFilter(db::Database& db, qint64 id) {
    return findOne(db, QStringLiteral("select * from mfilters where id=") + QString::number(id));
}

Result<std::optional<FilterRecord>> FindFilterByName(db::Database& db, const QString& name) {
    return findOne(db, QStringLiteral("select * from MFILTERS where descript=") +
                           mainMod::QuoteText(name));
}

Result<bool> DeleteFilter(db::Database& db, qint64 id) {
    Result<db::Recordset> r = db.prepare(QStringLiteral("delete from MFILTERS where id=?1"));
    if (!r) return Result<bool>::failure(r.error());
    r.value().bind(1, id);
    if (Status s = r.value().execute(); !s) return Result<bool>::failure(s.error());
    return db.changes() > 0;
}

Result<GenreList> LoadGenres(db::Database& db, const QString& anyText) {
    GenreList list{{255, anyText}};
    Result<db::Recordset> r =
        db.query(QStringLiteral("select * from id3_genres order by descript"));
    if (!r) return Result<GenreList>::failure(r.error());
    while (r.value().next())
        list.append({r.value().integer("id"), r.value().text("descript")});
    if (!r.value().error().isEmpty()) return Result<GenreList>::failure(r.value().error());
    return list;
}

QString ExpertStatement(const QString& whereText) {
    const QString w = whereText.trimmed();
    QString s = QStringLiteral("select * from files");
    if (!w.isEmpty()) s += QStringLiteral(" where ") + w;
    return s;
}

Result<SaveResult> SaveFilter(db::Database& db, const SaveRequest& request,
                              const ReplaceQuestion& replace) {
    using R = Result<SaveResult>;
    const QString name = request.name.trimmed();
    if (name.size() < MinNameLength) return SaveResult{SaveOutcome::NameTooShort, 0, {}};
    if (Status s = ValidateStatement(db, request.statement); !s)
        return SaveResult{SaveOutcome::Invalid, 0, s.error()};

    Result<std::optional<FilterRecord>> same = FindFilterByName(db, name);
    if (!same) return R::failure(same.error());
    qint64 target = 0; // the row to update; 0 adds one
    qint64 replaced = 0;
    if (!same->has_value()) {
        if (request.currentId > 0) {
            Result<std::optional<FilterRecord>> current = FindFilter(db, request.currentId);
            if (!current) return R::failure(current.error());
            if (current->has_value()) target = request.currentId;
        }
    } else if ((*same)->id == request.currentId) {
        target = request.currentId;
    } else {
        if (!replace || !replace(name)) return SaveResult{SaveOutcome::Declined, 0, {}};
        replaced = (*same)->id;
    }

    db::Transaction tx(db);
    if (!tx.ok()) return R::failure(db.lastError());
    if (replaced > 0) {
        Result<bool> gone = DeleteFilter(db, replaced);
        if (!gone) return R::failure(gone.error());
    }
    if (Status s = writeRow(db, target, request, name); !s) return R::failure(s.error());
    const qint64 id = target > 0 ? target : db.lastInsertId();
    if (Status s = tx.commit(); !s) return R::failure(s.error());
    return SaveResult{SaveOutcome::Saved, id, {}};
}

} // namespace filters
