#pragma once
#include "cli/Qvr.h"

namespace qvr {

inline constexpr const char* TagCommandUsage =
    "  tag ID|PATH CODE VALUE     write a tag (0 artist, 1 album, 2 year, 3 track, 4 title,\n"
    "                             5 genre number, 6 genre text) to the file and its row\n";

int runTagCommand(const QStringList& args, Io io);

} // namespace qvr
