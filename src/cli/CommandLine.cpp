#include "cli/CommandLine.h"

#include "core/FileNameCodec.h"

#include "core/AppInfo.h"

#include <algorithm>

namespace cli {

namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

bool looksLikeOption(const std::string& s) {
    return s.size() > 1 && s[0] == '-' && s != "--";
}

} // namespace

CommandLine::CommandLine(const QString& program, const QString& description,
                         const QStringList& args)
    : m_app(description.toStdString(), program.toStdString()),
      m_literal(std::make_shared<std::set<std::string>>()) {
    m_app.set_version_flag("--version", (program + QStringLiteral(" (") + mainMod::AppName() +
                                         QStringLiteral(") ") + mainMod::AppVersion())
                                            .toStdString());
    m_app.footer("Exit status: 0 done, 1 failed, 2 usage error.");
    for (const QString& a : args)
        m_args.push_back(a.toStdString());
    const auto mark = std::find(m_args.begin(), m_args.end(), std::string("--"));
    if (mark != m_args.end()) m_literal->insert(mark + 1, m_args.end());
}

CLI::Validator CommandLine::path() const {
    return CLI::Validator(
        [literal = m_literal](std::string& value) -> std::string {
            if (value.empty() || value[0] != '-' || literal->count(value)) return {};
            return "'" + value +
                   "' looks like an option (a path that starts with '-' is written ./" + value +
                   ")";
        },
        std::string());
}

std::optional<int> CommandLine::parse(qvr::Io io) {
    try {
        m_app.parse(std::vector<std::string>(m_args.rbegin(), m_args.rend()));
        return std::nullopt;
    } catch (const CLI::CallForHelp&) {
        io.out << text(m_app.help());
        return Success;
    } catch (const CLI::CallForAllHelp&) {
        io.out << text(m_app.help("", CLI::AppFormatMode::All));
        return Success;
    } catch (const CLI::CallForVersion& e) {
        io.out << e.what() << '\n';
        return Success;
    } catch (const CLI::ParseError& e) {
        reportUsageError(e, io);
        return UsageError;
    }
}

void CommandLine::reportUsageError(const CLI::ParseError& e, qvr::Io io) const {
    // The command that was being parsed, e.g. "qvr folders add".
    const CLI::App* command = &m_app;
    std::string where = m_app.get_name();
    while (!command->get_subcommands().empty()) {
        command = command->get_subcommands().front();
        where += ' ' + command->get_name();
    }
    std::string message = e.what();
    // CLI11 reports a stray option as a missing argument when one is missing
    // too; the stray option is the real mistake.
    const std::vector<std::string> stray = m_app.remaining(true);
    const std::vector<const CLI::App*> subcommands =
        command->get_subcommands(std::function<bool(const CLI::App*)>());
    const auto option = std::find_if(stray.begin(), stray.end(), looksLikeOption);
    if (option != stray.end()) {
        message = "unknown option '" + *option + "' (a path that starts with '-' is written ./" +
                  *option + " or after --)";
    } else if (!subcommands.empty() &&
               (!stray.empty() || dynamic_cast<const CLI::RequiredError*>(&e))) {
        std::string names;
        for (const CLI::App* sub : subcommands)
            names += (names.empty() ? "" : ", ") + sub->get_name();
        message = (stray.empty() ? std::string("a command is needed")
                                 : "unknown command '" + stray.front() + "'") +
                  "; one of " + names;
    }
    io.err << text(where) << ": " << text(message) << "\nRun '" << text(where)
           << " --help' for usage.\n";
}

QStringList arguments(int argc, char** argv) {
    // Arguments are mostly paths: read them as the library reads names, so that a
    // name that is not UTF-8 reaches the library in the very form it is stored in.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << FileNameCodec::decode(argv[i]);
    return args;
}

CLI::Option* addText(CLI::App* app, const std::string& name, QString& target,
                     const std::string& description) {
    return app->add_option_function<std::string>(
        name, [&target](const std::string& v) { target = QString::fromStdString(v); }, description);
}

CLI::Option* addTexts(CLI::App* app, const std::string& name, QStringList& target,
                      const std::string& description) {
    return app->add_option_function<std::vector<std::string>>(
        name,
        [&target](const std::vector<std::string>& values) {
            for (const std::string& v : values)
                target << QString::fromStdString(v);
        },
        description);
}

} // namespace cli
