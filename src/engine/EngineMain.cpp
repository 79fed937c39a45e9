#include "engine/EngineMain.h"

#include "core/AppSettings.h"
#include "core/Database.h"
#include "core/FileLock.h"
#include "core/LibraryPaths.h"
#include "core/LibrarySchema.h"
#include "core/Settings.h"
#include "engine/EngineInstance.h"
#include "engine/EngineLog.h"
#include "engine/EngineServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QSocketNotifier>

#include <csignal>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &c, 1);
}

// SIGTERM and SIGINT end the event loop, so that a pass is cancelled and the
// lock and log are closed in order.
void quitOnSignals(QObject* owner) {
    if (::pipe(g_signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [] {
        char c;
        [[maybe_unused]] const ssize_t n = ::read(g_signalPipe[0], &c, 1);
        QCoreApplication::quit();
    });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
}

// The library file, made from the template when missing, with every table the
// scanner needs.
Result<QString> prepareLibrary(const QString& folder) {
    const QString path = mainMod::GetDatabasePath(folder, mainMod::TemplatePath());
    if (path.isEmpty())
        return Result<QString>::failure(
            QStringLiteral("there is no library in %1 and none could be made").arg(folder));
    Result<db::Database> d = db::Database::open(path);
    if (!d) return Result<QString>::failure(d.error());
    if (Status s = LibrarySchema::ensure(d.value()); !s) return Result<QString>::failure(s.error());
    return path;
}

} // namespace

int EngineIdleStopSeconds() {
    const double v = mainMod::NumberOr(
        mainMod::ReadSetting(QStringLiteral("IndexingEngine\\IdleStopSeconds")), 0);
    return v >= 1 && v <= 24 * 3600 * 365 ? static_cast<int>(v) : 0;
}

bool EngineWatchesFolders() {
    return mainMod::ReadSetting(QStringLiteral("IndexingEngine\\WatchFolders")).trimmed() !=
           QLatin1String("0");
}

int RunEngine(const EngineOptions& options, qvr::Io io) {
    const QString folder = options.dataFolder.isEmpty()
                               ? mainMod::DataFolder()
                               : QDir(options.dataFolder).absolutePath() + QLatin1Char('/');
    QDir().mkpath(folder);
    FileLock lock(EngineInstance::lockPath(folder), FileLock::TryOnce);
    if (!lock.locked()) {
        const QString holder = EngineInstance::holder(folder);
        io.err << "qvrindex: the engine already runs for " << folder
               << (holder.isEmpty() ? QStringLiteral(" (its lock file cannot be taken)")
                                    : QStringLiteral(": process ") + holder)
               << '\n';
        return 1;
    }
    lock.writeOwner(QStringLiteral("qvrindex starting"));
    EngineLog log(folder + QStringLiteral("qvrindex.log"));
    const auto fail = [&](const QString& why) {
        log.write(QStringLiteral("not started: ") + why);
        io.err << "qvrindex: " << why << '\n';
        return 1;
    };

    const Result<QString> library = prepareLibrary(folder);
    if (!library) return fail(library.error());
    const quint16 port = IndexingEnginePort();
    EngineServer server(library.value(), log);
    if (!server.listen(port))
        return fail(QStringLiteral("cannot listen on 127.0.0.1:%1: %2")
                        .arg(port)
                        .arg(server.errorString()));
    lock.writeOwner(QStringLiteral("qvrindex listening on 127.0.0.1:%1").arg(server.port()));
    log.write(QStringLiteral("started, pid %1, 127.0.0.1:%2, library %3")
                  .arg(QCoreApplication::applicationPid())
                  .arg(server.port())
                  .arg(library.value()));

    const int idle = EngineIdleStopSeconds();
    QObject::connect(&server, &EngineServer::idleTimeout, [&log, idle] {
        log.write(QStringLiteral("stopping: no client for %1 s").arg(idle));
        QCoreApplication::quit();
    });
    server.setIdleStop(idle);
    server.watchFolders(EngineWatchesFolders());
    QObject context;
    quitOnSignals(&context);
    const int status = QCoreApplication::exec();
    log.write(QStringLiteral("stopped"));
    return status;
}
