#include "core/Database.h"

#include "core/JetFunctions.h"
#include "core/JetTranslator.h"
#include "core/LockHolders.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

#include <atomic>
#include <cstring>
#include <unistd.h>

namespace db {

namespace {

std::atomic<int> g_busyTimeoutMs{10000};

QString pathOf(sqlite3* db) {
    const char* f = db ? sqlite3_db_filename(db, "main") : nullptr;
    return f ? QString::fromUtf8(f) : QString();
}

QString messageOf(sqlite3* db, int rc) {
    const int code = (db && rc == 0) ? sqlite3_extended_errcode(db) : rc;
    // The two failures a user can act on get words of their own.
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        if (const QString path = pathOf(db); !path.isEmpty()) return LockHolders::BusyMessage(path);
        break;
    case SQLITE_READONLY:
        if (const QString path = pathOf(db); !path.isEmpty())
            return QStringLiteral("the library %1 is open read-only: there is no write access to "
                                  "the file or its folder")
                .arg(path);
        break;
    default:
        break;
    }
    const char* m = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    return QString::fromUtf8(m ? m : sqlite3_errstr(rc));
}

// Writing needs the file and, for the WAL journal, its folder (or journal files
// that are already there and writable).
bool canWrite(const QString& path) {
    const QByteArray file = QFile::encodeName(path);
    if (::access(file.constData(), W_OK) != 0) return false;
    if (::access(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), W_OK) == 0)
        return true;
    return ::access((file + "-wal").constData(), W_OK) == 0 &&
           ::access((file + "-shm").constData(), W_OK) == 0;
}

bool onlyBlanksAndComments(const char* p) {
    while (*p) {
        if (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == ';') {
            ++p;
        } else if (p[0] == '-' && p[1] == '-') {
            while (*p && *p != '\n')
                ++p;
        } else if (p[0] == '/' && p[1] == '*') {
            const char* e = std::strstr(p + 2, "*/");
            if (!e) return true;
            p = e + 2;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

void ConnectionCloser::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}
void StatementFinalizer::operator()(sqlite3_stmt* stmt) const {
    sqlite3_finalize(stmt);
}

// ---------------------------------------------------------------- Recordset

Recordset::Recordset(sqlite3_stmt* stmt, sqlite3* db)
    : m_stmt(stmt), m_db(db), m_columns(sqlite3_column_count(stmt)) {}

void Recordset::close() {
    m_stmt.reset();
    m_hasRow = false;
}

bool Recordset::next() {
    m_hasRow = false;
    if (!m_stmt || m_done) return false;
    const int rc = sqlite3_step(m_stmt.get());
    if (rc == SQLITE_ROW) {
        m_hasRow = true;
        return true;
    }
    m_done = true;
    if (rc != SQLITE_DONE) m_error = messageOf(m_db, rc);
    return false;
}

int Recordset::fieldCount() const {
    return m_columns;
}

QString Recordset::fieldName(int index) const {
    if (!m_stmt || index < 0 || index >= m_columns) return {};
    return QString::fromUtf8(sqlite3_column_name(m_stmt.get(), index));
}

int Recordset::fieldIndex(QByteArrayView name) const {
    if (!m_stmt) return -1;
    for (int i = 0; i < m_columns; ++i) {
        const char* n = sqlite3_column_name(m_stmt.get(), i);
        if (n && static_cast<qsizetype>(std::strlen(n)) == name.size() &&
            qstrnicmp(n, name.data(), static_cast<size_t>(name.size())) == 0)
            return i;
    }
    return -1;
}

bool Recordset::isNull(int index) const {
    return !valid(index) || sqlite3_column_type(m_stmt.get(), index) == SQLITE_NULL;
}

QByteArrayView Recordset::utf8(int index) const {
    if (!valid(index)) return {};
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt.get(), index));
    return p ? QByteArrayView(p, sqlite3_column_bytes(m_stmt.get(), index)) : QByteArrayView();
}

QString Recordset::text(int index) const {
    const QByteArrayView v = utf8(index);
    return QString::fromUtf8(v.data(), v.size());
}

qint64 Recordset::integer(int index) const {
    return valid(index) ? sqlite3_column_int64(m_stmt.get(), index) : 0;
}

