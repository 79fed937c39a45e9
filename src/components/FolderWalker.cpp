#include "components/FolderWalker.h"

#include "components/AudioFile.h"
#include "core/OleDate.h"

#include <QFile>

#include <algorithm>
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

} // namespace

struct FolderWalker::Shared {
    const std::atomic<bool>* cancel = nullptr;
    std::function<void(const QString&)> onFolder;
    int threads = 1;
    std::mutex mutex;
    std::condition_variable cv;
    std::deque<QByteArray> queue;
    int busy = 0;
    std::unordered_set<DevIno, DevInoHash> visited;
    std::vector<std::thread> pool;
    std::vector<std::vector<FileFacts>> filesPerThread;
    std::vector<QList<Lost>> lostPerThread;

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
        struct stat st {};
        bool ok = ::stat(root.constData(), &st) == 0 && S_ISDIR(st.st_mode);
        if (ok) {
            const int fd = ::open(root.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ok = fd >= 0;
            if (fd >= 0) ::close(fd);
        }
        if (ok && m_shared->visited.insert({st.st_dev, st.st_ino}).second)
            m_shared->queue.push_back(root);
        listed.push_back(ok);
    }
    const int n = m_shared->threads;
    m_shared->filesPerThread.resize(static_cast<size_t>(n));
    m_shared->lostPerThread.resize(static_cast<size_t>(n));
    for (int t = 0; t < n; ++t)
        m_shared->pool.emplace_back([this, t] {
            Shared& s = *m_shared;
            std::vector<FileFacts>& files = s.filesPerThread[static_cast<size_t>(t)];
            QList<Lost>& lost = s.lostPerThread[static_cast<size_t>(t)];
            std::vector<QByteArray> subdirs;
            for (;;) {
                QByteArray dir;
                {
                    std::unique_lock<std::mutex> lock(s.mutex);
                    s.cv.wait(lock,
                              [&s] { return !s.queue.empty() || s.busy == 0 || s.cancelled(); });
                    if (s.queue.empty() || s.cancelled()) return;
                    dir = std::move(s.queue.back()); // depth first keeps the queue short
                    s.queue.pop_back();
                    ++s.busy;
                }
                if (s.onFolder) s.onFolder(QFile::decodeName(dir));
                subdirs.clear();
                const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                DIR* d = fd >= 0 ? ::fdopendir(fd) : nullptr;
                if (!d) {
                    lost.append({dir, errno});
                    if (fd >= 0) ::close(fd);
                } else {
                    const QByteArray prefix = dir.endsWith('/') ? dir : dir + '/';
                    errno = 0;
                    while (dirent* e = ::readdir(d)) {
                        const char* name = e->d_name;
                        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                            continue;
                        const qsizetype len = static_cast<qsizetype>(std::strlen(name));
                        const unsigned char type = e->d_type;
                        const bool audio =
                            AudioTypeOf(QByteArrayView(name, len)) != AudioType::None;
                        if ((type == DT_REG && !audio) || (type != DT_DIR && type != DT_REG &&
                                                           type != DT_LNK && type != DT_UNKNOWN))
                            continue;
                        struct stat st {};
                        if (::fstatat(fd, name, &st, 0) != 0)
                            continue; // vanished, or a dangling link
                        if (S_ISDIR(st.st_mode)) {
                            subdirs.push_back(prefix + QByteArray(name, len));
                            std::lock_guard<std::mutex> lock(s.mutex);
                            if (!s.visited.insert({st.st_dev, st.st_ino}).second)
                                subdirs.pop_back();
                        } else if (S_ISREG(st.st_mode) && audio) {
                            FileFacts f;
                            f.path = prefix + QByteArray(name, len);
                            f.size = st.st_size;
                            f.mtimeNs = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000LL +
                                        st.st_mtim.tv_nsec;
                            f.fileDate = OleDate::fromUnix(st.st_mtim.tv_sec);
                            files.push_back(std::move(f));
                        }
                    }
                    if (errno != 0) lost.append({dir, errno});
                    ::closedir(d);
                }
                std::lock_guard<std::mutex> lock(s.mutex);
                // Sub-folders in reverse name order, so that they come off the back in name order.
                std::sort(subdirs.begin(), subdirs.end(), std::greater<>());
                for (QByteArray& sub : subdirs)
                    s.queue.push_back(std::move(sub));
                --s.busy;
                s.cv.notify_all();
            }
        });
    return listed;
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
}
