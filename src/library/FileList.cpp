#include "library/FileList.h"

#include "core/Database.h"
#include "core/Formatting.h"
#include "filters/FilterQuery.h"
#include "library/QuickSearch.h"

const QString FileList::LastQuery = QStringLiteral("$LastQuery$");

QString FileList::StatementOf(const QString& query) {
    return query.startsWith(QLatin1Char('?')) ? QuickSearch::Sql(query.mid(1)) : query;
}

FileList::Outcome FileList::FillList(db::Database& db, const QString& query, int mode) {
    Outcome outcome;
    const QString wanted = query == LastQuery ? m_lastQuery : query;
    if (mode != ListMode::Keep) m_mode = mode;
    m_lastQuery = wanted;
    outcome.sql = StatementOf(wanted);
    if (outcome.sql.isEmpty()) {
        m_model.clear();
        return outcome;
    }
    // A filter's statement is user text: it may only read.
    Result<db::Recordset> rows = m_mode == ListMode::Filter
                                     ? filters::QueryReadOnly(db, outcome.sql)
                                     : db.query(outcome.sql);
    if (!rows.ok()) {
        m_model.clear();
        outcome.error = rows.error();
        return outcome;
    }
    const FileListModel::FillResult filled = m_model.fill(rows.value());
    if (!rows.value().error().isEmpty()) outcome.error = rows.value().error();
    if (m_mode == ListMode::VirtualFolder && filled.count > 0)
        m_virtualFolder = filled.firstVirtualFolder;
    outcome.count = filled.count;
    outcome.totalSize = filled.totalSize;
    return outcome;
}

QPair<QString, QString>
FileList::StatusTexts(const Outcome& outcome,
                      const std::function<QString(int, const QStringList&)>& langText) {
    if (outcome.count == 0) return {QString(), QStringLiteral(" ") + langText(55, {})};
    const QString count = QString::number(outcome.count);
    return {QStringLiteral(" ") + mainMod::FormatSize(outcome.totalSize),
            QStringLiteral(" ") + langText(outcome.count == 1 ? 53 : 54, {count})};
}
