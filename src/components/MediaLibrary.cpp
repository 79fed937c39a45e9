#include "components/MediaLibrary.h"

#include "components/AudioFile.h"
#include "components/CoverArt.h"
#include "components/FileRows.h"
#include "core/FileLock.h"
#include "core/Formatting.h"
#include "core/LibrarySchema.h"
#include "core/LockHolders.h"
#include "core/OleDate.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace {

// Columns of FileField codes; empty for none.
const char* columnOf(int code) {
    static const char* const columns[] = {
        "id",         "filename",     "filetitle", "fullpath", "size",       "DATETIME",
        "type",       "bitrate",      "frequency", "duration", "md_album",   "md_artist",
        "md_track",   "md_genredesc", "md_title",  "md_year",  "MD_GENREID", "rating",
        "DATE_ADDED", "date_updated", "playcount", "lastplay", "channels",   "md_comment"};
    return code >= 0 && code < static_cast<int>(std::size(columns)) ? columns[code] : nullptr;
}

bool isDateField(int code) {
    return code == FileField::FileDate || code == FileField::DateAdded ||
           code == FileField::DateUpdated || code == FileField::LastPlayed;
}

bool isTextField(int code) {
    return code == FileField::FileName || code == FileField::FileTitle ||
           code == FileField::FullPath || code == FileField::Type ||
           (code >= FileField::Album && code <= FileField::Year) || code == FileField::Comment;
}

void fillFromRow(const db::Recordset& r, FileRecord& rec) {
    rec.id = static_cast<qint32>(r.integer("id"));
    rec.fullPath = r.text("fullpath");
    rec.fileName = r.text("filename");
    rec.fileTitle = r.text("filetitle");
    rec.type = r.text("type");
    rec.album = r.text("md_album");
    rec.artist = r.text("md_artist");
    rec.year = r.text("md_year");
    rec.track = r.text("md_track");
    const qint64 genre = r.integer("MD_GENREID");
    rec.genreNumber = static_cast<quint8>(genre >= 0 && genre <= 255 ? genre : 255);
    rec.genreText = r.text("md_genredesc");
    rec.title = r.text("md_title");
    rec.comment = r.text("md_comment");
    rec.bitrate = static_cast<qint32>(r.integer("bitrate"));
    rec.duration = std::round(r.number("duration") * 10000.0) / 10000.0;
    rec.frequency = static_cast<qint32>(r.integer("frequency"));
    rec.channels = static_cast<qint32>(r.integer("channels"));
    rec.size = r.integer("size");
    rec.added = OleDate::toDateTime(r.number("DATE_ADDED"));
    rec.updated = OleDate::toDateTime(r.number("date_updated"));
    rec.fileDate = OleDate::toDateTime(r.number("DATETIME"));
    rec.lastPlayed = OleDate::toDateTime(r.number("lastplay"));
    rec.rating = static_cast<qint32>(r.integer("rating"));
    rec.playCount = static_cast<qint32>(r.integer("playcount"));
}

void fillTexts(FileRecord& rec) {
    rec.bitrateText = rec.bitrate > 0 ? mainMod::FormatBitrate(rec.bitrate) : QString();
    rec.durationText = rec.duration > 0 ? mainMod::FormatDuration(rec.duration) : QString();
    rec.frequencyText = rec.frequency > 0 ? mainMod::FormatFrequency(rec.frequency) : QString();
}

} // namespace

MediaLibrary::MediaLibrary(QObject* parent)
    : QObject(parent), m_tags(&m_db), m_vfolders(&m_db), m_mfolders(&m_db) {}

MediaLibrary::~MediaLibrary() {
    stopWorker();
}

void MediaLibrary::stopWorker() {
    if (m_worker.joinable()) {
        m_cancel = true;
        m_worker.join();
    }
}

bool MediaLibrary::OpenLibrary(const QString& databasePath) {
    stopWorker();
    m_refreshing = false;
    m_db.close();
    m_path = databasePath;
    m_openError.clear();
    if (databasePath.isEmpty() || !QFileInfo(databasePath).isFile()) {
        m_openError = databasePath.isEmpty()
                          ? QStringLiteral("no library database")
                          : QStringLiteral("the library %1 does not exist").arg(databasePath);
        return false;
    }
    Result<db::Database> d = db::Database::open(databasePath);
    if (!d) {
        m_openError = d.error();
        return false;
    }
    // A read-only library is used as it is: its tables cannot be brought up to date.
    if (!d.value().isReadOnly()) {
        if (Status s = LibrarySchema::ensure(d.value()); !s) {
            m_openError = s.error();
            return false;
        }
    }
    m_db = std::move(d).value();
    m_mfolders.Reload();
    return true;
}

