#pragma once
#include "cli/Qvr.h"

namespace qvr {

inline constexpr const char* SqlCommandUsage =
    "  sql \"STATEMENT\"            run Jet SQL on the library; rows as tab-separated text\n";

int runSqlCommand(const QStringList& args, Io io);

} // namespace qvr
