#pragma once
#include "cli/CommandOptions.h"

namespace qvr {

// rip N [--tracks 1,3] [--format mp3|wma|wav] [--pattern P] [--to DIR]
// [--subfolder] and the disc facts: the rip wizard's job without its window.
void addRipCommand(CLI::App& qvr, Command& command);

} // namespace qvr
