#include "cli/SettingsCommand.h"

#include "core/AppSettings.h"
#include "core/Registry.h"
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

// A path as the user typed it, with control characters made visible.
QString printable(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QStringLiteral("<U+%1>").arg(
                QString::number(c.unicode(), 16).toUpper().rightJustified(4, '0'));
        else
            out += c;
    }
    return out;
}

// The lines of the hive file that were skipped, and what became of the file.
void warnAbout(qint32 root, Io io) {
    const HiveReport report = Registry::Report(root);
    const QString prefix = QStringLiteral("qvr settings: warning: ") + report.path;
    if (!report.unreadable.isEmpty())
        io.err << prefix << " was not read (" << report.unreadable
               << "); its settings have their defaults and the file is left as it is\n";
    for (const HiveProblem& problem : report.problems)
        io.err << prefix << " line " << problem.line << ": " << problem.reason << "; skipped\n";
    if (report.problemCount > report.problems.size())
        io.err << prefix << ": " << report.problemCount - report.problems.size()
               << " more bad lines skipped\n";
    if (!report.keptAs.isEmpty())
        io.err << prefix << " was rewritten without its bad lines; the file as it was is kept as "
               << report.keptAs << '\n';
}

qint32 rootOf(const Options& o) {
    return o.machine ? Registry::LocalMachine : Registry::CurrentUser;
}

int get(const Options& o, Io io) {
    const QString value = mainMod::ReadSetting(o.path, o.defaultValue, o.machine);
    if (o.json)
        printValue(o.path, value, true, io);
    else
        io.out << value << '\n';
    warnAbout(rootOf(o), io);
    return 0;
}

int set(const Options& o, Io io) {
    const Status written = mainMod::TryWriteSetting(o.path, o.value, o.machine);
    if (!written)
        io.err << "qvr settings: cannot write " << printable(o.path) << ": " << written.error()
               << '\n';
    warnAbout(rootOf(o), io);
    return written ? 0 : 1;
}

int remove(const Options& o, Io io) {
    const Status deleted = mainMod::TryDeleteSetting(o.path, o.machine);
    if (!deleted)
        io.err << "qvr settings: cannot delete " << printable(o.path) << ": " << deleted.error()
               << '\n';
    warnAbout(rootOf(o), io);
    return deleted ? 0 : 1;
}

int effective(const Options& o, Io io) {
    // One rewrite per hive for all the defaults a first start writes.
    Registry::Batch batch;
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
    // Defaults that cannot be stored (a machine-wide hive without write access)
    // still apply, silently, as on every start.
    batch.commit();
    warnAbout(Registry::CurrentUser, io);
    warnAbout(Registry::LocalMachine, io);
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
