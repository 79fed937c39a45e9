#include "cli/ScanCommand.h"

#include "cli/LibraryAccess.h"
#include "components/LibraryScanner.h"
#include "components/MediaLibrary.h"

#include <QFileInfo>

namespace qvr {

namespace {

void drawBar(QTextStream& err, float percent) {
    const int width = 40;
    const int filled = static_cast<int>(percent * width / 100.0f);
    err << "\r[" << QString(filled, QLatin1Char('#')) << QString(width - filled, QLatin1Char(' '))
        << "] " << QString::number(static_cast<int>(percent)).rightJustified(3) << '%';
    err.flush();
}

} // namespace

void addScanCommand(CLI::App& qvr, Command& command) {
    struct Options {
        QStringList folders;
        LibraryOptions library;
        bool noWait = false;
    };
    auto options = std::make_shared<Options>();
    CLI::App* scan = qvr.add_subcommand(
        "scan", "Add the folders as media folders and scan them (else every media folder)");
    cli::addTexts(scan, "FOLDER", options->folders, "Folders to add and scan")
        ->check(command.line.path());
    addLibraryOptions(scan, options->library, command.line, true);
    scan->add_flag("--no-wait", options->noWait,
                   "Fail at once while another scan of the library runs (else wait for it)");
    scan->callback([&command, options] {
        const auto body = [&options](Io io) {
            return runScanCommand(options->folders, options->library.db, options->noWait, io);
        };
        command.status =
            options->library.json ? printLinesAsJson(body, command.io) : body(command.io);
    });
}

int runScanCommand(const QStringList& args, const QString& dbPath, bool noWait, Io io) {
    MediaLibrary library;
    if (!openLibrary(library, dbPath, io)) return 1;
    MediaFolderStore* folders = library.MediaFolders();
    for (const QString& f : args) {
        if (!QFileInfo(f).isDir()) {
            io.err << "qvr scan: not a folder: " << f << '\n';
            return 1;
        }
        const QString normal = MediaFolderStore::Normalize(f);
        bool listed = false;
        for (int i = 0; i < folders->FolderCount(); ++i)
            listed = listed || folders->FolderPath(i) == normal;
        if (!listed && !folders->Add(f)) {
            io.err << "qvr scan: cannot add the media folder " << f << '\n';
            return 1;
        }
    }
    LibraryScanner::Callbacks cb;
    cb.progress = [&io](float p) { drawBar(io.err, p); };
    cb.status = [&io](qint32 code, const QString& text) {
        if (code == ScanFolderMissing || code == ScanFolderLost || code == ScanDatabaseError)
            io.err << "\nqvr scan: " << text << '\n';
    };
    cb.skipped = [&io](const QString& path, const QString& reason) {
        io.err << "\nqvr scan: skipped " << path << ": " << reason << '\n';
    };
    cb.waiting = [&io](const QString& message) {
        io.err << "qvr scan: " << message << '\n';
        io.err.flush();
    };
    LibraryScanner scanner(library.Connection());
    scanner.setLockOwner(QStringLiteral("qvr scan"));
    if (noWait) scanner.setLockWait(0);
    const Result<ScanCounts> r = scanner.run(args, cb);
    if (!r) {
        io.err << "\nqvr scan: " << r.error() << '\n';
        return 1;
    }
    const ScanCounts total = r.value();
    io.err << '\n';
    // The counts are those of committed work, also when the scan stopped.
    io.out << "seen\t" << total.seen << "\nadded\t" << total.added << "\nupdated\t" << total.updated
           << "\nremoved\t" << total.removed << "\nskipped\t" << total.skipped << '\n';
    if (!total.finished()) io.err << "qvr scan: the scan did not finish\n";
    return total.finished() ? 0 : 1;
}

} // namespace qvr
