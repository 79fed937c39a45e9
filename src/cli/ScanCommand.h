#pragma once
#include "cli/CommandOptions.h"

namespace qvr {

// scan [--no-wait] [FOLDER...]: adds the folders as media folders and scans them
// (else every media folder). Exits 1 when the scan did not finish.
void addScanCommand(CLI::App& qvr, Command& command);
int runScanCommand(const QStringList& args, const QString& dbPath, bool noWait, Io io);

} // namespace qvr
