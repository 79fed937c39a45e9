#include "components/FolderWalker.h"

#include "components/AudioFile.h"
#include "core/FileNameCodec.h"
#include "core/OleDate.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <unordered_set>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct DevIno {
    dev_t dev;
    ino_t ino;
    bool operator==(const DevIno& o) const { return dev == o.dev && ino == o.ino; }
};
struct DevInoHash {
    size_t operator()(const DevIno& d) const {
        return std::hash<unsigned long long>()(d.ino * 31 + d.dev);
    }
};

QByteArray withSlash(const QByteArray& path) {
    return path.endsWith('/') ? path : path + '/';
}

QByteArray joined(const QByteArray& prefix, QByteArrayView name) {
    QByteArray out;
    out.reserve(prefix.size() + name.size());
    out.append(prefix);
    out.append(name);
    return out;
}

} // namespace

// A folder to list: its raw bytes for the system, its text for the library.
// Most names need no mapping; then both share one buffer.
struct FolderWalker::Folder {
    QByteArray raw;
    QByteArray text;
    bool operator>(const Folder& o) const { return raw > o.raw; }
};

struct FolderWalker::Shared {
    const std::atomic<bool>* cancel = nullptr;
    std::function<void(const QString&)> onFolder;
    int threads = 1;
    std::mutex mutex;
    std::condition_variable cv;
    std::deque<Folder> queue;
    int busy = 0;
    std::unordered_set<DevIno, DevInoHash> visited;
    std::vector<std::thread> pool;
    std::vector<std::vector<FileFacts>> filesPerThread;
    std::vector<QList<Problem>> lostPerThread;
    std::vector<QList<Problem>> skippedPerThread;

    bool cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }
};

FolderWalker::FolderWalker(const std::atomic<bool>* cancel,
                           std::function<void(const QString&)> onFolder, int threads)
    : m_shared(std::make_unique<Shared>()) {
    m_shared->cancel = cancel;
    m_shared->onFolder = std::move(onFolder);
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    m_shared->threads = m_shared->onFolder ? 1 : (threads > 0 ? threads : cores);
}

FolderWalker::~FolderWalker() {
    finish();
}

