#pragma once
// The scanner's writing: rows go in transactions of a given number of rows, and
// the counts grow only when a transaction commits, so that a scan that stops
// (full disk, another writer) reports what the library really holds.
#include "components/FileRows.h"
#include "core/Database.h"

class ScanBatchWriter {
public:
    ScanBatchWriter(db::Database& db, int batchRows, double now);
    ~ScanBatchWriter(); // rolls back what was not committed
    ScanBatchWriter(const ScanBatchWriter&) = delete;
    ScanBatchWriter& operator=(const ScanBatchWriter&) = delete;

    // The first failure, if any; after one, nothing more is written.
    bool ok() const { return m_error.isEmpty(); }
    const QString& error() const { return m_error; }

    // A new row (id 0) or a re-read one; commits when the batch is full.
    bool write(qint64 id, const FileFacts& file, const AudioFacts& audio);
    // Removes a row; the removals wait for commit().
    bool remove(qint64 id);
    // Runs a statement of one's own (bound, or the failure to prepare it) in
    // the open transaction.
    bool execute(Result<db::Recordset>& statement);
    bool commit();

    // What committed transactions did: added, updated, removed.
    qint32 added() const { return m_added; }
    qint32 updated() const { return m_updated; }
    qint32 removed() const { return m_removed; }

private:
    bool begin();
    bool fail(const QString& error);
    db::Database& m_db;
    FileRowWriter m_rows;
    const int m_batch;
    const double m_now;
    bool m_inTx = false;
    int m_inBatch = 0;
    qint32 m_added = 0, m_updated = 0, m_removed = 0;
    qint32 m_addedNow = 0, m_updatedNow = 0, m_removedNow = 0; // in the open transaction
    QString m_error;
};
