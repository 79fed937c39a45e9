#pragma once
// Walks folder trees on several threads at once, collecting the audio files
// with their size and modification time. Links are followed; a folder reached
// twice (a link loop, or two links to one folder) is listed once. Paths in and
// out are the library's text form of the names (FileNameCodec); the disk is
// asked with the raw bytes.
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
    struct Problem {
        QByteArray path; // text form
        int error;       // errno
    };

    // onFolder (optional) is called before each folder is listed; with it the
    // walk uses one thread, so that the calls come in a stable order.
    FolderWalker(const std::atomic<bool>* cancel, std::function<void(const QString&)> onFolder,
                 int threads = 0);
    ~FolderWalker();
    FolderWalker(const FolderWalker&) = delete;
    FolderWalker& operator=(const FolderWalker&) = delete;

    // Starts walking the roots (text form of absolute paths, no trailing
    // separator) in the background. Returns, per root, whether it exists and
    // can be listed.
    std::vector<bool> start(const std::vector<QByteArray>& roots);
    // Waits for the walk to end.
    void finish();

    // After finish(): the audio files found, in no particular order.
    std::vector<FileFacts>& files() { return m_files; }
    // Folders that vanished or could not be listed during the walk.
    const QList<Problem>& lost() const { return m_lost; }
    // Entries of listed folders that could not be looked at: links to nowhere
    // or to themselves, names the system refuses. What they are is unknown.
    const QList<Problem>& skipped() const { return m_skipped; }

private:
    struct Shared;
    struct Folder;
    void listFolder(const Folder& folder, int thread, std::vector<Folder>& subfolders);
    std::unique_ptr<Shared> m_shared;
    std::vector<FileFacts> m_files;
    QList<Problem> m_lost;
    QList<Problem> m_skipped;
};
