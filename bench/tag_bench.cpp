// Timing driver for tag writes on a large MP3.
//
//   tag_bench [--size MB] [--work DIR] [--runs N]
//
// Makes an MP3 of SIZE MB (100 by default) whose ID3v2.3 tag has TagLib's
// padding, and measures, warm cache, the best of N runs (5 by default; the
// writes in place, which take microseconds, at least 50) of:
//   taglib in place  TagLib alone: open, set the artist, save; the tag fits
//   write in place   TagService::WriteFileTag of a value that fits (TagLib's save
//                    and reading the written bytes back)
//   taglib grow      TagLib alone growing the tag inside the file (unsafe: a kill
//                    or a full disk damages the audio), for comparison
//   write new file   TagService::WriteFileTag of a value that outgrows the room:
//                    a copy is written, flushed to disk, read back and renamed
#include "cli/CommandLine.h"
#include "components/TagService.h"
#include "corpus/BenchSupport.h"
#include "corpus/Corpus.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <taglib/mpegfile.h>
#include <taglib/tag.h>

#include <algorithm>
#include <functional>

namespace {

QTextStream out(stdout);

double bestOf(int runs, const std::function<void(int)>& body) {
    double best = 1e100;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        body(i);
        best = std::min(best, t.nsecsElapsed() / 1e9);
    }
    return best;
}

bool makeMp3(const QString& path, qint64 bytes) {
    const QByteArray chunk = corpus::EncodeMp3(4.0, 128, 2, 44100);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    for (qint64 n = 0; n < bytes; n += chunk.size())
        if (f.write(chunk) != chunk.size()) return false;
    f.close();
    TagLib::MPEG::File mp3(QFile::encodeName(path).constData());
    mp3.tag()->setArtist("Artist 0");
    mp3.tag()->setTitle("A title");
    return mp3.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v3);
}

void report(const char* what, double seconds) {
    out.flush();
    BenchSupport::Report(what, seconds, 18, 3);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    qint64 megabytes = 100;
    int runs = 5;
    QString work;
    cli::CommandLine line(QStringLiteral("tag_bench"),
                          QStringLiteral("Time a tag write on a large MP3: in place, and as a new "
                                         "file."),
                          app.arguments().mid(1));
    line.app()
        .add_option("--size", megabytes, "Size of the MP3 in MiB")
        ->capture_default_str()
        ->check(CLI::PositiveNumber);
    BenchSupport::AddRunOptions(line, runs, work);
    QTextStream err(stderr);
    if (const std::optional<int> status = line.parse({out, err})) return *status;
    QTemporaryDir temp(BenchSupport::ScratchTemplate(work, QStringLiteral("tag_bench")));
    if (!temp.isValid()) return 1;
    const QString path = temp.path() + QStringLiteral("/big.mp3");
    if (!makeMp3(path, megabytes << 20)) return 1;
    const QByteArray local = QFile::encodeName(path);
    out << "file: " << QFile(path).size() / 1048576.0 << " MB\n";

    // Values of the same length fit the padding left by the previous save.
    const int small = std::max(runs, 50);
    const double plain = bestOf(small, [&](int i) {
        TagLib::MPEG::File f(local.constData(), false);
        f.tag()->setArtist(TagLib::String("Artist ") + TagLib::String::number(i % 10));
        f.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v3,
               TagLib::File::DoNotDuplicate);
    });
    report("taglib in place", plain);
    const double safe = bestOf(small, [&](int i) {
        if (!TagService::WriteFileTag(path, TagService::Artist,
                                      QStringLiteral("Artist %1").arg(i % 10)))
            out << "write failed\n";
    });
    report("write in place", safe);
    out << "  ratio " << QString::number(safe / plain, 'f', 2) << "\n";

    // Each value is 2 KB longer than any before: more than the padding a save leaves.
    const double grow = bestOf(runs, [&](int i) {
        TagLib::MPEG::File f(local.constData(), false);
        f.tag()->setArtist(TagLib::String(std::string(2048 * (i + 1), 'g')));
        f.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v3,
               TagLib::File::DoNotDuplicate);
    });
    report("taglib grow", grow);
    const double rewrite = bestOf(runs, [&](int i) {
        const Status s = TagService::WriteFileTag(path, TagService::Artist,
                                                  QString(2048 * (runs + 1 + i), QLatin1Char('w')));
        if (!s) out << "write failed: " << s.error() << "\n";
    });
    report("write new file", rewrite);
    return 0;
}
