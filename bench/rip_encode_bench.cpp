// Timing driver for ripping to MP3: the rip job, which rips the next track while
// the previous one encodes, against ripping and encoding one after the other.
//
//   rip_encode_bench [--seconds S] [--runs N] [--work DIR]
//
// Writes an image of ten audio tracks of S seconds each (30 by default) and
// measures, best of N runs (1 by default): ripping all tracks to WAV, encoding
// those WAV files to MP3 (CBR 128 kbit/s), and the rip job doing both. Prints
// the three times, the sum of the first two and the job's time over that sum.
#include "cd/RipJob.h"
#include "cd/clsRIP.h"
#include "cli/CommandLine.h"
#include "convert/EncoderConfig.h"
#include "convert/LameEncoder.h"
#include "corpus/BenchSupport.h"
#include "support/CdImage.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int seconds = 30;
    int runs = 1;
    QString work;
    cli::CommandLine line(QStringLiteral("rip_encode_bench"),
                          QStringLiteral("Time ripping a disc image to MP3 files."),
                          app.arguments().mid(1));
    line.app()
        .add_option("--seconds", seconds, "Length of each of the ten tracks")
        ->capture_default_str()
        ->check(CLI::PositiveNumber);
    BenchSupport::AddRunOptions(line, runs, work);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (const std::optional<int> status = line.parse({out, err})) return *status;
    QTemporaryDir temp(BenchSupport::ScratchTemplate(work, QStringLiteral("rip_encode_bench")));
    if (!temp.isValid()) return 1;

    const QString images = temp.filePath(QStringLiteral("images"));
    QList<int64_t> frames;
    for (int t = 0; t < 10; ++t)
        frames << int64_t(seconds) * 44100 + 331 * (t + 1);
    fixtures::WriteCdImage(images, QStringLiteral("disc"), frames);
    out << "image: 10 audio tracks of " << seconds << " s\n";
    out.flush();

    const AppSettings settings; // CBR 128 kbit/s
    clsRIP rip;
    rip.setImagesFolder(images);
    if (!rip.ReadDisc(1)) {
        err << "rip_encode_bench: " << rip.LastError() << '\n';
        return 1;
    }
    const QString wavs = temp.filePath(QStringLiteral("wav"));
    QDir().mkpath(wavs);
    bool ok = true;
    const double ripping = BenchSupport::BestOf(runs, nullptr, [&] {
        for (int t = 1; t <= 10; ++t)
            ok = rip.RipTrack(t, wavs + QStringLiteral("/%1.wav").arg(t)) && ok;
    });
    const double encodingTime = BenchSupport::BestOf(
        runs, [&] { QDir(temp.filePath(QStringLiteral("mp3"))).removeRecursively(); },
        [&] {
            QDir().mkpath(temp.filePath(QStringLiteral("mp3")));
            lameEncoder encoder;
            convert::Configure(encoder, settings);
            for (int t = 1; t <= 10; ++t) {
                encoder.SetInputFile(wavs + QStringLiteral("/%1.wav").arg(t));
                encoder.SetOutputFile(temp.filePath(QStringLiteral("mp3/%1.mp3").arg(t)));
                ok = encoder.Encode() && ok;
            }
        });

    const QString target = temp.filePath(QStringLiteral("job"));
    cd::RipPlanInput in;
    in.folder = target;
    in.pattern = QLatin1String(cd::DefaultRipPattern);
    in.format = cd::RipMp3;
    for (int t = 1; t <= 10; ++t)
        in.tracks << cd::RipPlanTrack{t, QStringLiteral("Track %1").arg(t)};
    const double job = BenchSupport::BestOf(
        runs, [&] { QDir(target).removeRecursively(); },
        [&] {
            RipJob::Setup setup;
            setup.drive = 1;
            setup.imagesFolder = images;
            setup.format = cd::RipMp3;
            setup.targets = cd::BuildRipPlan(in);
            setup.encoding = settings;
            setup.tempFolder = temp.path();
            RipJob ripJob(setup);
            QObject::connect(&ripJob, &RipJob::entryChanged, [&](int, int state) {
                if (state == RipJob::Failed) ok = false;
            });
            ok = ripJob.run() == RipJob::Finished && ok;
        });
    if (!ok) {
        err << "rip_encode_bench: a rip or an encode failed\n";
        return 1;
    }
    BenchSupport::Report("rip to WAV", ripping, 24, 2);
    BenchSupport::Report("encode to MP3", encodingTime, 24, 2);
    BenchSupport::Report("sum of the two", ripping + encodingTime, 24, 2);
    BenchSupport::Report("rip job (overlapped)", job, 24, 2);
    out << "ratio job / sum: " << QString::number(job / (ripping + encodingTime), 'f', 2) << '\n';
    return 0;
}
