#include "components/ScanBatchWriter.h"

ScanBatchWriter::ScanBatchWriter(db::Database& db, int batchRows, double now)
    : m_db(db), m_rows(db), m_batch(batchRows > 0 ? batchRows : 1), m_now(now) {
    if (!m_rows.ok()) m_error = m_rows.error();
}

ScanBatchWriter::~ScanBatchWriter() {
    if (m_inTx) m_db.rollback();
}

bool ScanBatchWriter::fail(const QString& error) {
    if (m_error.isEmpty()) m_error = error;
    if (m_inTx) m_db.rollback();
    m_inTx = false;
    m_addedNow = m_updatedNow = m_removedNow = 0;
    return false;
}

bool ScanBatchWriter::begin() {
    if (!ok()) return false;
    if (m_inTx) return true;
    if (Status s = m_db.begin(); !s) return fail(s.error());
    m_inTx = true;
    m_inBatch = 0;
    return true;
}

bool ScanBatchWriter::commit() {
    if (!ok()) return false;
    if (!m_inTx) return true;
    m_inTx = false;
    if (Status s = m_db.commit(); !s) {
        m_inTx = true; // a failed COMMIT leaves the transaction open
        return fail(s.error());
    }
    m_added += m_addedNow;
    m_updated += m_updatedNow;
    m_removed += m_removedNow;
    m_addedNow = m_updatedNow = m_removedNow = 0;
    return true;
}

bool ScanBatchWriter::write(qint64 id, const FileFacts& file, const AudioFacts& audio) {
    if (!begin()) return false;
    if (id == 0 ? m_rows.insert(file, audio, m_now) == 0 : !m_rows.update(id, file, audio, m_now))
        return fail(m_rows.error());
    ++(id == 0 ? m_addedNow : m_updatedNow);
    return ++m_inBatch < m_batch || commit();
}

bool ScanBatchWriter::remove(qint64 id) {
    if (!begin()) return false;
    if (!m_rows.remove(id)) return fail(m_rows.error());
    ++m_removedNow;
    return true;
}

bool ScanBatchWriter::execute(Result<db::Recordset>& statement) {
    if (!statement) return fail(statement.error());
    if (!begin()) return false;
    if (Status s = statement.value().execute(); !s) return fail(s.error());
    return true;
}
