#pragma once
// Reads the facts the system-information window shows about a library file,
// without changing or creating anything.
#include "core/SystemInfo.h"

// facts of the database at that path (absent: only the data folder is known).
LibraryFacts ReadLibraryFacts(const QString& dataFolder, const QString& databasePath);
