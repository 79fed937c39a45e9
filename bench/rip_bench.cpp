// Timing driver for ripping: every track of a generated CUE/BIN image to WAV.
//
//   rip_bench [--minutes M] [--runs N] [--work DIR]
//
// Writes an image of M minutes (10 by default) in tracks of odd lengths behind a
// data track, and measures the best of N runs (3 by default) of ripping all its
// audio tracks with clsRIP. Prints the time and the speed as a multiple of
// realtime (goal: 100 or more).
#include "cd/clsRIP.h"
#include "cli/CommandLine.h"
#include "corpus/BenchSupport.h"
#include "support/CdImage.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int minutes = 10;
    int runs = 3;
    QString work;
    cli::CommandLine line(QStringLiteral("rip_bench"),
                          QStringLiteral("Time ripping a disc image to WAV files."),
                          app.arguments().mid(1));
    line.app()
        .add_option("--minutes", minutes, "Length of the image")
        ->capture_default_str()
        ->check(CLI::PositiveNumber);
    BenchSupport::AddRunOptions(line, runs, work);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (const std::optional<int> status = line.parse({out, err})) return *status;
    QTemporaryDir temp(BenchSupport::ScratchTemplate(work, QStringLiteral("rip_bench")));
    if (!temp.isValid()) return 1;

    // Tracks of about a minute each, none a whole number of sectors long.
    QList<int64_t> frames;
    const int64_t total = int64_t(minutes) * 60 * 44100;
    for (int64_t left = total; left > 0;) {
        const int64_t length = std::min<int64_t>(left, 44100 * 60 + 331 * (frames.size() + 1));
        frames.append(length);
        left -= length;
    }
    const fixtures::CdImage image =
        fixtures::WriteCdImage(temp.path(), QStringLiteral("disc"), frames, 300);
    out << "image: " << minutes << " min in " << frames.size() << " audio tracks\n";
    out.flush();

    clsRIP rip;
    if (!rip.ReadDrive({QStringLiteral("disc.cue"), image.cuePath, true, {}})) {
        err << "rip_bench: " << rip.LastError() << '\n';
        return 1;
    }
    bool ok = true;
    const double best = BenchSupport::BestOf(runs, nullptr, [&] {
        for (int t = 1; t <= rip.TrackCount(); ++t)
            ok = rip.RipTrack(t, temp.filePath(QStringLiteral("track%1.wav").arg(t))) && ok;
    });
    if (!ok) {
        err << "rip_bench: " << rip.LastError() << '\n';
        return 1;
    }
    BenchSupport::Report("rip all tracks", best, 16, 1);
    out << "speed: " << QString::number(total / 44100.0 / best, 'f', 0) << "x realtime\n";
    return 0;
}
