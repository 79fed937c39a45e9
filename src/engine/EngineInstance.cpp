#include "engine/EngineInstance.h"

#include "core/FileLock.h"

#include <QDir>

namespace EngineInstance {

QString lockPath(const QString& dataFolder) {
    return QDir(dataFolder).filePath(QStringLiteral("qvrindex.lock"));
}

QString holder(const QString& dataFolder) {
    return FileLock::holder(lockPath(dataFolder));
}

bool isRunning(const QString& dataFolder) {
    return !holder(dataFolder).isEmpty();
}

} // namespace EngineInstance
