#pragma once
#include "cli/CommandOptions.h"

namespace qvr {

// folders list | add PATH [--yes] | remove PATH [--with-files]: the media folders.
void addFoldersCommand(CLI::App& qvr, Command& command);

} // namespace qvr
