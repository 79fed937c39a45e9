#include "cli/CommandLine.h"
#include "engine/EngineMain.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("qvrindex"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    cli::CommandLine line(QStringLiteral("qvrindex"),
                          QStringLiteral("The Quavero indexing engine: keeps the library current "
                                         "and serves its clients on 127.0.0.1."),
                          cli::arguments(argc, argv));
    CLI::App& cmd = line.app();
    EngineOptions options;
    QString word;
    cli::addText(&cmd, "--data-folder", options.dataFolder, "The folder of the library data.qvd")
        ->type_name("DIR")
        ->check(line.path());
    cli::addText(&cmd, "WORD", word, "/install: register the engine (nothing to do here)");
    cmd.footer("Exit status: 0 done, 1 failed (another engine runs, no library, port taken), "
               "2 usage error.");
    if (const std::optional<int> status = line.parse({out, err})) return *status;
    if (word.compare(QLatin1String("/install"), Qt::CaseInsensitive) == 0) {
        // There is no service manager to register with: clients start the
        // program itself, and a systemd user unit can keep it running.
        out << "qvrindex: nothing to install; the engine runs when started\n";
        return 0;
    }
    if (!word.isEmpty()) {
        err << "qvrindex: unknown argument " << word << '\n';
        return 2;
    }
    return RunEngine(options, {out, err});
}