void MediaLibrary::CloseLibrary() {
    stopWorker();
    m_refreshing = false;
    m_db.close();
    m_mfolders.Reload();
}

bool MediaLibrary::Compact() {
    if (!IsOpen() || m_refreshing || IsReadOnly()) return false;
    // Named in the lock file, so that a program kept waiting can say who holds the library.
    FileLock lock(LockHolders::LibraryLockPath(m_path), FileLock::TryOnce);
    if (!lock.locked()) return false;
    lock.writeOwner(QCoreApplication::applicationName() + QStringLiteral(" compacting"));
    const bool ok =
        m_db.executeNative(QStringLiteral("vacuum; pragma wal_checkpoint(TRUNCATE)")).ok();
    // Reopen, so that the connection starts afresh on the compacted file.
    const QString path = m_path;
    return OpenLibrary(path) && ok;
}

bool MediaLibrary::RefreshLibrary(const QString& folder, int) {
    if (!IsOpen() || m_refreshing) return false;
    if (m_worker.joinable()) m_worker.join();
    m_cancel = false;
    m_refreshing = true;
    const QString path = m_path;
    LibraryScanner::Callbacks cb;
    cb.progress = [this](float p) {
        QMetaObject::invokeMethod(
            this, [this, p] { emit RefreshProgress(p); }, Qt::QueuedConnection);
    };
    cb.status = [this](qint32 code, const QString& text) {
        QMetaObject::invokeMethod(
            this, [this, code, text] { emit StatusUpdate(code, text); }, Qt::QueuedConnection);
    };
    // Another program's scan holds the library: say so rather than stand still.
    cb.waiting = [status = cb.status](const QString& message) { status(ScanFolder, message); };
    m_worker = std::thread([this, path, folder, cb]() {
        Result<ScanCounts> r = LibraryScanner::runOnFile(path, folder, cb, &m_cancel, 0,
                                                         QStringLiteral("quavero refresh"));
        ScanCounts counts;
        if (r)
            counts = r.value();
        else if (cb.status)
            cb.status(ScanDatabaseError, r.error());
        QMetaObject::invokeMethod(
            this, [this, counts] { finishRefresh(counts); }, Qt::QueuedConnection);
    });
    return true;
}

void MediaLibrary::finishRefresh(ScanCounts counts) {
    if (m_worker.joinable()) m_worker.join();
    m_refreshing = false;
    m_mfolders.Reload();
    emit RefreshComplete(counts.seen, counts.added, counts.updated, counts.removed);
}

void MediaLibrary::CancelRefresh() {
    if (m_refreshing) m_cancel = true;
}

bool MediaLibrary::WaitForRefresh(int timeoutMs) {
    if (!m_refreshing) return true;
    QEventLoop loop;
    connect(this, &MediaLibrary::RefreshComplete, &loop, &QEventLoop::quit);
    if (timeoutMs >= 0) QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return !m_refreshing;
}

bool MediaLibrary::GetFileRecord(qint32 id, FileRecord& record) {
    record = FileRecord();
    if (!IsOpen()) return false;
    Result<db::Recordset> r = m_db.prepare(QStringLiteral("select * from FILES where id=?"));
    if (!r) return false;
    r.value().bind(1, id);
    if (!r.value().next()) return false;
    fillFromRow(r.value(), record);
    fillTexts(record);
    return true;
}

