#pragma once
// Walks folder trees on several threads at once, collecting the audio files
// with their size and modification time. Links are followed; a folder reached
// twice (a link loop, or two links to one folder) is listed once.
#include "components/FileRows.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class FolderWalker {
public:
    struct Lost {
        QByteArray folder;
        int error; // errno
    };

    // onFolder (optional) is called before each folder is listed; with it the
    // walk uses one thread, so that the calls come in a stable order.
    FolderWalker(const std::atomic<bool>* cancel, std::function<void(const QString&)> onFolder,
                 int threads = 0);
    ~FolderWalker();
    FolderWalker(const FolderWalker&) = delete;
    FolderWalker& operator=(const FolderWalker&) = delete;

    // Starts walking the roots (absolute, no trailing separator) in the
    // background. Returns, per root, whether it exists and can be listed.
    std::vector<bool> start(const std::vector<QByteArray>& roots);
    // Waits for the walk to end.
    void finish();

    // After finish(): the audio files found, in no particular order; folders
    // that vanished or could not be listed during the walk.
    std::vector<FileFacts>& files() { return m_files; }
    const QList<Lost>& lost() const { return m_lost; }

private:
    struct Shared;
    void work();
    std::unique_ptr<Shared> m_shared;
    std::vector<FileFacts> m_files;
    QList<Lost> m_lost;
};
