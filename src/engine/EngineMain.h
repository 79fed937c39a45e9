#pragma once
// The engine program's body, apart from its command line: takes the lock,
// opens the library, listens and runs until told to stop.
#include "cli/Qvr.h"

#include <QString>

struct EngineOptions {
    QString dataFolder; // empty: the data folder of the settings
};

// The value of the setting, 0 (never) when it is not a positive number.
int EngineIdleStopSeconds();
// Whether the engine watches the media folders (default on).
bool EngineWatchesFolders();

// Runs the engine; needs a QCoreApplication. Returns the exit status.
int RunEngine(const EngineOptions& options, qvr::Io io);