double Recordset::number(int index) const {
    return valid(index) ? sqlite3_column_double(m_stmt.get(), index) : 0;
}

QVariant Recordset::value(int index) const {
    if (!valid(index)) return {};
    switch (sqlite3_column_type(m_stmt.get(), index)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(m_stmt.get(), index)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt.get(), index));
    case SQLITE_NULL:
        return {};
    case SQLITE_BLOB: {
        const void* p = sqlite3_column_blob(m_stmt.get(), index);
        return QByteArray(static_cast<const char*>(p), sqlite3_column_bytes(m_stmt.get(), index));
    }
    default:
        return text(index);
    }
}

Recordset& Recordset::bind(int index, const QString& value) {
    const QByteArray u = value.toUtf8();
    sqlite3_bind_text(m_stmt.get(), index, u.constData(), static_cast<int>(u.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

Recordset& Recordset::bind(int index, QByteArrayView utf8Value) {
    sqlite3_bind_text(m_stmt.get(), index, utf8Value.data() ? utf8Value.data() : "",
                      static_cast<int>(utf8Value.size()), SQLITE_TRANSIENT);
    return *this;
}

Recordset& Recordset::bindStatic(int index, QByteArrayView utf8Value) {
    sqlite3_bind_text(m_stmt.get(), index, utf8Value.data() ? utf8Value.data() : "",
                      static_cast<int>(utf8Value.size()), SQLITE_STATIC);
    return *this;
}

Recordset& Recordset::bind(int index, qint64 value) {
    sqlite3_bind_int64(m_stmt.get(), index, value);
    return *this;
}

Recordset& Recordset::bind(int index, double value) {
    sqlite3_bind_double(m_stmt.get(), index, value);
    return *this;
}

Recordset& Recordset::bindNull(int index) {
    sqlite3_bind_null(m_stmt.get(), index);
    return *this;
}

void Recordset::reset() {
    if (!m_stmt) return;
    sqlite3_reset(m_stmt.get());
    m_hasRow = false;
    m_done = false;
    m_error.clear();
}

Status Recordset::execute() {
    if (!m_stmt) return Status::failure(QStringLiteral("statement is not prepared"));
    int rc;
    do
        rc = sqlite3_step(m_stmt.get());
    while (rc == SQLITE_ROW);
    Status s;
    if (rc != SQLITE_DONE) s = Status::failure(messageOf(m_db, rc));
    sqlite3_reset(m_stmt.get());
    m_hasRow = false;
    m_done = false;
    return s;
}

// ---------------------------------------------------------------- Database

void Database::setBusyTimeout(int milliseconds) {
    g_busyTimeoutMs = milliseconds;
}

Result<Database> Database::open(const QString& path, Mode mode) {
    if (path.isEmpty()) return Result<Database>::failure(QStringLiteral("no database path"));
    if (mode == Mode::ReadWrite && QFileInfo::exists(path) && !canWrite(path))
        mode = Mode::ReadOnly;
    Result<Database> d = openAs(path, mode, false);
    // Without the journal's shared-memory file, and no right to create it, a
    // read-only WAL library can only be read as a file that nobody changes.
    if (!d && mode == Mode::ReadOnly && d.error().contains(QLatin1String("unable to open")))
        d = openAs(path, mode, true);
    return d;
}

Result<Database> Database::openAs(const QString& path, Mode mode, bool immutable) {
    int flags = SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
    switch (mode) {
    case Mode::ReadOnly:
        flags |= SQLITE_OPEN_READONLY;
        break;
    case Mode::ReadWrite:
        flags |= SQLITE_OPEN_READWRITE;
        break;
    case Mode::ReadWriteCreate:
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        break;
    }
    QByteArray uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded();
    if (immutable) uri += "?immutable=1";
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(uri.constData(), &raw, flags, nullptr);
    Database d;
    d.m_db.reset(raw);
    d.m_path = path;
    d.m_readOnly = mode == Mode::ReadOnly;
    if (rc != SQLITE_OK)
        return Result<Database>::failure(
            QStringLiteral("cannot open %1: %2").arg(path, messageOf(raw, rc)));
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, g_busyTimeoutMs);
    if (!JetFunctions::registerAll(raw))
        return Result<Database>::failure(QStringLiteral("cannot register functions: ") +
                                         messageOf(raw, 0));
    // Reading the schema proves that this is a database at all.
    if (Status s = d.executeNative(QStringLiteral("select count(*) from sqlite_master")); !s)
        return Result<Database>::failure(QStringLiteral("cannot open %1: %2").arg(path, s.error()));
    // Pages come from a memory map and a larger cache: stepping a large table
    // then costs no system calls.
    d.executeNative(QStringLiteral("pragma mmap_size=536870912; pragma cache_size=-32768"));
    if (mode != Mode::ReadOnly) {
        if (Status s = d.executeNative(
                QStringLiteral("pragma journal_mode=WAL; pragma synchronous=NORMAL; "
                               "pragma foreign_keys=OFF"));
            !s)
            return Result<Database>::failure(
                QStringLiteral("cannot open %1: %2").arg(path, s.error()));
    }
    return d;
}

void Database::close() {
    m_db.reset();
}

Status Database::executeNative(const QString& sql) {
    if (!m_db) return Status::failure(QStringLiteral("the database is not open"));
    char* err = nullptr;
    const int rc = sqlite3_exec(m_db.get(), sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const int code = rc & 0xFF;
        const bool explained =
            code == SQLITE_BUSY || code == SQLITE_LOCKED || code == SQLITE_READONLY;
        const QString msg = explained ? messageOf(m_db.get(), rc)
                                      : QString::fromUtf8(err ? err : sqlite3_errstr(rc));
        sqlite3_free(err);
        return Status::failure(msg);
    }
    return {};
}

Result<Recordset> Database::prepare(const QString& sql) {
    if (!m_db) return Result<Recordset>::failure(QStringLiteral("the database is not open"));
    const QByteArray u = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    const int rc =
        sqlite3_prepare_v2(m_db.get(), u.constData(), static_cast<int>(u.size()), &stmt, &tail);
    if (rc != SQLITE_OK) return Result<Recordset>::failure(messageOf(m_db.get(), rc));
    if (!stmt) return Result<Recordset>::failure(QStringLiteral("empty statement"));
    Recordset r(stmt, m_db.get());
    if (tail && !onlyBlanksAndComments(tail))
        return Result<Recordset>::failure(QStringLiteral("more than one statement"));
    return r;
}

Result<Recordset> Database::query(const QString& jetSql) {
    const Result<QString> sql = JetTranslator::translate(jetSql);
    if (!sql) return Result<Recordset>::failure(sql.error());
    return prepare(sql.value());
}

Status Database::execute(const QString& jetSql) {
    Result<Recordset> r = query(jetSql);
    if (!r) return Status::failure(r.error());
    return r.value().execute();
}

bool Database::isSingleReadOnly(const QString& jetSql, QString* why) {
    Result<Recordset> r = query(jetSql);
    if (!r) {
        if (why) *why = r.error();
        return false;
    }
    if (!sqlite3_stmt_readonly(r->handle()) || sqlite3_column_count(r->handle()) == 0) {
        if (why) *why = QStringLiteral("the statement changes the database");
        return false;
    }
    return true;
}

Status Database::begin() {
    return executeNative(QStringLiteral("begin immediate"));
}
Status Database::commit() {
    return executeNative(QStringLiteral("commit"));
}
Status Database::rollback() {
    return executeNative(QStringLiteral("rollback"));
}

qint64 Database::lastInsertId() const {
    return m_db ? sqlite3_last_insert_rowid(m_db.get()) : 0;
}
int Database::changes() const {
    return m_db ? sqlite3_changes(m_db.get()) : 0;
}
QString Database::lastError() const {
    return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db.get())) : QString();
}

// ---------------------------------------------------------------- Transaction

Transaction::Transaction(Database& db) : m_db(db) {
    m_status = m_db.begin();
    m_open = m_status.ok();
}

Transaction::~Transaction() {
    if (m_open) m_db.rollback();
}

Status Transaction::commit() {
    if (!m_open)
        return m_status.ok() ? Status::failure(QStringLiteral("no transaction")) : m_status;
    m_open = false;
    m_status = m_db.commit();
    if (!m_status) m_db.rollback();
    return m_status;
}

} // namespace db
