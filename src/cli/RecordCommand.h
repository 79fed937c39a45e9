#pragma once
#include "cli/CommandOptions.h"

namespace qvr {

// record ID|PATH: the file's record, one field a line (or one JSON object).
void addRecordCommand(CLI::App& qvr, Command& command);
int runRecordCommand(const QString& file, const LibraryOptions& options, Io io);

} // namespace qvr
