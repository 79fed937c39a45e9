#pragma once
#include "cli/Qvr.h"

namespace qvr {

inline constexpr const char* RecordCommandUsage =
    "  record ID|PATH             the file record, one field a line\n";

int runRecordCommand(const QStringList& args, Io io);

} // namespace qvr
