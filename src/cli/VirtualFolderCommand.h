#pragma once
#include "cli/CommandOptions.h"

namespace qvr {

// vf list | new [NAME] | rename ID NAME | delete ID | add ID FILEID... |
// remove ID FILEID... | move ID FILEID POS | show ID: the virtual folders.
void addVirtualFolderCommand(CLI::App& qvr, Command& command);

} // namespace qvr
