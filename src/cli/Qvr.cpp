#include "cli/Qvr.h"

#include "cli/BrowseCommands.h"
#include "cli/CleanCommand.h"
#include "cli/CommandOptions.h"
#include "cli/CdCommand.h"
#include "cli/CddbCommand.h"
#include "cli/RipCommand.h"
#include "cli/ConvertCommand.h"
#include "cli/ConvertFilesCommand.h"
#include "cli/EngineCommand.h"
#include "cli/CopyCommand.h"
#include "cli/FilterCommand.h"
#include "cli/FoldersCommand.h"
#include "cli/PropsCommand.h"
#include "cli/RecordCommand.h"
#include "cli/ScanCommand.h"
#include "cli/SettingsCommand.h"
#include "cli/SqlCommand.h"
#include "cli/TagCommand.h"
#include "cli/TagsCommand.h"
#include "cli/UpdateCommand.h"
#include "cli/VirtualFolderCommand.h"

namespace qvr {

namespace {

// help [COMMAND [SUBCOMMAND]]: the same text as "COMMAND --help".
void addHelpCommand(CLI::App& qvr, Command& command) {
    auto names = std::make_shared<std::vector<std::string>>();
    CLI::App* help = qvr.add_subcommand("help", "Help on qvr or one of its commands");
    help->add_option("COMMAND", *names, "A command, and a subcommand of it");
    help->callback([&qvr, &command, names] {
        const CLI::App* target = &qvr;
        std::string path = qvr.get_name();
        for (const std::string& name : *names) {
            try {
                target = target->get_subcommand(name);
            } catch (const CLI::OptionNotFound&) {
                command.io.err << "qvr help: no command '" << QString::fromStdString(name) << "'\n";
                command.status = cli::UsageError;
                return;
            }
            path += ' ' + name;
        }
        command.io.out << QString::fromStdString(
            target->get_formatter()->make_help(target, path, CLI::AppFormatMode::Normal));
    });
}

} // namespace

int run(const QStringList& args, Io io) {
    cli::CommandLine line(QStringLiteral("qvr"),
                          QStringLiteral("The Quavero library from the command line."), args);
    CLI::App& app = line.app();
    app.require_subcommand(1);
    Command command{line, io};
    addScanCommand(app, command);
    addSqlCommand(app, command);
    addFoldersCommand(app, command);
    addCleanCommand(app, command);
    addRecordCommand(app, command);
    addTagCommand(app, command);
    addPropsCommand(app, command);
    addTagsCommand(app, command);
    addRenameCommand(app, command);
    addBrowseCommands(app, command);
    addFilterCommand(app, command);
    addVirtualFolderCommand(app, command);
    addSettingsCommand(app, command);
    addUpdateCommand(app, command);
    addConvertCommands(app, command);
    addConvertFilesCommand(app, command);
    addCopyCommand(app, command);
    addCdCommand(app, command);
    addCddbCommands(app, command);
    addRipCommand(app, command);
    addEngineCommand(app, command);
    addHelpCommand(app, command);
    if (const std::optional<int> status = line.parse(io)) return *status;
    return command.status;
}

} // namespace qvr
