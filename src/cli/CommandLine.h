#pragma once
// The command line of every Quavero executable, parsed with CLI11: --help and
// --version everywhere, one set of exit statuses, and path arguments that
// refuse what looks like an option (whoever typed "-h" wanted help, not a file
// of that name).
#include "cli/Qvr.h"

#include <CLI/CLI.hpp>
#include <QStringList>

#include <memory>
#include <optional>
#include <set>
#include <string>

namespace cli {

// The exit statuses of every tool.
inline constexpr int Success = 0;
inline constexpr int Failure = 1;
inline constexpr int UsageError = 2;

class CommandLine {
public:
    // program: the name that help and errors show; args: without the program name.
    CommandLine(const QString& program, const QString& description, const QStringList& args);

    CLI::App& app() { return m_app; }

    // For path arguments: refuses a value that starts with '-' unless it came
    // after "--". "./-x" names a file whose name starts with '-'.
    CLI::Validator path() const;

    // Parses and runs the callbacks of what was given. Help and version go to
    // out (status 0), usage errors to err (status 2); nullopt when the program
    // should go on.
    std::optional<int> parse(qvr::Io io);

private:
    void reportUsageError(const CLI::ParseError& e, qvr::Io io) const;

    CLI::App m_app;
    std::vector<std::string> m_args;
    std::shared_ptr<std::set<std::string>> m_literal; // the arguments after "--"
};

// The arguments of main() without the program name, for a program that parses
// them before its application object exists.
QStringList arguments(int argc, char** argv);

// An option or positional argument read into a QString.
CLI::Option* addText(CLI::App* app, const std::string& name, QString& target,
                     const std::string& description);
// One taking any number of values, read into a QStringList.
CLI::Option* addTexts(CLI::App* app, const std::string& name, QStringList& target,
                      const std::string& description);

} // namespace cli
