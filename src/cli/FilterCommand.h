#pragma once
#include "cli/CommandOptions.h"

namespace qvr {

// filter list | show ID | run ID|NAME | delete ID | compile FILE.json|- |
// save NAME FILE.json|- [--expert "WHERE TEXT"] [--replace] | check "STATEMENT":
// the smart filters, through the editor's compiler and save rules.
void addFilterCommand(CLI::App& qvr, Command& command);

} // namespace qvr
