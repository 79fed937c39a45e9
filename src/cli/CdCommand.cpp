#include "cli/CdCommand.h"

#include "cd/CdDrives.h"
#include "cd/clsRIP.h"

namespace qvr {

namespace {

int listCds(Io io) {
    const QList<cd::CdDrive> drives = cd::AudioCdDrives(cd::DefaultImagesFolder());
    for (int i = 0; i < drives.size(); ++i)
        io.out << (i + 1) << '\t' << drives.at(i).name << '\t' << drives.at(i).source << '\t'
               << drives.at(i).discId << '\n';
    if (drives.isEmpty()) io.err << "no audio CD in a drive or virtual drive\n";
    return 0;
}

// The disc of CD number, or a message and false.
bool readDisc(clsRIP& rip, int number, const char* command, Io io) {
    if (rip.ReadDisc(number)) return true;
    io.err << "qvr cd " << command << ": " << rip.LastError() << '\n';
    return false;
}

int showToc(int number, Io io) {
    clsRIP rip;
    if (!readDisc(rip, number, "toc", io)) return 1;
    for (int t = 1; t <= rip.TrackCount(); ++t)
        io.out << "track " << QStringLiteral("%1").arg(t, 2, 10, QLatin1Char('0')) << '\t'
               << rip.TrackLength(t) << '\n';
    io.out << "tracks\t" << rip.TrackCount() << '\n'
           << "length\t" << rip.DiscLength() << '\n'
           << "disc id\t" << rip.DiscId() << '\n'
           << "query\t" << rip.CddbQuery() << '\n';
    return 0;
}

int ripTrack(int number, int track, const QString& out, Io io) {
    clsRIP rip;
    if (!readDisc(rip, number, "rip", io)) return 1;
    if (track < 1 || track > rip.TrackCount()) {
        io.err << "qvr cd rip: the disc has no audio track " << track << " (it has "
               << rip.TrackCount() << ")\n";
        return 1;
    }
    int shown = -1;
    QObject::connect(&rip, &clsRIP::TrackProgress, [&io, &shown, track](int, float percent) {
        const int whole = static_cast<int>(percent);
        if (whole == shown) return;
        shown = whole;
        io.err << "\rripping track " << track << ' ' << whole << '%';
        io.err.flush();
    });
    const bool ok = rip.RipTrack(track, out);
    if (shown >= 0) io.err << '\n';
    if (!ok) {
        io.err << "qvr cd rip: " << rip.LastError() << '\n';
        return 1;
    }
    return 0;
}

} // namespace

void addCdCommand(CLI::App& qvr, Command& command) {
    CLI::App* cdGroup = qvr.add_subcommand("cd", "Audio CDs in the drives and virtual drives");
    cdGroup->require_subcommand(1);

    CLI::App* list = cdGroup->add_subcommand(
        "list", "The drives and CUE images holding an audio CD: number, name, source, disc id");
    list->callback([&command] { command.status = listCds(command.io); });

    auto number = std::make_shared<int>(0);
    CLI::App* toc = cdGroup->add_subcommand(
        "toc", "The tracks with their lengths, the disc length, disc id and CDDB query");
    toc->add_option("N", *number, "The CD's number from 'qvr cd list'")->required();
    toc->callback([&command, number] { command.status = showToc(*number, command.io); });

    struct RipOptions {
        int number = 0;
        int track = 0;
        QString out;
    };
    auto options = std::make_shared<RipOptions>();
    CLI::App* rip = cdGroup->add_subcommand("rip", "Rip one audio track to a WAV file");
    rip->add_option("N", options->number, "The CD's number from 'qvr cd list'")->required();
    rip->add_option("TRACK", options->track, "The audio track, from 1")->required();
    cli::addText(rip, "OUT", options->out, "The WAV file to write")
        ->required()
        ->check(command.line.path());
    rip->callback([&command, options] {
        command.status = ripTrack(options->number, options->track, options->out, command.io);
    });
}

} // namespace qvr
