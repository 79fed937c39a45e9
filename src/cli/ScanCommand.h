#pragma once
#include "cli/Qvr.h"

namespace qvr {

inline constexpr const char* ScanCommandUsage =
    "  scan [FOLDER...]           add the folders as media folders, scan them (else all media "
    "folders)\n"
    "  scan --no-wait [FOLDER...] fail at once while another scan of the library runs\n";

int runScanCommand(const QStringList& args, Io io);

} // namespace qvr
