// Timing driver for the library database and the scanner.
//
//   library_bench [--files N] [--work DIR] [--queries-only]
//
// Makes (or reuses) a corpus of N MP3 files in DIR and measures, warm cache:
//   floor      TagLib alone reading every file, on every core (no walk, no database)
//   full scan  a fresh library scanning the corpus (walk, stat, read, insert)
//   rescan     the same library scanned again, nothing changed
//   tree       the library branch as the window builds it (LibraryTree::LibraryBranch:
//              its statement, every row, the artist and album nodes)
//   artist     the node query of one artist node (BuildNodeQuery), every row stepped
//   search     the statement of one quick search (QuickSearch::Sql), every row stepped
#include "cli/CommandLine.h"
#include "components/AudioFile.h"
#include "components/LibraryScanner.h"
#include "components/MediaFolderStore.h"
#include "core/Database.h"
#include "core/Formatting.h"
#include "core/LibrarySchema.h"
#include "corpus/BenchSupport.h"
#include "corpus/Corpus.h"
#include "library/LibraryTree.h"
#include "library/NodeKeys.h"
#include "library/NodeQuery.h"
#include "library/QuickSearch.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <taglib/mpegfile.h>
#include <taglib/tag.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace {

QTextStream out(stdout);

double bestOf(int runs, const std::function<void()>& prepare, const std::function<void()>& body) {
    return BenchSupport::BestOf(runs, prepare, body);
}

// Runs read(path) for every file, on every core; returns a checksum so that nothing is optimised
// away.
long long onEveryCore(const std::vector<QByteArray>& files, long long (*read)(const char*)) {
    std::atomic<size_t> next{0};
    std::atomic<long long> sink{0};
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < std::max(1u, std::thread::hardware_concurrency()); ++t)
        pool.emplace_back([&] {
            long long local = 0;
            for (size_t i; (i = next.fetch_add(1)) < files.size();)
                local += read(files[i].constData());
            sink += local;
        });
    for (auto& t : pool)
        t.join();
    return sink;
}

// TagLib alone, with its own file stream: the fields the scanner reads.
long long tagLibRead(const char* path) {
    TagLib::MPEG::File f(path, true, TagLib::AudioProperties::Average);
    long long sum = 0;
    if (TagLib::Tag* tag = f.tag())
        sum += static_cast<long long>(tag->artist().size() + tag->album().size() +
                                      tag->title().size() + tag->genre().size() +
                                      tag->comment().size()) +
               tag->year() + tag->track();
    if (auto* p = f.audioProperties())
        sum += p->lengthInMilliseconds() + p->bitrate() + p->sampleRate() + p->channels();
    return sum;
}

// The scanner's own read (its stream), without walk or database.
long long scannerRead(const char* path) {
    return static_cast<long long>(ReadAudioFacts(path, AudioType::Mp3).artist.size());
}

std::vector<QByteArray> listFiles(const QString& root) {
    std::vector<QByteArray> files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.push_back(QFile::encodeName(it.next()));
    return files;
}

void report(const char* what, double seconds, int rows, const char* target) {
    out << QString::fromLatin1(what).leftJustified(12)
        << QString::number(seconds * 1000, 'f', 1).rightJustified(9) << " ms";
    if (rows > 0)
        out << QString::number(rows / seconds, 'f', 0).rightJustified(10) << " /s";
    else
        out << QString(13, QLatin1Char(' '));
    out << "   " << target << '\n';
    out.flush();
}

} // namespace

