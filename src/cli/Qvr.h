#pragma once
// The `qvr` command line: one entry point, one function per command group.
#include <QStringList>
#include <QTextStream>

namespace qvr {

struct Io {
    QTextStream& out;
    QTextStream& err;
};

// args excludes the program name. Returns the process exit status.
int run(const QStringList& args, Io io);

} // namespace qvr
