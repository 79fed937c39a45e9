#include "filters/FilterQuery.h"

#include "core/JetLexer.h"

#include <sqlite3.h>

#include <cstring>

namespace filters {

namespace {

// Only reading, and no function that loads code.
int readOnlyAuthorizer(void*, int action, const char*, const char* arg2, const char*, const char*) {
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
        return SQLITE_OK;
    case SQLITE_FUNCTION:
        return arg2 && sqlite3_stricmp(arg2, "load_extension") == 0 ? SQLITE_DENY : SQLITE_OK;
    }
    return SQLITE_DENY;
}

class AuthorizerScope {
public:
    explicit AuthorizerScope(sqlite3* db) : m_db(db) {
        sqlite3_set_authorizer(m_db, readOnlyAuthorizer, nullptr);
    }
    ~AuthorizerScope() { sqlite3_set_authorizer(m_db, nullptr, nullptr); }
    AuthorizerScope(const AuthorizerScope&) = delete;
    AuthorizerScope& operator=(const AuthorizerScope&) = delete;

private:
    sqlite3* m_db;
};

Status singleSelect(const QString& jetSql) {
    const Result<QList<JetLexer::Token>> tokens = JetLexer::tokenize(jetSql);
    if (!tokens) return Status::failure(tokens.error());
    bool first = true;
    for (const JetLexer::Token& t : tokens.value()) {
        if (t.kind == JetLexer::Kind::Space) continue;
        if (first && (t.kind != JetLexer::Kind::Word ||
                      t.text.compare(QLatin1String("select"), Qt::CaseInsensitive) != 0))
            return Status::failure(QStringLiteral("not a SELECT statement"));
        first = false;
        if (t.kind == JetLexer::Kind::Op && t.text.contains(QLatin1Char(';')))
            return Status::failure(QStringLiteral("more than one statement"));
    }
    if (first) return Status::failure(QStringLiteral("empty statement"));
    return {};
}

} // namespace

Result<db::Recordset> QueryReadOnly(db::Database& db, const QString& jetSql) {
    using R = Result<db::Recordset>;
    if (!db.isOpen()) return R::failure(QStringLiteral("the database is not open"));
    if (Status s = singleSelect(jetSql); !s) return R::failure(s.error());
    R r = [&] {
        AuthorizerScope guard(db.handle());
        return db.query(jetSql);
    }();
    if (!r) return r;
    if (!sqlite3_stmt_readonly(r->handle()) || r->fieldCount() == 0)
        return R::failure(QStringLiteral("the statement changes the database"));
    return r;
}

Status ValidateStatement(db::Database& db, const QString& jetSql) {
    Result<db::Recordset> r = QueryReadOnly(db, jetSql);
    if (!r) return Status::failure(r.error());
    db::Recordset& rs = r.value();
    for (const char* field : {"md_title", "filetitle", "filename", "type", "bitrate", "duration",
                              "rating", "size", "fullpath", "id"})
        if (rs.fieldIndex(field) < 0)
            return Status::failure(QStringLiteral("no field ") + QLatin1String(field));
    // Opening the recordset runs the statement: errors of the first row count.
    if (!rs.next() && !rs.error().isEmpty()) return Status::failure(rs.error());
    return {};
}

} // namespace filters
