#pragma once
// What the qvr commands share: their context, the library options (--db PATH,
// --json) read the same way by every command, and JSON rows.
#include "cli/CommandLine.h"

#include <QJsonObject>
#include <functional>
#include <memory>

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

// A command group whose subcommands share one options object (with a
// LibraryOptions member `library`): add(name, description, json, action) adds a
// subcommand with the library options that runs action(options, io).
template <typename Options> class CommandGroup {
public:
    CommandGroup(CLI::App& qvr, Command& command, const char* name, const char* description)
        : m_command(command), m_options(std::make_shared<Options>()) {
        m_group = qvr.add_subcommand(name, description);
        m_group->require_subcommand(1);
        addLibraryOptions(m_group, m_options->library, command.line, false);
    }
    CLI::App* add(const char* name, const char* description, bool json,
                  int (*action)(const Options&, Io)) {
        CLI::App* c = m_group->add_subcommand(name, description);
        addLibraryOptions(c, m_options->library, m_command.line, json);
        c->callback([command = &m_command, options = m_options, action] {
            command->status = action(*options, command->io);
        });
        return c;
    }
    Options& options() { return *m_options; }
    CLI::App* group() { return m_group; }

private:
    Command& m_command;
    std::shared_ptr<Options> m_options;
    CLI::App* m_group = nullptr;
};

// One row as a compact JSON object on its own line.
void printJson(const QJsonObject& row, Io io);
// Runs a command that prints "NAME<TAB>VALUE" lines and prints them as one JSON
// object instead (whole numbers as numbers). Returns the command's status.
int printLinesAsJson(const std::function<int(Io)>& command, Io io);

} // namespace qvr
