#pragma once
#include "cli/Qvr.h"

namespace qvr {

inline constexpr const char* SettingsCommandUsage =
    "  settings get PATH [--machine] [--default TEXT]\n"
    "  settings set PATH VALUE [--machine]\n"
    "  settings delete PATH [--machine]\n"
    "  settings effective\n";

int runSettingsCommand(const QStringList& args, Io io);

} // namespace qvr
