#include "support/CdImage.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

namespace fixtures {

namespace {

constexpr int SectorBytes = 2352;
constexpr int SectorFrames = 588;

QString msf(int32_t sector) {
    return QStringLiteral("%1:%2:%3")
        .arg(sector / (75 * 60), 2, 10, QLatin1Char('0'))
        .arg(sector / 75 % 60, 2, 10, QLatin1Char('0'))
        .arg(sector % 75, 2, 10, QLatin1Char('0'));
}

uint8_t bcd(int value) {
    return static_cast<uint8_t>((value / 10) << 4 | (value % 10));
}

// A MODE1 sector: sync pattern, address and mode; the user data stays empty.
QByteArray dataSector(int32_t sector) {
    QByteArray bytes(SectorBytes, '\0');
    for (int i = 1; i <= 10; ++i)
        bytes[i] = static_cast<char>(0xFF);
    const int32_t lba = sector + 150;
    bytes[12] = static_cast<char>(bcd(lba / (75 * 60)));
    bytes[13] = static_cast<char>(bcd(lba / 75 % 60));
    bytes[14] = static_cast<char>(bcd(lba % 75));
    bytes[15] = 1;
    return bytes;
}

} // namespace

CdImage WriteCdImage(const QString& folder, const QString& name, const QList<int64_t>& audioFrames,
                     int dataSectors, uint32_t seed, bool bigEndian) {
    CdImage image;
    QDir().mkpath(folder);
    image.cuePath = QDir(folder).filePath(name + QStringLiteral(".cue"));
    image.binPath = QDir(folder).filePath(name + QStringLiteral(".bin"));
    QFile bin(image.binPath);
    if (!bin.open(QIODevice::WriteOnly)) return image;
    QString cue = QStringLiteral("FILE \"%1.bin\" %2\r\n")
                      .arg(name, bigEndian ? QStringLiteral("MOTOROLA") : QStringLiteral("BINARY"));
    int number = 0;
    int32_t at = 0;

    if (dataSectors > 0) {
        CdImageTrack data;
        data.audio = false;
        data.startSector = at;
        data.sectors = dataSectors;
        for (int32_t s = 0; s < dataSectors; ++s)
            bin.write(dataSector(at + s));
        cue += QStringLiteral("  TRACK %1 MODE1/2352\r\n    INDEX 01 %2\r\n")
                   .arg(++number, 2, 10, QLatin1Char('0'))
                   .arg(msf(at));
        at += dataSectors;
        image.tracks.append(std::move(data));
    }

    uint32_t state = seed;
    for (const int64_t frames : audioFrames) {
        CdImageTrack track;
        track.frames = frames;
        track.startSector = at;
        track.sectors = static_cast<int32_t>((frames + SectorFrames - 1) / SectorFrames);
        track.samples.assign(static_cast<size_t>(track.sectors) * SectorFrames * 2, 0);
        for (int64_t i = 0; i < frames * 2; ++i) {
            state = state * 1664525u + 1013904223u;
            track.samples[static_cast<size_t>(i)] = static_cast<int16_t>(state >> 16);
        }
        std::vector<int16_t> stored(track.samples.size());
        const auto n = static_cast<qsizetype>(stored.size());
        if (bigEndian)
            qToBigEndian<int16_t>(track.samples.data(), n, stored.data());
        else
            qToLittleEndian<int16_t>(track.samples.data(), n, stored.data());
        bin.write(reinterpret_cast<const char*>(stored.data()),
                  static_cast<qint64>(stored.size() * sizeof(int16_t)));
        cue += QStringLiteral("  TRACK %1 AUDIO\r\n    INDEX 01 %2\r\n")
                   .arg(++number, 2, 10, QLatin1Char('0'))
                   .arg(msf(at));
        at += track.sectors;
        image.tracks.append(std::move(track));
    }
    image.totalSectors = at;
    bin.close();

    QFile cueFile(image.cuePath);
    if (cueFile.open(QIODevice::WriteOnly)) cueFile.write(cue.toUtf8());
    return image;
}

} // namespace fixtures
