#pragma once
#include "cli/CommandOptions.h"

namespace qvr {

// cd list, cd toc N, cd rip N TRACK OUT.wav: the drives and virtual drives
// holding audio CDs, numbered from 1 as the library tree numbers them.
void addCdCommand(CLI::App& qvr, Command& command);

} // namespace qvr
