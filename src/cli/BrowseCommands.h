#pragma once
// tree, list NODEKEY, search TEXT: what the window's tree and list show.
#include "cli/CommandOptions.h"

namespace qvr {

void addBrowseCommands(CLI::App& qvr, Command& command);

int runTreeCommand(int section, const LibraryOptions& options, Io io);
int runListCommand(const QString& nodeKey, const LibraryOptions& options, Io io);
int runSearchCommand(const QString& text, const LibraryOptions& options, Io io);

} // namespace qvr
