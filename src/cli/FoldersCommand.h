#pragma once
#include "cli/Qvr.h"

namespace qvr {

inline constexpr const char* FoldersCommandUsage =
    "  folders list               the media folders, with their last scan\n"
    "  folders add PATH           add a media folder\n"
    "  folders remove PATH [--with-files]\n";

int runFoldersCommand(const QStringList& args, Io io);

} // namespace qvr
