#pragma once
#include "cli/CommandOptions.h"

namespace qvr {

// tags set artist|album|year|genre VALUE FILEID...; tags enum FILEID...
void addTagsCommand(CLI::App& qvr, Command& command);
// rename PATTERN FILEID... [--dry-run]
void addRenameCommand(CLI::App& qvr, Command& command);

// File ids as given; false (with a message) when one is not a number.
bool parseFileIds(const QStringList& args, QList<qint64>& ids, const char* command, Io io);

} // namespace qvr
