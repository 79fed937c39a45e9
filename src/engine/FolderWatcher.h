#pragma once
// Live watching of the media folders with inotify, one watch per folder,
// recursively. Changes to audio files and folders are collected into bursts:
// a burst ends 300 ms after its last event, or 1 s after its first, and is
// handed out as the set of folders whose entries changed. When the system's
// watch limit is reached the watcher gives up on inotify and asks for a
// periodic rescan instead.
#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>

class QSocketNotifier;

class FolderWatcher : public QObject {
    Q_OBJECT
public:
    static constexpr int QuietMs = 300;
    static constexpr int BurstMaxMs = 1000;
    static constexpr int RescanMs = 5 * 60 * 1000;

    // maxWatches caps the watches this object adds (0: only the system's limit).
    explicit FolderWatcher(QObject* parent = nullptr, int maxWatches = 0);
    ~FolderWatcher() override;

    // Watches these folders and everything below them; a list equal to the
    // current one changes nothing.
    void setRoots(const QStringList& roots);
    const QStringList& roots() const { return m_roots; }
    // True once inotify could not cover every folder: rescans run instead.
    bool overLimit() const { return m_overLimit; }
    int watchCount() const { return static_cast<int>(m_paths.size()); }
    void setRescanInterval(int milliseconds) { m_rescan.setInterval(milliseconds); }

signals:
    // Folders whose entries changed during one burst.
    void changed(const QStringList& folders);
    // Over the limit: time to rescan the roots.
    void rescanDue();

private:
    void clear();
    void addTree(const QString& folder);
    bool addOne(const QString& folder);
    void read();
    void note(const QString& folder);
    void fallBack();
    void flush();

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    int m_maxWatches;
    QStringList m_roots;
    QHash<int, QString> m_paths; // watch descriptor -> folder
    QSet<QString> m_changed;
    QTimer m_quiet;
    QTimer m_burstEnd;
    QTimer m_rescan;
    bool m_overLimit = false;
};
