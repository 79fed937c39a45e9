// Timing driver for MP3 and WMA encoding against the lame and ffmpeg tools.
//
//   encode_bench [--seconds S] [--runs N] [--work DIR]
//
// Writes S seconds (60 by default) of 16-bit stereo PCM at 44.1 kHz and measures
// the best of N runs (3 by default) of lameEncoder at CBR 128 kbit/s and at VBR
// quality 2 and of wmaEncoder at 128 kbit/s, and, when the tools are on the
// PATH, of `lame -b 128`, `lame -V 2` and `ffmpeg -c:a wmav2 -b:a 128k` on the
// same input. The ratio is the tool's time over ours (goal: 0.95 or more).
#include "cli/CommandLine.h"
#include "convert/LameEncoder.h"
#include "convert/WavFile.h"
#include "convert/WmaEncoder.h"
#include "corpus/BenchSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

QTextStream out(stdout);

double bestOf(int runs, const std::function<bool()>& body) {
    double best = 1e100;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        if (!body()) return -1;
        best = std::min(best, t.nsecsElapsed() / 1e9);
    }
    return best;
}

// Music-like input: a few tones with a moving pitch and some noise, so that the
// encoder has real work to do.
bool makeWav(const QString& path, int seconds) {
    convert::WavWriter w;
    if (!w.open(path, 2, 44100)) return false;
    std::vector<int16_t> block(2 * 44100);
    unsigned noise = 1;
    for (int s = 0; s < seconds; ++s) {
        for (int i = 0; i < 44100; ++i) {
            const double t = s + i / 44100.0;
            noise = noise * 1103515245u + 12345u;
            const double v = 6000 * std::sin(2 * M_PI * (220 + 30 * std::sin(t)) * t) +
                             3000 * std::sin(2 * M_PI * 1760 * t) +
                             static_cast<int>((noise >> 16) & 0x7FF) - 1024;
            block[2 * i] = static_cast<int16_t>(v);
            block[2 * i + 1] = static_cast<int16_t>(0.8 * v);
        }
        if (!w.write(block.data(), 44100)) return false;
    }
    return w.commit().ok();
}

void report(const char* what, double seconds) {
    out.flush();
    BenchSupport::Report(what, seconds, 16, 1);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int seconds = 60;
    int runs = 3;
    QString work;
    cli::CommandLine line(
        QStringLiteral("encode_bench"),
        QStringLiteral("Time MP3 and WMA encoding against the lame and ffmpeg tools."),
        app.arguments().mid(1));
    line.app()
        .add_option("--seconds", seconds, "Length of the input")
        ->capture_default_str()
        ->check(CLI::PositiveNumber);
    BenchSupport::AddRunOptions(line, runs, work);
    QTextStream err(stderr);
    if (const std::optional<int> status = line.parse({out, err})) return *status;
    QTemporaryDir temp(BenchSupport::ScratchTemplate(work, QStringLiteral("encode_bench")));
    if (!temp.isValid()) return 1;
    const QString wav = temp.filePath(QStringLiteral("in.wav"));
    const QString mp3 = temp.filePath(QStringLiteral("out.mp3"));
    if (!makeWav(wav, seconds)) return 1;
    out << "input: " << seconds << " s\n";

    const QString lame = QStandardPaths::findExecutable(QStringLiteral("lame"));
    auto ours = [&](bool vbr) {
        return bestOf(runs, [&] {
            lameEncoder enc;
            if (vbr) {
                enc.SetVBRMode(true);
                enc.SetVBRQuality(2);
            } else {
                enc.SetEncPreset(4);
            }
            enc.SetInputFile(wav);
            enc.SetOutputFile(mp3);
            return enc.Encode();
        });
    };
    auto theirs = [&](const QStringList& mode) {
        return bestOf(runs, [&] {
            return QProcess::execute(lame, QStringList{QStringLiteral("--silent")} + mode +
                                               QStringList{wav, mp3}) == 0;
        });
    };
    const struct {
        const char* name;
        bool vbr;
        QStringList lameArgs;
    } cases[] = {{"CBR 128", false, {QStringLiteral("-b"), QStringLiteral("128")}},
                 {"VBR q2", true, {QStringLiteral("-V"), QStringLiteral("2")}}};
    for (const auto& c : cases) {
        const double mine = ours(c.vbr);
        report(c.name, mine);
        if (lame.isEmpty()) {
            out << "  lame not on the PATH: no comparison\n";
            continue;
        }
        const double tool = theirs(c.lameArgs);
        report("  lame", tool);
        out << "  ratio " << QString::number(tool / mine, 'f', 2) << "\n";
    }

    const QString wma = temp.filePath(QStringLiteral("out.wma"));
    const double mine = bestOf(runs, [&] {
        wmaEncoder enc;
        enc.SetEncPreset(4);
        enc.SetInputFile(wav);
        enc.SetOutputFile(wma);
        return enc.Encode();
    });
    report("WMA 128", mine);
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty()) {
        out << "  ffmpeg not on the PATH: no comparison\n";
        return 0;
    }
    const double tool = bestOf(runs, [&] {
        return QProcess::execute(ffmpeg, {QStringLiteral("-nostdin"), QStringLiteral("-y"),
                                          QStringLiteral("-loglevel"), QStringLiteral("error"),
                                          QStringLiteral("-i"), wav, QStringLiteral("-c:a"),
                                          QStringLiteral("wmav2"), QStringLiteral("-b:a"),
                                          QStringLiteral("128k"), wma}) == 0;
    });
    report("  ffmpeg", tool);
    out << "  ratio " << QString::number(tool / mine, 'f', 2) << "\n";
    return 0;
}