std::vector<bool> FolderWalker::start(const std::vector<QByteArray>& roots) {
    std::vector<bool> listed;
    for (const QByteArray& root : roots) {
        // One buffer for both while no name needs the mapping: paths below are built once.
        const QByteArray raw =
            FileNameCodec::utf8HasMappedBytes(root) ? FileNameCodec::utf8ToRaw(root) : root;
        struct stat st {};
        bool ok = ::stat(raw.constData(), &st) == 0 && S_ISDIR(st.st_mode);
        if (ok) {
            const int fd = ::open(raw.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ok = fd >= 0;
            if (fd >= 0) ::close(fd);
        }
        if (ok && m_shared->visited.insert({st.st_dev, st.st_ino}).second)
            m_shared->queue.push_back({raw, root});
        listed.push_back(ok);
    }
    const int n = m_shared->threads;
    m_shared->filesPerThread.resize(static_cast<size_t>(n));
    m_shared->lostPerThread.resize(static_cast<size_t>(n));
    m_shared->skippedPerThread.resize(static_cast<size_t>(n));
    for (int t = 0; t < n; ++t)
        m_shared->pool.emplace_back([this, t] {
            Shared& s = *m_shared;
            std::vector<Folder> subfolders;
            for (;;) {
                Folder folder;
                {
                    std::unique_lock<std::mutex> lock(s.mutex);
                    s.cv.wait(lock,
                              [&s] { return !s.queue.empty() || s.busy == 0 || s.cancelled(); });
                    if (s.queue.empty() || s.cancelled()) return;
                    folder = std::move(s.queue.back()); // depth first keeps the queue short
                    s.queue.pop_back();
                    ++s.busy;
                }
                if (s.onFolder) s.onFolder(QString::fromUtf8(folder.text));
                subfolders.clear();
                listFolder(folder, t, subfolders);
                std::lock_guard<std::mutex> lock(s.mutex);
                // Sub-folders in reverse name order, so that they come off the back in name order.
                std::sort(subfolders.begin(), subfolders.end(), std::greater<>());
                for (Folder& sub : subfolders)
                    s.queue.push_back(std::move(sub));
                --s.busy;
                s.cv.notify_all();
            }
        });
    return listed;
}

void FolderWalker::listFolder(const Folder& folder, int thread, std::vector<Folder>& subfolders) {
    Shared& s = *m_shared;
    std::vector<FileFacts>& files = s.filesPerThread[static_cast<size_t>(thread)];
    QList<Problem>& lost = s.lostPerThread[static_cast<size_t>(thread)];
    QList<Problem>& skipped = s.skippedPerThread[static_cast<size_t>(thread)];
    const int fd = ::open(folder.raw.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* d = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!d) {
        lost.append({folder.text, errno});
        if (fd >= 0) ::close(fd);
        return;
    }
    const QByteArray rawPrefix = withSlash(folder.raw);
    const bool sameText = folder.text.constData() == folder.raw.constData();
    const QByteArray textPrefix = sameText ? rawPrefix : withSlash(folder.text);
    auto textOf = [&textPrefix](QByteArrayView name) {
        return FileNameCodec::rawNeedsMapping(name)
                   ? joined(textPrefix, FileNameCodec::rawToUtf8(name))
                   : joined(textPrefix, name);
    };
    for (;;) {
        // Everything else in the loop may leave errno set: only readdir's own counts.
        errno = 0;
        const dirent* e = ::readdir(d);
        if (!e) {
            if (errno != 0) lost.append({folder.text, errno});
            break;
        }
        const char* name = e->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
        const QByteArrayView nameView(name, static_cast<qsizetype>(std::strlen(name)));
        const unsigned char type = e->d_type;
        const bool audio = AudioTypeOf(nameView) != AudioType::None;
        if ((type == DT_REG && !audio) ||
            (type != DT_DIR && type != DT_REG && type != DT_LNK && type != DT_UNKNOWN))
            continue;
        struct stat st {};
        if (::fstatat(fd, name, &st, 0) != 0) {
            const int error = errno;
            // An entry deleted since it was listed is simply gone; a link whose
            // target is missing, or any other failure, leaves something unknown.
            struct stat self {};
            if (error != ENOENT || ::fstatat(fd, name, &self, AT_SYMLINK_NOFOLLOW) == 0)
                skipped.append({textOf(nameView), error});
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            {
                std::lock_guard<std::mutex> lock(s.mutex);
                if (!s.visited.insert({st.st_dev, st.st_ino}).second) continue;
            }
            Folder sub;
            sub.raw = joined(rawPrefix, nameView);
            sub.text =
                sameText && !FileNameCodec::rawNeedsMapping(nameView) ? sub.raw : textOf(nameView);
            subfolders.push_back(std::move(sub));
        } else if (S_ISREG(st.st_mode) && audio) {
            FileFacts f;
            f.path = textOf(nameView);
            f.size = st.st_size;
            f.mtimeNs = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
            f.fileDate = OleDate::fromUnix(st.st_mtim.tv_sec);
            files.push_back(std::move(f));
        }
    }
    ::closedir(d);
}

void FolderWalker::finish() {
    if (!m_shared || m_shared->pool.empty()) return;
    for (std::thread& t : m_shared->pool)
        t.join();
    m_shared->pool.clear();
    size_t total = 0;
    for (const auto& v : m_shared->filesPerThread)
        total += v.size();
    m_files.reserve(total);
    for (auto& v : m_shared->filesPerThread) {
        std::move(v.begin(), v.end(), std::back_inserter(m_files));
        v = {};
    }
    for (const auto& l : m_shared->lostPerThread)
        m_lost += l;
    for (const auto& l : m_shared->skippedPerThread)
        m_skipped += l;
}
