#include "components/ScanLock.h"

#include "core/LockHolders.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <thread>

namespace ScanLock {

namespace {

constexpr int kPollMs = 100;

QString heldBy(const QString& lockPath) {
    const QString holder = FileLock::holder(lockPath);
    return holder.isEmpty() ? QString() : QStringLiteral(" (pid %1)").arg(holder);
}

} // namespace

QString pathFor(const QString& databasePath) {
    return LockHolders::ScanLockPath(databasePath);
}

Result<std::unique_ptr<FileLock>> acquire(const QString& databasePath, const QString& who,
                                          const Wait& wait) {
    using R = Result<std::unique_ptr<FileLock>>;
    const QString path = pathFor(databasePath);
    QElapsedTimer clock;
    clock.start();
    bool told = false;
    for (;;) {
        auto lock = std::make_unique<FileLock>(path, FileLock::TryOnce);
        if (lock->locked()) {
            lock->writeOwner(who);
            return R(std::move(lock));
        }
        if (!QFileInfo::exists(path))
            return R::failure(QStringLiteral("cannot create the lock file %1").arg(path));
        if (!told && wait.timeoutMs > 0 && wait.waiting) {
            wait.waiting(
                QStringLiteral("waiting for another scan of this library%1").arg(heldBy(path)));
            told = true;
        }
        if (clock.elapsed() >= wait.timeoutMs)
            return R::failure(
                QStringLiteral("another scan of this library is running%1").arg(heldBy(path)));
        if (wait.cancel && wait.cancel->load(std::memory_order_relaxed))
            return R::failure(QStringLiteral("cancelled"));
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
}

} // namespace ScanLock
