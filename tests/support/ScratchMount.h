#pragma once
// A small tmpfs mounted for one test: a disk that fills up, or one made
// read-only, for faults that root's rights would otherwise hide. Needs the right
// to mount (root in CI); ok() is false elsewhere, with the reason in why().
#include <QString>

class ScratchMount {
public:
    ScratchMount(const QString& folder, qint64 bytes);
    ~ScratchMount();
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool ok() const { return m_mounted; }
    const QString& why() const { return m_why; }
    const QString& path() const { return m_folder; }
    // Makes the file system read-only (for root too).
    bool makeReadOnly();

private:
    QString m_folder;
    QString m_why;
    bool m_mounted = false;
};
