#include "components/LibraryScanner.h"

#include "components/AudioFile.h"
#include "components/FileRows.h"
#include "components/FolderWalker.h"
#include "components/ParallelReader.h"
#include "core/OleDate.h"

#include <QDir>
#include <QFile>
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

struct Root {
    QByteArray path;   // without trailing separator ("/" stays "/")
    QByteArray prefix; // with trailing separator
    qint64 folderId = 0;
    bool listed = false;
};

QByteArray rootPathOf(const QString& folder) {
    QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    return QFile::encodeName(clean);
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

// A new file with the size and time of exactly one vanished file is that file,
// moved or renamed: its row (rating, play count, folders) moves with it. Such
// work items get the row's id, and the row leaves the list of vanished ones.
Status matchMoves(db::Database& db, std::vector<Work>& work,
                  std::vector<std::pair<qint64, QByteArray>>& gone) {
    if (gone.empty()) return {};
    using Key = QPair<qint64, qint64>; // size, modification time
    QHash<Key, size_t> byFacts;
    QSet<Key> ambiguous;
    Result<db::Recordset> r =
        db.prepare(QStringLiteral("select size, file_mtime from FILES where id=?1"));
    if (!r) return Status::failure(r.error());
    for (size_t i = 0; i < gone.size(); ++i) {
        r.value().reset();
        r.value().bind(1, gone[i].first);
        if (!r.value().next()) continue;
        const Key key{r.value().integer(0), r.value().integer(1)};
        if (byFacts.contains(key)) ambiguous.insert(key);
        byFacts.insert(key, i);
    }
    QHash<Key, int> newCount;
    for (const Work& w : work)
        if (w.id == 0) ++newCount[{w.file.size, w.file.mtimeNs}];
    QSet<size_t> taken;
    for (Work& w : work) {
        const Key key{w.file.size, w.file.mtimeNs};
        const auto it = byFacts.constFind(key);
        if (w.id != 0 || it == byFacts.cend() || ambiguous.contains(key) ||
            newCount.value(key) != 1)
            continue;
        w.id = gone[*it].first;
        taken.insert(*it);
    }
    if (!taken.isEmpty()) {
        std::vector<std::pair<qint64, QByteArray>> rest;
        for (size_t i = 0; i < gone.size(); ++i)
            if (!taken.contains(i)) rest.push_back(std::move(gone[i]));
        gone.swap(rest);
    }
    return {};
}

bool cancelled(const std::atomic<bool>* c) {
    return c && c->load(std::memory_order_relaxed);
}

} // namespace

LibraryScanner::LibraryScanner(db::Database& db) : m_db(db) {}

Result<ScanCounts> LibraryScanner::runOnFile(const QString& databasePath, const QString& folder,
                                             const Callbacks& callbacks,
                                             const std::atomic<bool>* cancel, int readerThreads) {
    Result<db::Database> d = db::Database::open(databasePath);
    if (!d) return Result<ScanCounts>::failure(d.error());
    LibraryScanner scanner(d.value());
    scanner.setReaderThreads(readerThreads);
    return scanner.run(folder, callbacks, cancel);
}

Result<ScanCounts> LibraryScanner::run(const QString& folder, const Callbacks& callbacks,
                                       const std::atomic<bool>* cancel) {
    const QString f = folder.trimmed();
    return run(f.isEmpty() ? QStringList() : QStringList{f}, callbacks, cancel);
}