int runQueries(const QString& dbPath) {
    Result<db::Database> d = db::Database::open(dbPath);
    if (!d) {
        out << d.error() << '\n';
        return 1;
    }
    db::Database& conn = d.value();
    // What the program runs: the same functions, so that a change there shows here.
    const TreeTexts texts;
    int rows = 0;
    const double tree = bestOf(10, nullptr, [&] {
        rows = static_cast<int>(LibraryTree::LibraryBranch(conn, texts).size());
    });
    report("tree", tree, 0, "target at 100,000 rows: <= 100 ms");
    out << "             nodes " << rows << '\n';

    auto stepAll = [&conn, &rows](const QString& sql) {
        Result<db::Recordset> r = conn.query(sql);
        rows = 0;
        if (!r) return;
        while (r.value().next())
            ++rows;
    };
    const NodeQuery artistNode =
        BuildNodeQuery(NodeKeys::artistKey(QStringLiteral("Seán O'Brien")), QString(), texts.empty);
    const double artist = bestOf(20, nullptr, [&] { stepAll(artistNode.sql); });
    report("artist", artist, 0, "target at 100,000 rows: <= 2 ms");
    out << "             rows " << rows << '\n';

    const QString searchSql = QuickSearch::Sql(QStringLiteral("velvet night"));
    const double search = bestOf(5, nullptr, [&] { stepAll(searchSql); });
    report("search", search, 0, "(no target; the quick search's statement)");
    out << "             rows " << rows << '\n';
    return 0;
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int files = 10000;
    QString work;
    bool queriesOnly = false;
    cli::CommandLine line(QStringLiteral("library_bench"),
                          QStringLiteral("Time the scanner and the library's statements."),
                          app.arguments().mid(1));
    BenchSupport::AddCorpusOptions(line, files, work);
    line.app().add_flag("--queries-only", queriesOnly,
                        "Only the statements, when the library of an earlier run is there");
    QTextStream err(stderr);
    if (const std::optional<int> status = line.parse({out, err})) return *status;
    QTemporaryDir temp;
    if (work.isEmpty()) work = temp.path();
    const QString root = work + QStringLiteral("/corpus-%1").arg(files);
    const QString dbPath = work + QStringLiteral("/library-%1.qvd").arg(files);
    if (!QFileInfo::exists(root + QStringLiteral("/.complete"))) {
        QElapsedTimer t;
        t.start();
        const Result<corpus::Stats> s = corpus::Generate(root, corpus::Spec{files, 1, 0.25});
        if (!s) {
            out << "corpus: " << s.error() << '\n';
            return 1;
        }
        QFile(root + QStringLiteral("/.complete")).open(QIODevice::WriteOnly);
        out << "corpus: " << s->files << " files, " << s->artists << " artists, " << s->albums
            << " albums, " << mainMod::FormatSize(static_cast<double>(s->bytes)) << " in "
            << t.elapsed() / 1000.0 << " s\n";
    }
    if (queriesOnly && QFileInfo::exists(dbPath)) return runQueries(dbPath);
    const std::vector<QByteArray> list = listFiles(root);
    out << "files: " << list.size() << ", cores: " << std::thread::hardware_concurrency() << "\n\n";

    // Warm the cache once.
    QuietTagLib();
    onEveryCore(list, tagLibRead);

    const double floor = bestOf(3, nullptr, [&] { onEveryCore(list, tagLibRead); });
    report("floor", floor, files, "TagLib alone, every core");
    const double streamFloor = bestOf(3, nullptr, [&] { onEveryCore(list, scannerRead); });
    report("read only", streamFloor, files, "the scanner's own reading alone, every core");

    ScanCounts counts;
    // An empty library with the corpus as media folder is made before the clock starts.
    const double full = bestOf(
        3,
        [&] {
            for (const char* suffix : {"", "-wal", "-shm"})
                QFile::remove(dbPath + QLatin1String(suffix));
            LibrarySchema::createTemplate(dbPath);
            Result<db::Database> d = db::Database::open(dbPath);
            MediaFolderStore(&d.value()).Add(root);
        },
        [&] {
            const Result<ScanCounts> r = LibraryScanner::runOnFile(dbPath, QString(), {});
            if (r) counts = r.value();
        });
    report("full scan", full, files, "target: >= 15,000 files/s and <= 1.3 x floor");
    out << "             " << QString::number(full / floor, 'f', 2) << " x floor, "
        << QString::number(full / streamFloor, 'f', 2) << " x read only; added " << counts.added
        << "\n";

    const double rescan = bestOf(3, nullptr, [&] {
        const Result<ScanCounts> r = LibraryScanner::runOnFile(dbPath, QString(), {});
        if (r) counts = r.value();
    });
    report("rescan", rescan, files, "target at 100,000 files: <= 1 s");
    out << "             seen " << counts.seen << ", updated " << counts.updated << '\n';

    return runQueries(dbPath);
}
