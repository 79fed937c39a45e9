#include "cli/SqlCommand.h"

#include "cli/LibraryAccess.h"
#include "components/MediaLibrary.h"
#include "core/LibraryPaths.h"

#include <QJsonValue>
#include <sqlite3.h>

namespace qvr {

namespace {

// Whether the statement would change nothing, asked of the template (which has
// every table) so that a missing library is made only for a statement that
// writes. A statement the template cannot take is no reason to make one.
bool onlyReads(const QString& statement) {
    Result<db::Database> t =
        db::Database::open(mainMod::TemplatePath(), db::Database::Mode::ReadOnly);
    if (!t) return true;
    Result<db::Recordset> r = t.value().query(statement);
    return !r || sqlite3_stmt_readonly(r->handle());
}

void printText(db::Recordset& rs, Io io) {
    const int columns = rs.fieldCount();
    for (int i = 0; i < columns; ++i)
        io.out << (i ? "\t" : "") << rs.fieldName(i);
    io.out << '\n';
    while (rs.next()) {
        for (int i = 0; i < columns; ++i) {
            QString v = rs.text(i);
            v.replace(QLatin1Char('\t'), QLatin1Char(' '))
                .replace(QLatin1Char('\n'), QLatin1Char(' '));
            io.out << (i ? "\t" : "") << v;
        }
        io.out << '\n';
    }
}

void printJsonRows(db::Recordset& rs, Io io) {
    const int columns = rs.fieldCount();
    QStringList names;
    for (int i = 0; i < columns; ++i)
        names << rs.fieldName(i);
    while (rs.next()) {
        QJsonObject row;
        for (int i = 0; i < columns; ++i)
            row.insert(names.at(i), QJsonValue::fromVariant(rs.value(i)));
        printJson(row, io);
    }
}

} // namespace

void addSqlCommand(CLI::App& qvr, Command& command) {
    struct Options {
        QString statement;
        LibraryOptions library;
    };
    auto options = std::make_shared<Options>();
    CLI::App* sql = qvr.add_subcommand(
        "sql", "Run Jet SQL on the library; rows as tab-separated text, with a header line");
    cli::addText(sql, "STATEMENT", options->statement, "One statement")->required();
    addLibraryOptions(sql, options->library, command.line, true);
    sql->callback([&command, options] {
        command.status = runSqlCommand(options->statement, options->library, command.io);
    });
}

int runSqlCommand(const QString& statement, const LibraryOptions& options, Io io) {
    if (!libraryExists(options.db) && onlyReads(statement)) return noLibrary(options.db, io);
    MediaLibrary library;
    if (!openLibrary(library, options.db, io)) return 1;
    Result<db::Recordset> r = library.Connection().query(statement);
    if (!r) {
        io.err << "qvr sql: " << r.error() << '\n';
        return 1;
    }
    db::Recordset& rs = r.value();
    if (rs.fieldCount() == 0) {
        if (Status s = rs.execute(); !s) {
            io.err << "qvr sql: " << s.error() << '\n';
            return 1;
        }
        io.out << library.Connection().changes() << " rows changed\n";
        return 0;
    }
    if (options.json)
        printJsonRows(rs, io);
    else
        printText(rs, io);
    if (!rs.error().isEmpty()) {
        io.err << "qvr sql: " << rs.error() << '\n';
        return 1;
    }
    return 0;
}

} // namespace qvr
