#pragma once
// Opening the library for the qvr commands: the database given with
// "--db PATH", else the data folder's data.qvd (made from the template when missing).
#include "cli/Qvr.h"

class MediaLibrary;

namespace qvr {

// Removes "--db PATH" from the arguments and returns PATH ("" when absent).
QString takeDatabaseOption(QStringList& args);
// Opens the library; prints the reason and returns false when it cannot.
bool openLibrary(MediaLibrary& library, const QString& databaseOption, Io io);

inline constexpr const char* LibraryOptionUsage =
    "  (library commands take --db PATH to use another database)\n";

} // namespace qvr
