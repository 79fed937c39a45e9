#pragma once
// Filter statements are user text that the library runs: they may read the
// library, never change it. Two independent guards: the text must be one
// statement that starts with SELECT, and SQLite must agree, both through an
// authorizer that allows only reading while the statement is prepared and by
// sqlite3_stmt_readonly.
#include "core/Database.h"
#include "core/Result.h"

#include <QString>

namespace filters {

// The statement, prepared and positioned before its first row, or why it is
// refused.
Result<db::Recordset> QueryReadOnly(db::Database& db, const QString& jetSql);

// The editor's Test: the statement runs read-only and delivers every column
// the file list needs. The error is the database's reason, for logs; the user
// sees language text 156.
Status ValidateStatement(db::Database& db, const QString& jetSql);

} // namespace filters
