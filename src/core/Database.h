#pragma once
// A small wrapper over the SQLite C API: one `Database` per connection (one
// connection per thread), forward-only `Recordset`s with fields by name
// (case-insensitive) or index. Null reads as empty text or 0. Every connection
// runs in WAL mode with a busy timeout and has the Jet functions, the Jet LIKE
// and the JETTEXT collation registered. Statement texts given to `execute` and
// `query` are Jet SQL and pass through `JetTranslator`; `prepare` and
// `executeNative` take SQLite SQL as it stands (for the program's own bound
// statements).
#include "core/Result.h"

#include <QByteArrayView>
#include <QString>
#include <QVariant>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace db {

struct ConnectionCloser {
    void operator()(sqlite3* db) const;
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* stmt) const;
};

class Recordset {
public:
    Recordset() = default;
    Recordset(Recordset&&) noexcept = default;
    Recordset& operator=(Recordset&&) noexcept = default;

    bool isOpen() const { return m_stmt != nullptr; }
    void close();

    // Steps to the next row; true when a row is current. After false, `error()`
    // tells whether the end was reached (empty) or stepping failed.
    bool next();
    // True when no row is current: before the first next(), and after the last.
    bool eof() const { return !m_hasRow; }
    const QString& error() const { return m_error; }

    int fieldCount() const;
    QString fieldName(int index) const;
    // Index of the field, ignoring letter case; -1 when there is none. Resolve
    // indexes once before a loop over many rows.
    int fieldIndex(QByteArrayView name) const;

    bool isNull(int index) const;
    QString text(int index) const;
    // The UTF-8 bytes of the field, valid until the next step; no copy.
    QByteArrayView utf8(int index) const;
    qint64 integer(int index) const;
    double number(int index) const;
    QVariant value(int index) const;

    QString text(QByteArrayView name) const { return text(fieldIndex(name)); }
    qint64 integer(QByteArrayView name) const { return integer(fieldIndex(name)); }
    double number(QByteArrayView name) const { return number(fieldIndex(name)); }
    bool isNull(QByteArrayView name) const { return isNull(fieldIndex(name)); }

    // Parameters (1-based) for prepared statements; reset() rewinds for reuse.
    Recordset& bind(int index, const QString& value);
    Recordset& bind(int index, QByteArrayView utf8Value);
    // As bind(), without a copy: the bytes must stay valid until the statement
    // has run (execute) or been reset.
    Recordset& bindStatic(int index, QByteArrayView utf8Value);
    Recordset& bind(int index, qint64 value);
    Recordset& bind(int index, int value) { return bind(index, static_cast<qint64>(value)); }
    Recordset& bind(int index, double value);
    Recordset& bindNull(int index);
    void reset();
    // Runs a statement that returns no rows (after binding); resets it afterwards.
    Status execute();

    sqlite3_stmt* handle() const { return m_stmt.get(); }

private:
    friend class Database;
    Recordset(sqlite3_stmt* stmt, sqlite3* db);
    bool valid(int index) const { return m_hasRow && index >= 0 && index < m_columns; }
    std::unique_ptr<sqlite3_stmt, StatementFinalizer> m_stmt;
    sqlite3* m_db = nullptr;
    int m_columns = 0;
    bool m_hasRow = false;
    bool m_done = false;
    QString m_error;
};

class Database {
public:
    enum class Mode { ReadWrite, ReadWriteCreate, ReadOnly };

    Database() = default;
    Database(Database&&) noexcept = default;
    Database& operator=(Database&&) noexcept = default;

    // Opens (or with ReadWriteCreate creates) the database file. ReadWrite opens
    // read-only when the file, or the folder its journal files go to, is not
    // writable: reading works, and every write fails saying so.
    static Result<Database> open(const QString& path, Mode mode = Mode::ReadWrite);

    // How long a statement waits for another connection's lock (all connections
    // opened afterwards).
    static void setBusyTimeout(int milliseconds);

    bool isOpen() const { return m_db != nullptr; }
    bool isReadOnly() const { return m_readOnly; }
    void close();
    const QString& path() const { return m_path; }

    // Jet SQL, translated; a statement that returns no rows.
    Status execute(const QString& jetSql);
    // Jet SQL, translated; a forward-only recordset positioned before the first row.
    Result<Recordset> query(const QString& jetSql);
    // SQLite SQL, untranslated, possibly several statements separated by ";".
    Status executeNative(const QString& sql);
    // SQLite SQL, untranslated, one statement, for binding.
    Result<Recordset> prepare(const QString& sql);

    // True when the Jet text is exactly one statement that changes nothing.
    bool isSingleReadOnly(const QString& jetSql, QString* why = nullptr);

    Status begin();
    Status commit();
    Status rollback();
    qint64 lastInsertId() const;
    int changes() const;
    QString lastError() const;

    sqlite3* handle() const { return m_db.get(); }

private:
    static Result<Database> openAs(const QString& path, Mode mode, bool immutable);
    std::unique_ptr<sqlite3, ConnectionCloser> m_db;
    QString m_path;
    bool m_readOnly = false;
};

// Commits when told to, rolls back when destroyed without commit().
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    bool ok() const { return m_status.ok(); }
    const Status& status() const { return m_status; }
    Status commit();

private:
    Database& m_db;
    Status m_status;
    bool m_open = false;
};

} // namespace db
