#pragma once
// The `qvlang` command line: language containers from sources and back.
#include "cli/Qvr.h"

#include <QStringList>

namespace qvlang {

// args excludes the program name. Returns the process exit status: 0 done,
// 1 failed (or, for check, problems found), 2 usage error.
int run(const QStringList& args, qvr::Io io);

} // namespace qvlang
