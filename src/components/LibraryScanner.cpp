#include "components/LibraryScanner.h"

#include "components/AudioFile.h"
#include "components/FileRows.h"
#include "components/FolderWalker.h"
#include "components/HeadHash.h"
#include "components/MoveMatcher.h"
#include "components/ParallelReader.h"
#include "components/ScanBatchWriter.h"
#include "components/ScanLock.h"
#include "core/FileNameCodec.h"
#include "core/OleDate.h"

#include <QDir>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cstring>
#include <vector>

#include <sys/stat.h>

namespace {

struct KnownRow {
    qint64 id = 0;
    qint64 size = 0;
    qint64 mtimeNs = 0;
    bool seen = false;
};

// One file that must be read and written.
struct Work {
    FileFacts file;
    AudioType type = AudioType::None;
    qint64 id = 0; // 0: a new row
};

struct Gone {
    qint64 id = 0;
    QByteArray path;
};

struct Root {
    QByteArray path;   // text form, without trailing separator ("/" stays "/")
    QByteArray prefix; // with trailing separator
    qint64 folderId = 0;
    bool listed = false;
};

// The text form of a folder as the walk will produce it from the folder's bytes.
QByteArray rootPathOf(const QString& folder) {
    const QByteArray text = QDir::cleanPath(QDir(folder).absolutePath()).toUtf8();
    if (!FileNameCodec::utf8HasMappedBytes(text)) return text;
    return FileNameCodec::rawToUtf8(FileNameCodec::utf8ToRaw(text));
}

QByteArray prefixOf(const QByteArray& root) {
    return root.endsWith('/') ? root : root + '/';
}

// The smallest text greater than every text that starts with the prefix.
QByteArray prefixEnd(QByteArray prefix) {
    prefix.back() = static_cast<char>(prefix.back() + 1); // '/' + 1 == '0'
    return prefix;
}

bool startsWith(const QByteArray& path, const QByteArray& prefix) {
    return path.size() >= prefix.size() && std::memcmp(path.constData(), prefix.constData(),
                                                       static_cast<size_t>(prefix.size())) == 0;
}

QString textOf(const QByteArray& path) {
    return QString::fromUtf8(path);
}

QString reasonOf(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

bool cancelled(const std::atomic<bool>* c) {
    return c && c->load(std::memory_order_relaxed);
}

// Stored paths whose rows stay although no file was found there: folders that
// could not be read, entries that could not be looked at, and what is below them.
class KeptPaths {
public:
    void addFolder(const QByteArray& path) { m_prefixes.append(prefixOf(path)); }
    void addEntry(const QByteArray& path) {
        m_exact.insert(path);
        addFolder(path);
    }
    bool contains(const QByteArray& path) const {
        if (m_exact.contains(path)) return true;
        return std::any_of(m_prefixes.cbegin(), m_prefixes.cend(),
                           [&path](const QByteArray& p) { return startsWith(path, p); });
    }

private:
    QList<QByteArray> m_prefixes;
    QSet<QByteArray> m_exact;
};

// One run of the scanner, stage by stage: roots, walk, sort, match moves, read
// and write, remove.
class ScanRun {
public:
    ScanRun(db::Database& db, const LibraryScanner::Callbacks& cb, const std::atomic<bool>* cancel,
            int threads, int batch, bool rereadAll)
        : m_db(db), m_cb(cb), m_cancel(cancel), m_threads(threads), m_batch(batch),
          m_rereadAll(rereadAll) {}

    Result<ScanCounts> run(const QStringList& folders);

private:
    void status(qint32 code, const QString& text) const {
        if (m_cb.status) m_cb.status(code, text);
    }
    void progress(float percent) const {
        if (m_cb.progress) m_cb.progress(percent);
    }
    // Ends the run with its outcome; the counts are those of committed work.
    ScanCounts end(qint32 outcome, const QString& text, const ScanBatchWriter* writer);

    Status findRoots(const QStringList& folders);
    Status walk();
    Status loadKnown();
    Status loadOutside();
    void noteProblems(const FolderWalker& walker);
    void sortFound(std::vector<FileFacts>& found);
    Status matchMoves();
    bool readAndWrite(ScanBatchWriter& writer);
    bool removeGone(ScanBatchWriter& writer);

    db::Database& m_db;
    const LibraryScanner::Callbacks& m_cb;
    const std::atomic<bool>* m_cancel;
    const int m_threads;
    const int m_batch;
    const bool m_rereadAll;
    const double m_now = OleDate::now();

    ScanCounts m_counts;
    bool m_wholeRefresh = false;
    std::vector<Root> m_roots;
    KeptPaths m_kept;
    QHash<QByteArray, KnownRow> m_known;
    std::vector<Work> m_work;
    std::vector<Gone> m_gone;
};

ScanCounts ScanRun::end(qint32 outcome, const QString& text, const ScanBatchWriter* writer) {
    m_counts.outcome = outcome;
    if (writer) {
        m_counts.added = writer->added();
        m_counts.updated = writer->updated();
        m_counts.removed = writer->removed();
    }
    if (outcome != ScanDone) {
        status(outcome, text);
        return m_counts;
    }
    progress(100);
    QString summary = QStringLiteral("%1 seen, %2 added, %3 updated, %4 removed")
                          .arg(m_counts.seen)
                          .arg(m_counts.added)
                          .arg(m_counts.updated)
                          .arg(m_counts.removed);
    if (m_counts.skipped > 0) summary += QStringLiteral(", %1 skipped").arg(m_counts.skipped);
    status(ScanDone, summary);
    return m_counts;
}

Result<ScanCounts> ScanRun::run(const QStringList& folders) {
    using Fail = Result<ScanCounts>;
    const QString cancelText = QStringLiteral("cancelled");
    m_wholeRefresh = folders.isEmpty();
    if (Status s = findRoots(folders); !s) return Fail::failure(s.error());
    if (Status s = walk(); !s) return Fail::failure(s.error());
    if (cancelled(m_cancel)) return end(ScanCancelled, cancelText, nullptr);
    progress(0);
    if (Status s = matchMoves(); !s) return Fail::failure(s.error());

    ScanBatchWriter writer(m_db, m_batch, m_now);
    if (!writer.ok()) return Fail::failure(writer.error());
    if (!readAndWrite(writer) || !removeGone(writer)) {
        if (!writer.ok()) return end(ScanDatabaseError, writer.error(), &writer);
        return end(ScanCancelled, cancelText, &writer);
    }
    return end(ScanDone, QString(), &writer);
}

// The folders to walk: the given ones, or every media folder; a folder inside
// another is walked with it.
Status ScanRun::findRoots(const QStringList& folders) {
    Result<db::Recordset> r =
        m_db.prepare(QStringLiteral("select id, path from MMFOLDERS order by id"));
    if (!r) return Status::failure(r.error());
    QHash<QByteArray, qint64> media;
    while (r.value().next())
        media.insert(rootPathOf(r.value().text(1)), r.value().integer(0));
    if (m_wholeRefresh) {
        for (auto it = media.cbegin(); it != media.cend(); ++it)
            m_roots.push_back({it.key(), prefixOf(it.key()), it.value(), false});
    } else {
        for (const QString& folder : folders) {
            const QByteArray p = rootPathOf(folder.trimmed());
            m_roots.push_back({p, prefixOf(p), media.value(p, 0), false});
        }
    }
    std::sort(m_roots.begin(), m_roots.end(),
              [](const Root& a, const Root& b) { return a.path < b.path; });
    std::vector<Root> outer;
    for (Root& rt : m_roots)
        if (outer.empty() || !startsWith(rt.prefix, outer.back().prefix)) outer.push_back(rt);
    m_roots.swap(outer);
    return {};
}

// Walks in the background while the rows the library has are read, then sorts
// what was found into work (new and changed files) and gone rows.
Status ScanRun::walk() {
    FolderWalker walker(m_cancel, m_cb.folder);
    std::vector<QByteArray> paths;
    for (const Root& rt : m_roots) {
        status(ScanFolder, textOf(rt.path));
        paths.push_back(rt.path);
    }
    const std::vector<bool> listed = walker.start(paths);
    for (size_t i = 0; i < m_roots.size(); ++i) {
        m_roots[i].listed = listed[i];
        if (!listed[i]) {
            m_kept.addFolder(m_roots[i].path); // an unmounted disk must not empty the library
            status(ScanFolderMissing, textOf(m_roots[i].path));
        }
    }
    if (Status s = loadKnown(); !s) return s;
    if (m_wholeRefresh)
        if (Status s = loadOutside(); !s) return s;
    walker.finish();
    noteProblems(walker);
    if (!cancelled(m_cancel)) sortFound(walker.files());
    return {};
}

Status ScanRun::loadKnown() {
    Result<db::Recordset> r =
        m_db.prepare(QStringLiteral("select id, fullpath, size, file_mtime from FILES where "
                                    "fullpath >= ?1 and fullpath < ?2"));
    if (!r) return Status::failure(r.error());
    db::Recordset& rows = r.value();
    for (const Root& rt : m_roots) {
        rows.reset();
        rows.bind(1, QByteArrayView(rt.prefix)).bind(2, QByteArrayView(prefixEnd(rt.prefix)));
        while (rows.next())
            m_known.insert(rows.utf8(1).toByteArray(),
                           {rows.integer(0), rows.integer(2), rows.integer(3), false});
    }
    return {};
}

// A whole refresh also drops rows of vanished files from outside the media
// folders (files added one by one); those that exist stay.
Status ScanRun::loadOutside() {
    QString sql = QStringLiteral("select id, fullpath from FILES where 1");
    for (size_t i = 0; i < m_roots.size(); ++i)
        sql += QStringLiteral(" and not (fullpath >= ?%1 and fullpath < ?%2)")
                   .arg(2 * i + 1)
                   .arg(2 * i + 2);
    Result<db::Recordset> r = m_db.prepare(sql);
    if (!r) return Status::failure(r.error());
    std::vector<QByteArray> ends;
    ends.reserve(m_roots.size());
    for (size_t i = 0; i < m_roots.size(); ++i) {
        ends.push_back(prefixEnd(m_roots[i].prefix));
        r.value()
            .bind(static_cast<int>(2 * i + 1), QByteArrayView(m_roots[i].prefix))
            .bind(static_cast<int>(2 * i + 2), QByteArrayView(ends.back()));
    }
    while (r.value().next()) {
        const QByteArray p = r.value().utf8(1).toByteArray();
        struct stat st {};
        if (::stat(FileNameCodec::utf8ToRaw(p).constData(), &st) != 0 && errno == ENOENT)
            m_gone.push_back({r.value().integer(0), p});
    }
    return {};
}

void ScanRun::noteProblems(const FolderWalker& walker) {
    for (const FolderWalker::Problem& l : walker.lost()) {
        // A folder that is gone takes its files along; one that cannot be read keeps them.
        if (l.error != ENOENT && l.error != ENOTDIR) m_kept.addFolder(l.path);
        status(ScanFolderLost, QStringLiteral("%1: %2").arg(textOf(l.path), reasonOf(l.error)));
    }
    for (const FolderWalker::Problem& s : walker.skipped()) {
        m_kept.addEntry(s.path);
        if (m_cb.skipped) m_cb.skipped(textOf(s.path), reasonOf(s.error));
    }
    m_counts.skipped = static_cast<qint32>(walker.skipped().size());
}

// New and changed files become work, in path order (new rows get their ids in
// that order); rows whose files were not found are gone, unless kept.
void ScanRun::sortFound(std::vector<FileFacts>& found) {
    m_counts.seen = static_cast<qint32>(found.size());
    for (FileFacts& f : found) {
        const auto it = m_known.find(f.path);
        if (it == m_known.end()) {
            m_work.push_back({std::move(f), AudioType::None, 0});
            continue;
        }
        it->seen = true;
        if (m_rereadAll || it->size != f.size || it->mtimeNs != f.mtimeNs)
            m_work.push_back({std::move(f), AudioType::None, it->id});
    }
    found = {};
    std::sort(m_work.begin(), m_work.end(),
              [](const Work& a, const Work& b) { return a.file.path < b.file.path; });
    for (auto it = m_known.cbegin(); it != m_known.cend(); ++it)
        if (!it->seen && !m_kept.contains(it.key())) m_gone.push_back({it->id, it.key()});
    m_known.clear();
}

// A new file that is a gone one moved or renamed takes over its row (rating,
// play count, folders): the work item gets the row's id, and the row is no
// longer gone.
Status ScanRun::matchMoves() {
    if (m_gone.empty()) return {};
    Result<db::Recordset> r =
        m_db.prepare(QStringLiteral("select size, file_mtime, head_hash from FILES where id=?1"));
    if (!r) return Status::failure(r.error());
    std::vector<MoveCandidate> gone;
    std::vector<size_t> goneAt;
    for (size_t i = 0; i < m_gone.size(); ++i) {
        r.value().reset();
        r.value().bind(1, m_gone[i].id);
        if (!r.value().next()) continue;
        MoveCandidate c{m_gone[i].path, r.value().integer(0), r.value().integer(1), {}};
        if (!r.value().isNull(2)) c.headHash = r.value().integer(2);
        gone.push_back(c);
        goneAt.push_back(i);
    }
    r.value().close();
    std::vector<MoveCandidate> fresh;
    std::vector<size_t> freshAt;
    for (size_t i = 0; i < m_work.size(); ++i)
        if (m_work[i].id == 0) {
            fresh.push_back({m_work[i].file.path, m_work[i].file.size, m_work[i].file.mtimeNs, {}});
            freshAt.push_back(i);
        }
    const auto pairs = MatchMoves(fresh, gone, [&](size_t f) {
        return HeadHash::ofFile(FileNameCodec::utf8ToRaw(fresh[f].path).constData());
    });
    QSet<qint64> moved;
    for (const auto& [f, g] : pairs) {
        m_work[freshAt[f]].id = m_gone[goneAt[g]].id;
        moved.insert(m_gone[goneAt[g]].id);
    }
    std::erase_if(m_gone, [&moved](const Gone& g) { return moved.contains(g.id); });
    return {};
}

// Tags are read on every core, in path order, and written here in batches.
// False when the run stopped (cancelled, or the writer failed).
bool ScanRun::readAndWrite(ScanBatchWriter& writer) {
    const size_t n = m_work.size();
    for (Work& w : m_work)
        w.type = AudioTypeOf(QByteArrayView(w.file.path));
    ParallelReader reader(
        n,
        [this](size_t i) {
            const Work& w = m_work[i];
            const long size = static_cast<long>(w.file.size);
            if (!FileNameCodec::utf8HasMappedBytes(w.file.path))
                return ReadAudioFacts(w.file.path.constData(), w.type, size);
            return ReadAudioFacts(FileNameCodec::utf8ToRaw(w.file.path).constData(), w.type, size);
        },
        m_threads, m_cancel);
    AudioFacts facts;
    int lastPercent = -1;
    for (size_t i = 0; i < n; ++i) {
        if (!reader.take(i, facts)) {
            writer.commit(); // what was read before the cancel stays
            return false;
        }
        if (!writer.write(m_work[i].id, m_work[i].file, facts)) return false;
        const int percent = static_cast<int>((i + 1) * 100 / n);
        if (percent != lastPercent) {
            lastPercent = percent;
            progress(static_cast<float>(i + 1) * 100.0f / static_cast<float>(n));
        }
    }
    return writer.commit() && !cancelled(m_cancel);
}

// Only a scan that got this far removes rows: those of vanished files, with
// their virtual-folder rows. Each scanned media folder remembers when, in the
// same transaction.
bool ScanRun::removeGone(ScanBatchWriter& writer) {
    for (const Gone& g : m_gone)
        if (!writer.remove(g.id)) return false;
    Result<db::Recordset> r =
        m_db.prepare(QStringLiteral("update MMFOLDERS set lastscan=?1 where id=?2"));
    if (!r) return writer.execute(r);
    for (const Root& rt : m_roots)
        if (rt.listed && rt.folderId > 0) {
            r.value().bind(1, m_now).bind(2, rt.folderId);
            if (!writer.execute(r)) return false;
        }
    return writer.commit();
}

} // namespace

LibraryScanner::LibraryScanner(db::Database& db) : m_db(db) {}

Result<ScanCounts> LibraryScanner::runOnFile(const QString& databasePath, const QString& folder,
                                             const Callbacks& callbacks,
                                             const std::atomic<bool>* cancel, int readerThreads,
                                             const QString& lockOwner) {
    Result<db::Database> d = db::Database::open(databasePath);
    if (!d) return Result<ScanCounts>::failure(d.error());
    LibraryScanner scanner(d.value());
    scanner.setReaderThreads(readerThreads);
    if (!lockOwner.isEmpty()) scanner.setLockOwner(lockOwner);
    return scanner.run(folder, callbacks, cancel);
}

Result<ScanCounts> LibraryScanner::run(const QString& folder, const Callbacks& callbacks,
                                       const std::atomic<bool>* cancel) {
    const QString f = folder.trimmed();
    return run(f.isEmpty() ? QStringList() : QStringList{f}, callbacks, cancel);
}

Result<ScanCounts> LibraryScanner::run(const QStringList& folders, const Callbacks& cb,
                                       const std::atomic<bool>* cancel) {
    const QString path = m_db.path();
    // Said before anything else: the lock file could not be made there either.
    if (m_db.isReadOnly())
        return Result<ScanCounts>::failure(
            QStringLiteral("the library %1 is open read-only: there is no write access to the "
                           "file or its folder")
                .arg(path));
    std::unique_ptr<FileLock> lock;
    if (!path.isEmpty() && path != QLatin1String(":memory:")) {
        Result<std::unique_ptr<FileLock>> l =
            ScanLock::acquire(path, m_owner, {m_lockWaitMs, cb.waiting, cancel});
        if (!l && cancelled(cancel)) {
            if (cb.status) cb.status(ScanCancelled, QStringLiteral("cancelled"));
            ScanCounts counts;
            counts.outcome = ScanCancelled;
            return counts;
        }
        if (!l) return Result<ScanCounts>::failure(l.error());
        lock = std::move(l).value();
    }
    return ScanRun(m_db, cb, cancel, m_threads, m_batch, m_rereadAll).run(folders);
}
