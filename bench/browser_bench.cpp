// Timing driver for the library browser on a large library.
//
//   browser_bench [--files N] [--work DIR]
//
// Makes (or reuses) a corpus of N MP3 files and its library in DIR, then
// measures, warm cache, through the same code the main window runs:
//   MakeTree   the whole tree (section 0) into the tree widget
//   FillList   every file (mode 1) with all twelve columns, until the view
//              has laid it out, and the memory it took
//   artist     selecting one artist node (its query and its rows)
//   search     one quick search with an accented word
#include "cli/CommandLine.h"
#include "components/MediaLibrary.h"
#include "core/AppSettings.h"
#include "corpus/BenchSupport.h"
#include "corpus/Corpus.h"
#include "library/NodeKeys.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/LibraryTreeWidget.h"
#include "library/widgets/mainForm.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <functional>
#include <unistd.h>

namespace {

QTextStream out(stdout);

// Milliseconds.
double bestOf(int runs, const std::function<void()>& body) {
    return BenchSupport::BestOf(runs, nullptr, body) * 1e3;
}

// Resident memory in MiB.
double rssMiB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> parts = statm.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toDouble() * sysconf(_SC_PAGESIZE) / 1048576.0 : 0;
}

} // namespace

int main(int argc, char** argv) {
    int files = 100000;
    QString work;
    // Parsed before the application exists, so that help needs no display.
    cli::CommandLine line(QStringLiteral("browser_bench"),
                          QStringLiteral("Time the tree, the list and the search on a large "
                                         "library."),
                          cli::arguments(argc, argv));
    BenchSupport::AddCorpusOptions(line, files, work);
    QTextStream err(stderr);
    if (const std::optional<int> status = line.parse({out, err})) return *status;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir temp;
    if (work.isEmpty()) work = temp.path();
    QTemporaryDir config;
    qputenv("QUAVERO_CONFIG_DIR", config.path().toLocal8Bit());
    const QString root = work + QStringLiteral("/corpus-%1").arg(files);
    const QString dbPath = work + QStringLiteral("/library-%1.qvd").arg(files);
    if (!QFile::exists(dbPath)) {
        QDir().mkpath(work);
        const Result<corpus::Stats> s = corpus::Generate(root, corpus::Spec{files, 1, 0.25});
        if (!s) {
            out << "corpus: " << s.error() << Qt::endl;
            return 1;
        }
        out << "corpus: " << s->files << " files, " << s->artists << " artists, " << s->albums
            << " albums" << Qt::endl;
        const Result<ScanCounts> c = corpus::BuildLibrary(root, dbPath);
        if (!c) {
            out << "library: " << c.error() << Qt::endl;
            return 1;
        }
    }

    MediaLibrary library;
    if (!library.OpenLibrary(dbPath)) {
        out << "cannot open " << dbPath << Qt::endl;
        return 1;
    }
    AppSettings settings = DefaultSettings();
    for (ColumnSetting& c : settings.Columns)
        c.Show = true;
    mainForm form(settings);
    form.EmptyArtistText = form.EmptyAlbumText = QStringLiteral("(Unknown)");
    form.resize(1200, 800);
    form.show();
    LibraryBrowser browser(form, library);
    browser.BuildColumns();
    app.processEvents();

    const double tree = bestOf(5, [&] { browser.MakeTree(TreeSection::All); });
    int artists = 0, albums = 0;
    if (QTreeWidgetItem* lib = form.tv1->node(NodeKeys::Library)) {
        artists = lib->childCount();
        for (int i = 0; i < lib->childCount(); ++i)
            albums += lib->child(i)->childCount();
    }
    out << "files " << files << ", tree: " << artists << " artists, " << albums << " albums"
        << Qt::endl;
    out << QStringLiteral("MakeTree (section 0)        %1 ms").arg(tree, 0, 'f', 1) << Qt::endl;

    browser.FillList(QString(), ListMode::Library); // empty list
    app.processEvents();
    const double before = rssMiB();
    const double fill = bestOf(5, [&] {
        browser.FillList(QStringLiteral("select * from files"), ListMode::Library);
        form.llist->doItemsLayout();
        form.llist->viewport()->repaint();
    });
    const double after = rssMiB();
    out << QStringLiteral("FillList all (12 columns)   %1 ms, %2 rows, RSS +%3 MiB")
               .arg(fill, 0, 'f', 1)
               .arg(browser.model().rowCount())
               .arg(after - before, 0, 'f', 1)
        << Qt::endl;

    const QString artistKey = NodeKeys::artistKey(QStringLiteral("Seán O'Brien"));
    const NodeQuery q = BuildNodeQuery(artistKey, QString(), browser.texts().empty);
    const double artist = bestOf(20, [&] { browser.FillList(q.sql, q.mode); });
    out << QStringLiteral("artist node                 %1 ms, %2 rows")
               .arg(artist, 0, 'f', 2)
               .arg(browser.model().rowCount())
        << Qt::endl;

    const double search =
        bestOf(10, [&] { browser.FillList(QStringLiteral("?CAFÉ"), ListMode::Search); });
    out << QStringLiteral("quick search \"CAFÉ\"         %1 ms, %2 rows")
               .arg(search, 0, 'f', 1)
               .arg(browser.model().rowCount())
        << Qt::endl;
    const double search2 =
        bestOf(10, [&] { browser.FillList(QStringLiteral("?velvet night"), ListMode::Search); });
    out << QStringLiteral("quick search \"velvet night\" %1 ms, %2 rows")
               .arg(search2, 0, 'f', 1)
               .arg(browser.model().rowCount())
        << Qt::endl;
    return 0;
}
