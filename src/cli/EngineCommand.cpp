#include "cli/EngineCommand.h"

#include "cli/LibraryAccess.h"
#include "core/AppSettings.h"
#include "engine/EngineFrames.h"
#include "engine/IndexEngineForm.h"
#include "lang/Mui.h"

namespace qvr {

namespace {

// "$N" is language text N, as the main window shows it.
QString stateText(const clsMUI& lang, const QString& text) {
    if (!text.startsWith(QLatin1Char('$'))) return text;
    return lang.Text(EngineFrames::leadingNumber(text.mid(1)));
}

bool reach(IndexEngineForm& client, bool startIfNeeded, Io io) {
    if (startIfNeeded ? client.Connect() : client.ConnectRunning()) return true;
    io.err << "qvr engine: the indexing engine "
           << (startIfNeeded ? "cannot be started or reached" : "is not running") << " (port "
           << IndexingEnginePort() << ")\n";
    return false;
}

int status(Io io) {
    IndexEngineForm client;
    if (!client.ConnectRunning()) {
        io.out << "running\tno\nport\t" << IndexingEnginePort() << '\n';
        return 1;
    }
    clsMUI lang;
    loadLanguage(lang);
    QString text;
    QObject::connect(&client, &IndexEngineForm::IndexStateChanged,
                     [&text](qint16, const QString& t) { text = t; });
    client.NotifyState = true;
    const bool busy = client.Busy();
    io.out << "running\tyes\nport\t" << IndexingEnginePort() << "\nstate\t" << client.LastState()
           << "\nbusy\t" << (busy ? "yes" : "no") << '\n';
    if (!text.isEmpty()) io.out << "text\t" << stateText(lang, text) << '\n';
    return 0;
}

int start(bool force, Io io) {
    IndexEngineForm client;
    if (!reach(client, true, io)) return 1;
    if (!client.Start(force)) return 1;
    io.out << (force ? "forced pass started\n" : "pass started\n");
    return 0;
}

int cancel(Io io) {
    IndexEngineForm client;
    if (!reach(client, false, io)) return 1;
    return client.Cancel() ? 0 : 1;
}

// Prints the pass's progress and states until its report.
int watch(Io io) {
    IndexEngineForm client;
    if (!reach(client, false, io)) return 1;
    clsMUI lang;
    loadLanguage(lang);
    bool done = false;
    QObject::connect(&client, &IndexEngineForm::IndexProgressChanged, [&io](qint16 percent) {
        io.out << "progress\t" << percent << '\n';
        io.out.flush();
    });
    QObject::connect(&client, &IndexEngineForm::IndexStateChanged,
                     [&](qint16 state, const QString& text) {
                         io.out << "state\t" << state;
                         if (!text.isEmpty()) io.out << '\t' << stateText(lang, text);
                         io.out << '\n';
                         io.out.flush();
                     });
    QObject::connect(&client, &IndexEngineForm::IndexCompleted,
                     [&](qint32 checked, qint32 added, qint32 updated, qint32 removed) {
                         io.out << "checked\t" << checked << "\nadded\t" << added << "\nupdated\t"
                                << updated << "\nremoved\t" << removed << '\n';
                         done = true;
                     });
    client.NotifyState = true;
    if (!client.Busy()) {
        io.out << "state\t" << client.LastState() << "\nno pass is running\n";
        return 0;
    }
    client.NotifyProgress = client.NotifyReport = true;
    while (!done && client.Connected())
        YieldUntil([&done] { return done; }, 1000);
    if (!done) {
        io.err << "qvr engine: the engine went away before the pass ended\n";
        return 1;
    }
    return 0;
}

} // namespace

void addEngineCommand(CLI::App& qvr, Command& command) {
    CLI::App* engine =
        qvr.add_subcommand("engine", "The indexing engine: its state, and index passes");
    engine->require_subcommand(1);
    engine->add_subcommand("status", "Whether the engine runs, and its state (exit 1: not running)")
        ->callback([&command] { command.status = status(command.io); });
    auto force = std::make_shared<bool>(false);
    CLI::App* startCmd = engine->add_subcommand(
        "start", "Start an index pass of the media folders, starting the engine when needed");
    startCmd->add_flag("--force", *force, "Read every file again, not only changed ones");
    startCmd->callback([&command, force] { command.status = start(*force, command.io); });
    engine->add_subcommand("cancel", "Cancel the running index pass")->callback([&command] {
        command.status = cancel(command.io);
    });
    engine
        ->add_subcommand("watch", "Print the progress and state of the running pass until it ends")
        ->callback([&command] { command.status = watch(command.io); });
}

} // namespace qvr