bool MediaLibrary::GetFileRecord(const QString& file, FileRecord& record) {
    bool isId = false;
    const qint32 id = file.trimmed().toInt(&isId);
    if (isId && !file.contains(QLatin1Char('/'))) return GetFileRecord(id, record);
    record = FileRecord();
    if (IsOpen()) {
        Result<db::Recordset> r =
            m_db.prepare(QStringLiteral("select * from FILES where fullpath=?"));
        if (r) {
            r.value().bind(1, file);
            if (r.value().next()) {
                fillFromRow(r.value(), record);
                fillTexts(record);
                return true;
            }
        }
    }
    // Not in the library: what the file itself says.
    FileFacts facts;
    if (!StatFile(file.toUtf8(), facts)) return false;
    const AudioFacts a = ReadAudioFacts(file);
    const QFileInfo info(file);
    record.fullPath = file;
    record.fileName = info.fileName();
    record.fileTitle = record.fileName.left(record.fileName.lastIndexOf(QLatin1Char('.')));
    record.type = QString::fromLatin1(AudioTypeName(AudioTypeOf(file)));
    record.artist = QString::fromStdString(a.artist);
    record.album = QString::fromStdString(a.album);
    record.title = QString::fromStdString(a.title);
    record.year = QString::fromStdString(a.year);
    record.track = QString::fromStdString(a.track);
    record.genreText = QString::fromStdString(a.genre);
    record.genreNumber = static_cast<quint8>(a.genreId);
    record.comment = QString::fromStdString(a.comment);
    record.bitrate = a.bitrate;
    record.duration = a.duration;
    record.frequency = a.frequency;
    record.channels = a.channels;
    record.size = facts.size;
    record.fileDate = OleDate::toDateTime(facts.fileDate);
    fillTexts(record);
    return true;
}

QVariant MediaLibrary::GetFileField(qint32 id, int code) {
    const char* column = columnOf(code);
    if (!IsOpen() || !column) return {};
    Result<db::Recordset> r =
        m_db.prepare(QStringLiteral("select %1 from FILES where id=?").arg(QLatin1String(column)));
    if (!r) return {};
    r.value().bind(1, id);
    if (!r.value().next()) return {};
    if (isDateField(code)) return OleDate::toDateTime(r.value().number(0));
    if (isTextField(code)) return r.value().text(0);
    if (code == FileField::Duration) return r.value().number(0);
    return r.value().integer(0);
}

bool MediaLibrary::SetFileField(qint32 id, int code, const QVariant& value) {
    const char* column = columnOf(code);
    if (!IsOpen() || !column || code == FileField::Id) return false;
    Result<db::Recordset> up =
        m_db.prepare(QStringLiteral("update FILES set %1=?, date_updated=? where id=?")
                         .arg(QLatin1String(column)));
    if (!up) return false;
    if (isDateField(code)) {
        const double days = value.typeId() == QMetaType::QDateTime
                                ? OleDate::fromDateTime(value.toDateTime())
                                : value.toDouble();
        up.value().bind(1, days);
    } else if (isTextField(code)) {
        up.value().bind(1, value.toString());
    } else if (code == FileField::Duration) {
        up.value().bind(1, value.toDouble());
    } else {
        bool ok = false;
        const qint64 n = value.toLongLong(&ok);
        if (!ok) return false;
        up.value().bind(1, n);
    }
    up.value().bind(2, OleDate::now()).bind(3, id);
    return up.value().execute() && m_db.changes() == 1;
}

qint32 MediaLibrary::AddLibraryFile(const QString& fullPath) {
    if (!IsOpen()) return 0;
    const QString path = QDir::cleanPath(QDir(fullPath).absolutePath());
    FileFacts facts;
    if (AudioTypeOf(path) == AudioType::None || !StatFile(path.toUtf8(), facts)) return 0;
    const AudioFacts audio = ReadAudioFacts(path);
    FileRowWriter writer(m_db);
    Result<db::Recordset> r = m_db.prepare(QStringLiteral("select id from FILES where fullpath=?"));
    if (!r) return 0;
    r.value().bind(1, QByteArrayView(facts.path));
    if (r.value().next()) {
        const qint32 id = static_cast<qint32>(r.value().integer(0));
        r.value().close();
        return writer.update(id, facts, audio, OleDate::now()) ? id : 0;
    }
    r.value().close();
    return static_cast<qint32>(writer.insert(facts, audio, OleDate::now()));
}

bool MediaLibrary::RemoveLibraryFile(const QString& id) {
    bool ok = false;
    const qint64 n = id.trimmed().toLongLong(&ok);
    if (!IsOpen() || !ok) return false;
    FileRowWriter writer(m_db);
    return writer.remove(n) && m_db.changes() > 0;
}

QString MediaLibrary::CoverArtPath(qint32 id) {
    const QVariant path = GetFileField(id, FileField::FullPath);
    if (!path.isValid()) return {};
    return CoverArt::Find(path.toString(), id);
}