Result<ScanCounts> LibraryScanner::run(const QStringList& folders, const Callbacks& cb,
                                       const std::atomic<bool>* cancel) {
    using Fail = Result<ScanCounts>;
    auto status = [&cb](qint32 code, const QString& text) {
        if (cb.status) cb.status(code, text);
    };
    auto progress = [&cb](float p) {
        if (cb.progress) cb.progress(p);
    };
    ScanCounts counts;
    const bool whole = folders.isEmpty();

    // 1. The roots.
    std::vector<Root> roots;
    {
        Result<db::Recordset> r =
            m_db.prepare(QStringLiteral("select id, path from MMFOLDERS order by id"));
        if (!r) return Fail::failure(r.error());
        QHash<QByteArray, qint64> media;
        while (r.value().next())
            media.insert(rootPathOf(r.value().text(1)), r.value().integer(0));
        if (whole) {
            for (auto it = media.cbegin(); it != media.cend(); ++it)
                roots.push_back({it.key(), prefixOf(it.key()), it.value(), false});
        } else {
            for (const QString& folder : folders) {
                const QByteArray p = rootPathOf(folder.trimmed());
                roots.push_back({p, prefixOf(p), media.value(p, 0), false});
            }
        }
        std::sort(roots.begin(), roots.end(),
                  [](const Root& a, const Root& b) { return a.path < b.path; });
        // A root inside another root is scanned with it.
        std::vector<Root> outer;
        for (Root& rt : roots)
            if (outer.empty() || !startsWith(rt.prefix, outer.back().prefix)) outer.push_back(rt);
        roots.swap(outer);
    }

    // 2. Walk in the background while the rows the library has are read.
    FolderWalker walker(cancel, cb.folder);
    std::vector<QByteArray> rootPaths;
    for (const Root& rt : roots) {
        status(ScanFolder, QFile::decodeName(rt.path));
        rootPaths.push_back(rt.path);
    }
    const std::vector<bool> listed = walker.start(rootPaths);
    QList<QByteArray> unreadable; // prefixes whose rows must stay
    for (size_t i = 0; i < roots.size(); ++i) {
        roots[i].listed = listed[i];
        if (!listed[i]) {
            unreadable.append(roots[i].prefix);
            status(ScanFolderMissing, QFile::decodeName(roots[i].path));
        }
    }
    QHash<QByteArray, KnownRow> known;
    {
        Result<db::Recordset> r =
            m_db.prepare(QStringLiteral("select id, fullpath, size, file_mtime from FILES where "
                                        "fullpath >= ?1 and fullpath < ?2"));
        if (!r) return Fail::failure(r.error());
        for (const Root& rt : roots) {
            r.value().reset();
            r.value()
                .bind(1, QByteArrayView(rt.prefix))
                .bind(2, QByteArrayView(prefixEnd(rt.prefix)));
            while (r.value().next())
                known.insert(
                    r.value().utf8(1).toByteArray(),
                    {r.value().integer(0), r.value().integer(2), r.value().integer(3), false});
        }
    }
    // A whole refresh also drops rows of vanished files from outside the media
    // folders (files added one by one); those that exist stay.
    std::vector<std::pair<qint64, QByteArray>> gone;
    if (whole) {
        QString sql = QStringLiteral("select id, fullpath from FILES where 1");
        for (size_t i = 0; i < roots.size(); ++i)
            sql += QStringLiteral(" and not (fullpath >= ?%1 and fullpath < ?%2)")
                       .arg(2 * i + 1)
                       .arg(2 * i + 2);
        Result<db::Recordset> r = m_db.prepare(sql);
        if (!r) return Fail::failure(r.error());
        std::vector<QByteArray> ends;
        for (size_t i = 0; i < roots.size(); ++i) {
            ends.push_back(prefixEnd(roots[i].prefix));
            r.value()
                .bind(static_cast<int>(2 * i + 1), QByteArrayView(roots[i].prefix))
                .bind(static_cast<int>(2 * i + 2), QByteArrayView(ends.back()));
        }
        while (r.value().next()) {
            const QByteArray p = r.value().utf8(1).toByteArray();
            struct stat st {};
            if (::stat(p.constData(), &st) != 0 && errno == ENOENT)
                gone.push_back({r.value().integer(0), p});
        }
    }
    walker.finish();
    for (const FolderWalker::Lost& l : walker.lost()) {
        // A folder that is gone takes its files along; one that cannot be read keeps them.
        if (l.error != ENOENT && l.error != ENOTDIR) unreadable.append(prefixOf(l.folder));
        status(ScanFolderLost,
               QStringLiteral("%1: %2").arg(QFile::decodeName(l.folder),
                                            QString::fromLocal8Bit(std::strerror(l.error))));
    }
    if (cancelled(cancel)) {
        status(ScanCancelled, QStringLiteral("cancelled"));
        return counts;
    }
    progress(0);

    // 3. Sort what was found into new, changed and unchanged.
    std::vector<Work> work;
    counts.seen = static_cast<qint32>(walker.files().size());
    for (FileFacts& f : walker.files()) {
        const auto it = known.find(f.path);
        if (it != known.end()) {
            it->seen = true;
            if (it->size == f.size && it->mtimeNs == f.mtimeNs) continue;
            work.push_back({std::move(f), AudioType::None, it->id});
        } else {
            work.push_back({std::move(f), AudioType::None, 0});
        }
    }
    walker.files() = {};
    // New rows get their ids in path order.
    std::sort(work.begin(), work.end(),
              [](const Work& a, const Work& b) { return a.file.path < b.file.path; });

    auto isProtected = [&unreadable](const QByteArray& path) {
        for (const QByteArray& p : unreadable)
            if (startsWith(path, p)) return true;
        return false;
    };
    for (auto it = known.cbegin(); it != known.cend(); ++it)
        if (!it->seen && !isProtected(it.key())) gone.push_back({it->id, it.key()});
    known.clear();

    if (Status st = matchMoves(m_db, work, gone); !st) return Fail::failure(st.error());

    // 4. Read on every core, write here in batches.
    const size_t n = work.size();
    for (Work& w : work)
        w.type = AudioTypeOf(QByteArrayView(w.file.path));
    FileRowWriter writer(m_db);
    if (!writer.ok()) return Fail::failure(writer.error());
    const double now = OleDate::now();
    bool failed = false;
    bool inTx = false;
    int inBatch = 0;
    auto commitBatch = [&]() {
        if (!inTx) return true;
        inTx = false;
        inBatch = 0;
        if (Status s = m_db.commit(); !s) {
            m_db.rollback();
            status(ScanDatabaseError, s.error());
            return false;
        }
        return true;
    };
    auto beginBatch = [&]() {
        if (inTx) return true;
        if (Status s = m_db.begin(); !s) {
            status(ScanDatabaseError, s.error());
            return false;
        }
        inTx = true;
        return true;
    };

    {
        ParallelReader reader(
            n,
            [&work](size_t i) {
                return ReadAudioFacts(work[i].file.path.constData(), work[i].type,
                                      static_cast<long>(work[i].file.size));
            },
            m_threads, cancel);
        AudioFacts facts;
        int lastPercent = -1;
        for (size_t i = 0; i < n && reader.take(i, facts); ++i) {
            if (!beginBatch()) {
                failed = true;
                break;
            }
            const Work& w = work[i];
            if (w.id == 0) {
                if (writer.insert(w.file, facts, now) != 0) ++counts.added;
            } else if (writer.update(w.id, w.file, facts, now)) {
                ++counts.updated;
            }
            if (!writer.ok()) {
                status(ScanDatabaseError, writer.error());
                failed = true;
                break;
            }
            if (++inBatch >= m_batch && !commitBatch()) {
                failed = true;
                break;
            }
            const int percent = static_cast<int>((i + 1) * 100 / n);
            if (percent != lastPercent) {
                lastPercent = percent;
                progress(static_cast<float>(i + 1) * 100.0f / static_cast<float>(n));
            }
        }
    }
    if (!failed && !commitBatch()) failed = true;
    if (failed) {
        if (inTx) m_db.rollback();
        return counts;
    }
    if (cancelled(cancel)) {
        status(ScanCancelled, QStringLiteral("cancelled"));
        return counts;
    }

    // 5. Rows of vanished files leave, with their virtual-folder rows.
    if (!gone.empty()) {
        if (!beginBatch()) return counts;
        for (const auto& g : gone) {
            if (!writer.remove(g.first)) {
                status(ScanDatabaseError, writer.error());
                m_db.rollback();
                return counts;
            }
            ++counts.removed;
        }
        if (!commitBatch()) return counts;
    }

    // 6. Each scanned media folder remembers when.
    {
        Result<db::Recordset> r =
            m_db.prepare(QStringLiteral("update MMFOLDERS set lastscan=?1 where id=?2"));
        if (r) {
            for (const Root& rt : roots)
                if (rt.listed && rt.folderId > 0)
                    r.value().bind(1, now).bind(2, rt.folderId).execute();
        }
    }
    progress(100);
    status(ScanDone, QStringLiteral("%1 seen, %2 added, %3 updated, %4 removed")
                         .arg(counts.seen)
                         .arg(counts.added)
                         .arg(counts.updated)
                         .arg(counts.removed));
    return counts;
}
