#include "engine/FolderWatcher.h"

#include "components/AudioFile.h"

#include <QDirIterator>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <sys/inotify.h>
#include <unistd.h>

namespace {
constexpr uint32_t EntryEvents =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CLOSE_WRITE | IN_ATTRIB | IN_ONLYDIR;
}

FolderWatcher::FolderWatcher(QObject* parent, int maxWatches)
    : QObject(parent), m_maxWatches(maxWatches) {
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd >= 0) {
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &FolderWatcher::read);
    }
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(QuietMs);
    m_burstEnd.setSingleShot(true);
    m_burstEnd.setInterval(BurstMaxMs);
    connect(&m_quiet, &QTimer::timeout, this, &FolderWatcher::flush);
    connect(&m_burstEnd, &QTimer::timeout, this, &FolderWatcher::flush);
    m_rescan.setInterval(RescanMs);
    connect(&m_rescan, &QTimer::timeout, this, &FolderWatcher::rescanDue);
}

FolderWatcher::~FolderWatcher() {
    if (m_fd >= 0) ::close(m_fd);
}

void FolderWatcher::clear() {
    for (auto it = m_paths.cbegin(); it != m_paths.cend(); ++it)
        ::inotify_rm_watch(m_fd, it.key());
    m_paths.clear();
    m_changed.clear();
    m_overLimit = false;
    m_rescan.stop();
}

void FolderWatcher::setRoots(const QStringList& roots) {
    if (roots == m_roots) return;
    clear();
    m_roots = roots;
    if (m_fd < 0) {
        if (!roots.isEmpty()) fallBack();
        return;
    }
    for (const QString& root : roots) {
        if (m_overLimit) break;
        addTree(root);
    }
}

void FolderWatcher::addTree(const QString& folder) {
    if (!addOne(folder)) return;
    QDirIterator it(folder, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext() && !m_overLimit)
        addOne(it.next());
}

bool FolderWatcher::addOne(const QString& folder) {
    if (m_overLimit) return false;
    if (m_maxWatches > 0 && m_paths.size() >= m_maxWatches) {
        fallBack();
        return false;
    }
    const int wd = ::inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), EntryEvents);
    if (wd < 0) {
        if (errno == ENOSPC) fallBack(); // the system's watch limit
        return false;                    // gone or unreadable: the next scan says so
    }
    m_paths.insert(wd, folder);
    return true;
}

// Watching only part of the tree would miss changes silently: drop it all and
// rescan at intervals instead.
void FolderWatcher::fallBack() {
    for (auto it = m_paths.cbegin(); it != m_paths.cend(); ++it)
        ::inotify_rm_watch(m_fd, it.key());
    m_paths.clear();
    m_overLimit = true;
    m_rescan.start();
}

void FolderWatcher::read() {
    alignas(inotify_event) char buf[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(m_fd, buf, sizeof buf);
        if (n <= 0) break;
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buf + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            if (e->mask & IN_IGNORED) {
                m_paths.remove(e->wd);
                continue;
            }
            if (e->mask & IN_Q_OVERFLOW) {
                // Events were lost: every root is due.
                for (const QString& r : m_roots)
                    note(r);
                continue;
            }
            const auto folder = m_paths.constFind(e->wd);
            if (folder == m_paths.cend() || e->len == 0) continue;
            const QByteArray name(e->name);
            const bool isDir = e->mask & IN_ISDIR;
            // Only audio files and folders matter; the rest (the engine's own
            // log, if it lives there) must not start passes.
            if (!isDir && AudioTypeOf(QByteArrayView(name)) == AudioType::None) continue;
            if (isDir && (e->mask & (IN_CREATE | IN_MOVED_TO)))
                addTree(*folder + QLatin1Char('/') + QFile::decodeName(name));
            note(*folder);
        }
    }
}

void FolderWatcher::note(const QString& folder) {
    if (m_changed.isEmpty()) m_burstEnd.start();
    m_changed.insert(folder);
    m_quiet.start();
}

void FolderWatcher::flush() {
    m_quiet.stop();
    m_burstEnd.stop();
    if (m_changed.isEmpty()) return;
    QStringList folders(m_changed.cbegin(), m_changed.cend());
    m_changed.clear();
    folders.sort();
    emit changed(folders);
}
