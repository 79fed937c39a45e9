#pragma once
// Scans of one library take turns: a scan holds an exclusive advisory lock on
// DATABASE.scan.lock for as long as it writes, with "PID WHO" written in the
// file, so that another scan (the application, qvr, the indexing engine) can
// wait for it and say who it is waiting for.
#include "core/FileLock.h"
#include "core/Result.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>

namespace ScanLock {

struct Wait {
    int timeoutMs = 5 * 60 * 1000; // 0: give up at once when another scan holds the lock
    // Called once when the lock is taken by another scan, with a sentence
    // naming the holder when it is known.
    std::function<void(const QString& message)> waiting;
    const std::atomic<bool>* cancel = nullptr; // stops the wait
};

// The lock file of the library at databasePath.
QString pathFor(const QString& databasePath);

// Takes the library's scan lock for `who` (e.g. "qvr scan"), waiting for
// another holder as told. Fails when the time is up, the wait was cancelled, or
// the lock file cannot be made.
Result<std::unique_ptr<FileLock>> acquire(const QString& databasePath, const QString& who,
                                          const Wait& wait = {});

} // namespace ScanLock
