#pragma once
#include "cli/CommandOptions.h"

namespace qvr {

// engine status|start [--force]|cancel|watch: the indexing engine through the
// same client as the application.
void addEngineCommand(CLI::App& qvr, Command& command);

} // namespace qvr
