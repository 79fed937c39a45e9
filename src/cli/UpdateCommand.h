#pragma once
#include "cli/CommandOptions.h"

namespace qvr {

// Exit status of "update-check" when a newer version exists; 0 means ours is
// the same or newer, 1 that the check failed.
inline constexpr int UpdateAvailableStatus = 10;

// update-check [--url URL]: asks the update endpoint and prints what it said.
void addUpdateCommand(CLI::App& qvr, Command& command);

} // namespace qvr
