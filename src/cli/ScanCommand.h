#pragma once
#include "cli/CommandOptions.h"

namespace qvr {

// scan [FOLDER...]: adds the folders as media folders and scans them (else
// every media folder).
void addScanCommand(CLI::App& qvr, Command& command);
int runScanCommand(const QStringList& args, const QString& dbPath, Io io);

} // namespace qvr
