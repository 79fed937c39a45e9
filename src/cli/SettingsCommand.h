#pragma once
#include "cli/CommandOptions.h"

namespace qvr {

// settings get PATH | set PATH VALUE | delete PATH | effective: the settings
// store, as the application reads it.
void addSettingsCommand(CLI::App& qvr, Command& command);

} // namespace qvr
