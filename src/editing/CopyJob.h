#pragma once
// Copying files to a folder or disk, pair by pair: the copy dialog and
// `qvr copy` run the same loop. An existing destination is replaced without a
// question; a failure asks Abort, Retry or Ignore; a cancel request ends the
// loop after the file being copied.
#include "core/Dialogs.h"

#include <QList>
#include <QString>
#include <functional>

struct CopyFailure {
    int number = 0;      // the system's error number
    QString description; // its text, with the file named
};

class CopyJob {
public:
    enum Result { Finished = 1, Cancelled = 2 };

    struct Hooks {
        // Before each pair (index from 0).
        std::function<void(int index, const QString& source, const QString& destination)> starting;
        // A failed copy; Abort, Retry or Ignore. Default: a message box through the
        // Dialogs seam, titled language text 7 and the error number.
        std::function<Dialogs::Answer(const CopyFailure&)> failed;
        // Lets pending window messages run (dialog) or reports progress.
        std::function<void()> yield;
        // True once Cancel was asked for; checked after each pair.
        std::function<bool()> cancelled;
    };

    void AddPair(const QString& source, const QString& destination);
    int count() const { return static_cast<int>(m_sources.size()); }
    const QStringList& sources() const { return m_sources; }
    const QStringList& destinations() const { return m_destinations; }

    // 1 when Cancel was not asked for (also after Abort), else 2.
    Result Run(const Hooks& hooks);
    int copied() const { return m_copied; }
    int failed() const { return m_failed; }

    // Copies one file, replacing the destination. The new file gets the source's
    // modification time and read/write permissions (never the execute bits); a
    // half-written file is removed.
    static bool CopyFile(const QString& source, const QString& destination, CopyFailure* failure);

private:
    QStringList m_sources;
    QStringList m_destinations;
    int m_copied = 0;
    int m_failed = 0;
};
