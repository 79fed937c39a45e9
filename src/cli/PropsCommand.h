#pragma once
#include "cli/CommandOptions.h"

namespace qvr {

// props ID|PATH: what the properties dialog shows, one "FIELD<TAB>value" line
// a field (or one JSON object).
void addPropsCommand(CLI::App& qvr, Command& command);
int runPropsCommand(const QString& file, const LibraryOptions& options, Io io);

} // namespace qvr
