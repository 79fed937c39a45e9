#pragma once
#include "cli/CommandOptions.h"

namespace qvr {

// sql "STATEMENT": Jet SQL on the library; rows as tab-separated text or JSON.
void addSqlCommand(CLI::App& qvr, Command& command);
int runSqlCommand(const QString& statement, const LibraryOptions& options, Io io);

} // namespace qvr
