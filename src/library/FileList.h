#pragma once
// Filling the file list: the last query, the list mode, the quick-search
// rewrite and the totals the status bar shows.
#include "library/FileListModel.h"
#include "library/NodeQuery.h"

#include <QString>
#include <functional>

namespace db {
class Database;
}

class FileList {
public:
    // The query name that refills the list with its last query.
    static const QString LastQuery;

    explicit FileList(FileListModel& model) : m_model(model) {}

    struct Outcome {
        QString sql;   // the statement that ran (empty: none)
        QString error; // the database's message when it failed
        qint64 count = 0;
        double totalSize = 0;
    };
    // Runs the query ("$LastQuery$", "?text" for a quick search, or SQL) and
    // fills the list; mode 0 keeps the current mode.
    Outcome FillList(db::Database& db, const QString& query, int mode);

    QString lastQuery() const { return m_lastQuery; }
    int mode() const { return m_mode; }
    // The virtual folder shown in mode 4.
    qint64 virtualFolderId() const { return m_virtualFolder; }
    FileListModel& model() { return m_model; }

    // The texts of status panels 4 and 5 after a fill.
    static QPair<QString, QString>
    StatusTexts(const Outcome& outcome,
                const std::function<QString(int, const QStringList&)>& langText);
    // The statement a list query stands for ("?text" becomes the search).
    static QString StatementOf(const QString& query);

private:
    FileListModel& m_model;
    QString m_lastQuery;
    int m_mode = ListMode::Library;
    qint64 m_virtualFolder = 0;
};
