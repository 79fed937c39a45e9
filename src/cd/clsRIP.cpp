#include "cd/clsRIP.h"

#include "convert/WavFile.h"

#include <vector>

namespace {

// Sectors read at a time: one second of audio, between two progress reports.
constexpr int ChunkSectors = cd::SectorsPerSecond;

} // namespace

clsRIP::clsRIP(QObject* parent) : QObject(parent), m_imagesFolder(cd::DefaultImagesFolder()) {}

clsRIP::~clsRIP() = default;

bool clsRIP::ReadDisc(int drive) {
    const QList<cd::CdDrive> drives = cd::AudioCdDrives(m_imagesFolder);
    if (drive < 1 || drive > drives.size()) {
        m_disc.close();
        m_error = QStringLiteral("there is no audio CD number %1").arg(drive);
        return false;
    }
    return ReadDrive(drives.at(drive - 1));
}

bool clsRIP::ReadDrive(const cd::CdDrive& drive) {
    const Status opened = m_disc.open(drive.source, drive.image);
    m_error = opened.error();
    return opened.ok();
}

int clsRIP::TrackCount() const {
    return m_disc.isOpen() ? toc().audioCount() : 0;
}

QString clsRIP::TrackLength(int track) const {
    const int index = toc().indexOfAudio(track);
    if (!m_disc.isOpen() || index < 0) return QString();
    return cd::LengthText(toc().sectorsOf(index) / cd::SectorsPerSecond);
}

QString clsRIP::DiscLength() const {
    return m_disc.isOpen() ? cd::LengthText(toc().discSeconds()) : QString();
}

QString clsRIP::DiscId() const {
    return m_disc.isOpen() ? toc().discIdText() : QString();
}

QString clsRIP::CddbQuery() const {
    return m_disc.isOpen() ? toc().cddbQuery() : QString();
}

void clsRIP::AbortRip() {
    m_abort = true;
}

bool clsRIP::RipTrack(int track, const QString& wavPath) {
    m_abort = false;
    emit TrackStart(track);
    const Status ripped = rip(track, wavPath);
    m_error = ripped.error();
    emit TrackComplete(track, ripped.ok());
    return ripped.ok();
}

Status clsRIP::rip(int track, const QString& wavPath) {
    const int index = toc().indexOfAudio(track);
    if (!m_disc.isOpen() || index < 0)
        return Status::failure(QStringLiteral("there is no audio track %1").arg(track));
    const int32_t start = toc().tracks.at(index).lba;
    const int32_t total = toc().sectorsOf(index);

    convert::WavWriter wav;
    if (Status opened = wav.open(wavPath, 2, 44100); !opened) return opened;
    std::vector<int16_t> samples;
    for (int32_t done = 0; done < total;) {
        if (m_abort) return Status::failure(QStringLiteral("the rip was aborted"));
        const int count = std::min<int32_t>(ChunkSectors, total - done);
        if (Status read = m_disc.readAudio(start + done, count, samples); !read) return read;
        if (!wav.write(samples.data(), static_cast<qint64>(count) * cd::FramesPerSector))
            return Status::failure(QStringLiteral("cannot write %1").arg(wavPath));
        done += count;
        emit TrackProgress(track, 100.0f * static_cast<float>(done) / static_cast<float>(total));
    }
    // An abort asked for during the last report still counts.
    if (m_abort) return Status::failure(QStringLiteral("the rip was aborted"));
    return wav.commit();
}
