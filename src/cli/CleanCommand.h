#pragma once
#include "cli/CommandOptions.h"

namespace qvr {

// clean 0|1|2: empties the library (0), also forgets the media folders (1), or
// makes the database again from the template (2).
void addCleanCommand(CLI::App& qvr, Command& command);

} // namespace qvr
