#pragma once
// Writing rows of table FILES from what was read of a file. Shared by the
// scanner, AddLibraryFile and TagService; the statements are prepared once.
#include "components/AudioFile.h"
#include "core/Database.h"

#include <QByteArray>

// What the file system says about a file.
struct FileFacts {
    QByteArray path;     // full path as stored: FileNameCodec::rawToUtf8 of the name's bytes
    qint64 size = 0;     // bytes
    qint64 mtimeNs = 0;  // modification time, ns since the Unix epoch
    double fileDate = 0; // the same as an OLE date (local time)
};

// Reads size and modification time of the file whose stored path is given (the
// raw name is FileNameCodec::utf8ToRaw of it); false when it cannot be stat'ed.
bool StatFile(const QByteArray& path, FileFacts& facts);

class FileRowWriter {
public:
    explicit FileRowWriter(db::Database& db);
    bool ok() const { return m_error.isEmpty(); }
    const QString& error() const { return m_error; }

    // A new row; returns its id, or 0 on failure (see error()).
    qint64 insert(const FileFacts& file, const AudioFacts& audio, double now);
    // Replaces the file facts and tags of a row; rating, play count and the
    // date it was added stay.
    bool update(qint64 id, const FileFacts& file, const AudioFacts& audio, double now);
    bool remove(qint64 id);

private:
    void bindCommon(db::Recordset& st, const FileFacts& file, const AudioFacts& audio, double now);
    db::Database& m_db;
    db::Recordset m_insert, m_update, m_delete;
    QString m_error;
};
