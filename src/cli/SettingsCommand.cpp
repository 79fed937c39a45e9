#include "cli/SettingsCommand.h"

#include "core/AppSettings.h"
#include "core/Settings.h"

namespace qvr {

namespace {

struct Options {
    QString path;
    QString value;
    QString defaultValue;
    bool machine = false;
    bool json = false;
};

void printValue(const QString& path, const QString& value, bool json, Io io) {
    if (json)
        printJson({{QStringLiteral("path"), path}, {QStringLiteral("value"), value}}, io);
    else
        io.out << path << '\t' << value << '\n';
}

int get(const Options& o, Io io) {
    const QString value = mainMod::ReadSetting(o.path, o.defaultValue, o.machine);
    if (o.json)
        printValue(o.path, value, true, io);
    else
        io.out << value << '\n';
    return 0;
}

int set(const Options& o, Io io) {
    if (mainMod::WriteSetting(o.path, o.value, o.machine)) return 0;
    io.err << "qvr settings: cannot write " << o.path << '\n';
    return 1;
}

int remove(const Options& o, Io io) {
    if (mainMod::DeleteSetting(o.path, o.machine)) return 0;
    io.err << "qvr settings: no value " << o.path << " to delete\n";
    return 1;
}

int effective(const Options& o, Io io) {
    AppSettings settings;
    LoadSettings(settings);
    for (const SettingRow& row : SettingsCatalogue()) {
        QString value;
        if (row.handling != SettingRow::Direct)
            value = row.text(settings);
        else if (row.path == QLatin1String("IndexingEngine\\ServicePort"))
            value = QString::number(IndexingEnginePort());
        else
            value = mainMod::ReadSetting(row.path, row.defaultText, row.machineWide);
        printValue(row.path, value, o.json, io);
    }
    return 0;
}

void addMachineFlag(CLI::App* command, Options& options) {
    command->add_flag("--machine", options.machine, "The machine-wide settings, not the user's");
}

} // namespace

void addSettingsCommand(CLI::App& qvr, Command& command) {
    auto options = std::make_shared<Options>();
    CLI::App* settings = qvr.add_subcommand("settings", "The settings store");
    settings->require_subcommand(1);
    addMachineFlag(settings, *options); // may come before the subcommand too
    const auto run = [&command, options](int (*body)(const Options&, Io)) {
        return [&command, options, body] { command.status = body(*options, command.io); };
    };

    CLI::App* getCommand = settings->add_subcommand("get", "Print a value");
    cli::addText(getCommand, "PATH", options->path, "KEY\\NAME below the settings root")
        ->required();
    addMachineFlag(getCommand, *options);
    cli::addText(getCommand, "--default", options->defaultValue, "The answer when there is none");
    addJsonOption(getCommand, options->json);
    getCommand->callback(run(get));

    CLI::App* setCommand = settings->add_subcommand("set", "Write a value");
    cli::addText(setCommand, "PATH", options->path, "KEY\\NAME below the settings root")
        ->required();
    cli::addText(setCommand, "VALUE", options->value, "The text to store")->required();
    addMachineFlag(setCommand, *options);
    setCommand->callback(run(set));

    CLI::App* deleteCommand = settings->add_subcommand("delete", "Delete a value");
    cli::addText(deleteCommand, "PATH", options->path, "KEY\\NAME below the settings root")
        ->required();
    addMachineFlag(deleteCommand, *options);
    deleteCommand->callback(run(remove));

    CLI::App* effectiveCommand = settings->add_subcommand(
        "effective", "Every setting the application reads, with the value it uses");
    addJsonOption(effectiveCommand, options->json);
    effectiveCommand->callback(run(effective));
}

} // namespace qvr
