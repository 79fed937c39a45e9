#include "components/FileRows.h"

#include "core/FileNameCodec.h"
#include "core/OleDate.h"

#include <sys/stat.h>

namespace {

QByteArrayView fileNameOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return QByteArrayView(path).sliced(slash + 1);
}

QByteArrayView titleOf(QByteArrayView name) {
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? name : name.first(dot);
}

QByteArrayView view(const std::string& s) {
    return QByteArrayView(s.data(), static_cast<qsizetype>(s.size()));
}

const char* const kColumns =
    "fullpath, filename, filetitle, type, size, duration, bitrate, frequency, channels, "
    "md_artist, md_album, md_title, md_track, md_year, md_genredesc, MD_GENREID, md_comment, "
    "DATE_ADDED, DATETIME, date_updated, file_mtime, head_hash";

} // namespace

bool StatFile(const QByteArray& path, FileFacts& facts) {
    struct stat st {};
    if (::stat(FileNameCodec::utf8ToRaw(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    facts.path = path;
    facts.size = st.st_size;
    facts.mtimeNs = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    facts.fileDate = OleDate::fromUnix(st.st_mtim.tv_sec);
    return true;
}

FileRowWriter::FileRowWriter(db::Database& db) : m_db(db) {
    auto prep = [this](const QString& sql, db::Recordset& into) {
        Result<db::Recordset> r = m_db.prepare(sql);
        if (!r) {
            m_error = r.error();
            return;
        }
        into = std::move(r).value();
    };
    prep(QStringLiteral(
             "insert into FILES(%1) values(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,"
             "?15,?16,?17,?18,?19,?20,?21,?22)")
             .arg(QLatin1String(kColumns)),
         m_insert);
    prep(
        QStringLiteral("update FILES set fullpath=?1, filename=?2, filetitle=?3, type=?4, size=?5, "
                       "duration=?6, bitrate=?7, frequency=?8, channels=?9, md_artist=?10, "
                       "md_album=?11, md_title=?12, md_track=?13, md_year=?14, md_genredesc=?15, "
                       "MD_GENREID=?16, md_comment=?17, DATETIME=?19, date_updated=?20, "
                       "file_mtime=?21, head_hash=?22 where id=?23"),
        m_update);
    prep(QStringLiteral("delete from FILES where id=?1"), m_delete);
}

// The texts are bound without copies: they outlive the statement's run.
void FileRowWriter::bindCommon(db::Recordset& st, const FileFacts& file, const AudioFacts& a,
                               double now) {
    const QByteArrayView name = fileNameOf(file.path);
    st.bindStatic(1, QByteArrayView(file.path))
        .bindStatic(2, name)
        .bindStatic(3, titleOf(name))
        .bindStatic(4, QByteArrayView(AudioTypeName(AudioTypeOf(name))))
        .bind(5, file.size)
        .bind(6, a.duration)
        .bind(7, a.bitrate)
        .bind(8, a.frequency)
        .bind(9, a.channels)
        .bindStatic(10, view(a.artist))
        .bindStatic(11, view(a.album))
        .bindStatic(12, view(a.title))
        .bindStatic(13, view(a.track))
        .bindStatic(14, view(a.year))
        .bindStatic(15, view(a.genre))
        .bind(16, a.genreId)
        .bindStatic(17, view(a.comment))
        .bind(18, now)
        .bind(19, file.fileDate)
        .bind(20, now)
        .bind(21, file.mtimeNs);
    if (a.headHash)
        st.bind(22, *a.headHash);
    else
        st.bindNull(22);
}

qint64 FileRowWriter::insert(const FileFacts& file, const AudioFacts& audio, double now) {
    if (!ok()) return 0;
    bindCommon(m_insert, file, audio, now);
    if (Status s = m_insert.execute(); !s) {
        m_error = s.error();
        return 0;
    }
    return m_db.lastInsertId();
}

bool FileRowWriter::update(qint64 id, const FileFacts& file, const AudioFacts& audio, double now) {
    if (!ok()) return false;
    bindCommon(m_update, file, audio, now);
    m_update.bind(23, id);
    if (Status s = m_update.execute(); !s) {
        m_error = s.error();
        return false;
    }
    return true;
}

bool FileRowWriter::remove(qint64 id) {
    if (!ok()) return false;
    m_delete.bind(1, id);
    if (Status s = m_delete.execute(); !s) {
        m_error = s.error();
        return false;
    }
    return true;
}
