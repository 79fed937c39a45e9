#pragma once
// Whether the engine runs is answered by its lock file in the data folder: the
// running engine holds an flock on it and has written "PID qvrindex ..." into
// it once it listens. Clients use the same test before they start one.
#include <QString>

namespace EngineInstance {

// DATAFOLDER/qvrindex.lock (the data folder with its trailing separator).
QString lockPath(const QString& dataFolder);
// What the running engine wrote in its lock file; empty when none runs.
QString holder(const QString& dataFolder);
bool isRunning(const QString& dataFolder);

} // namespace EngineInstance
