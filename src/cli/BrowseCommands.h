#pragma once
#include "cli/Qvr.h"

namespace qvr {

inline constexpr const char* TreeCommandUsage =
    "  tree [--section N]         the library tree: key (NUL as \\0) and text, indented\n";
inline constexpr const char* ListCommandUsage =
    "  list NODEKEY               the node's query and its files as the list shows them\n";
inline constexpr const char* SearchCommandUsage =
    "  search TEXT                the quick-search statement and the files it finds\n";

int runTreeCommand(const QStringList& args, Io io);
int runListCommand(const QStringList& args, Io io);
int runSearchCommand(const QStringList& args, Io io);

} // namespace qvr
