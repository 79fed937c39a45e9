#pragma once
#include "cli/CommandOptions.h"

namespace qvr {

// copy DEST FILE...: copies library files (by id or path) into a folder, with
// the copy dialog's rules: an existing file is replaced; a failure is reported
// and the next file follows. Progress goes to stderr.
void addCopyCommand(CLI::App& qvr, Command& command);
int runCopyCommand(const QString& destination, const QStringList& files,
                   const LibraryOptions& options, Io io);

} // namespace qvr
