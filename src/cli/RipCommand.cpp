#include "cli/RipCommand.h"

#include "cd/RipJob.h"
#include "cd/clsRIP.h"
#include "convert/EncoderConfig.h"
#include "core/Settings.h"

#include <QDir>
#include <QStandardPaths>

namespace qvr {

namespace {

struct RipOptions {
    int number = 0;
    QString tracks;
    QString format;
    QString pattern;
    QString to;
    bool subfolder = false;
    QString artist;
    QString album;
    QString year;
    QString genre;
    QStringList titles; // N=TEXT
};

// A stored setting, or the default when it is empty (nothing is written).
QString setting(const char* key, const QString& fallback) {
    const QString value = mainMod::ReadSetting(QLatin1String(key));
    return value.isEmpty() ? fallback : value;
}

int formatNumber(const QString& name) {
    const QStringList names{"mp3", "wma", "wav"};
    return names.indexOf(name.toLower());
}

// "1,3,5" -> the numbers; false for anything else or a track the disc lacks.
bool parseTracks(const QString& text, int count, QList<int>& tracks, Io io) {
    if (text.isEmpty()) {
        for (int t = 1; t <= count; ++t)
            tracks << t;
        return true;
    }
    for (const QString& part : text.split(QLatin1Char(','))) {
        bool ok = false;
        const int t = part.trimmed().toInt(&ok);
        if (!ok || t < 1 || t > count) {
            io.err << "qvr rip: the disc has no audio track " << part.trimmed() << " (it has "
                   << count << ")\n";
            return false;
        }
        tracks << t;
    }
    return true;
}

const char* stateWord(int state) {
    switch (state) {
    case RipJob::Ripping:
        return "ripping";
    case RipJob::Encoding:
        return "ripped, encoding";
    case RipJob::Done:
        return "done";
    case RipJob::Failed:
        return "failed";
    default:
        return "waiting";
    }
}

int rip(const RipOptions& options, Io io) {
    int format = cd::RipMp3;
    if (!options.format.isEmpty()) {
        format = formatNumber(options.format);
        if (format < 0) {
            io.err << "qvr rip: --format is mp3, wma or wav\n";
            return 2;
        }
    } else {
        format = setting("CD-Rip\\Output Format", QStringLiteral("0")).toInt();
        if (format < cd::RipMp3 || format > cd::RipWav) format = cd::RipMp3;
    }

    clsRIP disc;
    if (!disc.ReadDisc(options.number)) {
        io.err << "qvr rip: " << disc.LastError() << '\n';
        return 1;
    }
    QList<int> numbers;
    if (!parseTracks(options.tracks, disc.TrackCount(), numbers, io)) return 1;

    cd::RipPlanInput in;
    in.folder = options.to.isEmpty()
                    ? setting("CD-Rip\\Last Rip Location",
                              QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                    : QDir(options.to).absolutePath();
    in.subfolder = options.subfolder;
    in.pattern = options.pattern.isEmpty()
                     ? setting("CD-Rip\\FileName Format", QLatin1String(cd::DefaultRipPattern))
                     : options.pattern;
    in.format = format;
    in.artist = options.artist;
    in.album = options.album;
    in.year = options.year;
    for (const int t : numbers)
        in.tracks << cd::RipPlanTrack{t, QStringLiteral("Track %1").arg(t)};
    for (const QString& given : options.titles) {
        const int eq = given.indexOf(QLatin1Char('='));
        bool ok = false;
        const int t = eq > 0 ? given.left(eq).toInt(&ok) : 0;
        if (!ok) {
            io.err << "qvr rip: --title takes N=TEXT, not \"" << given << "\"\n";
            return 2;
        }
        for (cd::RipPlanTrack& track : in.tracks)
            if (track.number == t) track.title = given.mid(eq + 1).trimmed();
    }

    const QList<cd::RipTarget> plan = cd::BuildRipPlan(in);
    if (!cd::RipPlanUsable(plan)) {
        io.err << "qvr rip: these files cannot be written, nothing was ripped:\n";
        for (const cd::RipTarget& target : plan) {
            if (target.check == cd::RipTarget::Exists)
                io.err << "  " << target.path() << ": the file already exists\n";
            else if (target.check == cd::RipTarget::NoName)
                io.err << "  " << target.path() << ": the file name is empty (give a title)\n";
            else if (target.check == cd::RipTarget::SameName)
                io.err << "  " << target.path() << ": two tracks get the same file name\n";
        }
        return 1;
    }

    RipJob::Setup setup;
    setup.drive = options.number;
    setup.format = format;
    setup.targets = plan;
    setup.album = options.album;
    setup.artist = options.artist;
    setup.year = options.year;
    setup.genre = options.genre;
    setup.encoding = convert::StoredEncoderSettings();
    RipJob job(setup);
    // The job never runs two handlers at once, so the stream needs no lock.
    QObject::connect(&job, &RipJob::entryChanged, [&](int index, int state) {
        io.err << '[' << (index + 1) << '/' << plan.size() << "] " << plan.at(index).name << ": "
               << stateWord(state);
        if (state == RipJob::Failed) io.err << " (" << job.entryError(index) << ')';
        io.err << '\n';
        io.err.flush();
        if (state == RipJob::Done) io.out << plan.at(index).path() << '\n';
    });
    QObject::connect(&job, &RipJob::overallProgress, [&](int done, int total) {
        io.err << "overall " << (total > 0 ? done * 100 / total : 100) << "%\n";
        io.err.flush();
    });
    const RipJob::Outcome outcome = job.run();
    if (outcome == RipJob::NoTempFile || outcome == RipJob::NoDisc) {
        io.err << "qvr rip: " << job.lastError() << '\n';
        return 1;
    }
    for (int i = 0; i < plan.size(); ++i)
        if (!job.entryError(i).isEmpty()) return 1;
    return 0;
}

} // namespace

void addRipCommand(CLI::App& qvr, Command& command) {
    auto options = std::make_shared<RipOptions>();
    CLI::App* r = qvr.add_subcommand(
        "rip", "Rip an audio CD's tracks to MP3, WMA or WAV files named from a pattern");
    r->add_option("N", options->number, "The CD's number from 'qvr cd list'")->required();
    cli::addText(r, "--tracks", options->tracks, "The tracks to rip, e.g. 1,3 (default: all)");
    cli::addText(r, "--format", options->format,
                 "mp3, wma or wav (default: the setting CD-Rip\\Output Format)");
    cli::addText(r, "--pattern", options->pattern,
                 "File names from %N number, %T title, %A artist, %B album, %Y year");
    cli::addText(r, "--to", options->to, "The output folder (default: the last rip location)")
        ->check(command.line.path());
    r->add_flag("--subfolder", options->subfolder,
                "Write into a subfolder named after artist and album");
    cli::addText(r, "--artist", options->artist, "The disc's artist");
    cli::addText(r, "--album", options->album, "The disc's album");
    cli::addText(r, "--year", options->year, "The disc's year");
    cli::addText(r, "--genre", options->genre, "The disc's genre");
    cli::addTexts(r, "--title", options->titles, "A track's title as N=TEXT (default: Track N)");
    r->callback([&command, options] { command.status = rip(*options, command.io); });
}

} // namespace qvr
