#pragma once
#include "cli/CommandOptions.h"

namespace qvr {

// tag ID|PATH CODE VALUE: writes one tag to the file and its row.
void addTagCommand(CLI::App& qvr, Command& command);
// args: ID|PATH, CODE and VALUE as given; code: CODE as a number.
int runTagCommand(const QStringList& args, int code, const QString& dbPath, Io io);

} // namespace qvr
