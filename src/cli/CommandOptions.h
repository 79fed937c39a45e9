#pragma once
// What the qvr commands share: their context, the library options (--db PATH,
// --json) read the same way by every command, and JSON rows.
#include "cli/CommandLine.h"

#include <QJsonObject>
#include <functional>

namespace qvr {

// What a command's callback reaches: the parser (for path checks), the streams
// and the exit status it sets.
struct Command {
    cli::CommandLine& line;
    Io io;
    int status = cli::Success;
};

struct LibraryOptions {
    QString db; // --db PATH; empty: the data folder's library
    bool json = false;
};

// Adds --db PATH to a library command, and --json when it prints rows. A group
// and its subcommands may share one LibraryOptions.
void addLibraryOptions(CLI::App* command, LibraryOptions& options, const cli::CommandLine& line,
                       bool json);
void addJsonOption(CLI::App* command, bool& json);
// The ID|PATH argument of the commands that take one file.
CLI::Option* addFileArgument(CLI::App* command, QString& file, const cli::CommandLine& line);

// One row as a compact JSON object on its own line.
void printJson(const QJsonObject& row, Io io);
// Runs a command that prints "NAME<TAB>VALUE" lines and prints them as one JSON
// object instead (whole numbers as numbers). Returns the command's status.
int printLinesAsJson(const std::function<int(Io)>& command, Io io);

} // namespace qvr
