#include "cd/CdDrives.h"

#include "cd/CdDisc.h"
#include "core/LibraryPaths.h"
#include "core/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <cdio/cdio.h>

namespace cd {

namespace {

QStringList realDrives() {
    QuietLibcdio();
    QStringList devices;
    char** list = cdio_get_devices(DRIVER_DEVICE);
    if (!list) return devices; // no drives: no list at all
    for (char** d = list; *d; ++d)
        devices.append(QFile::decodeName(*d));
    cdio_free_device_list(list);
    return devices;
}

// The drive when it holds a disc with audio on it.
bool holdsAudio(CdDrive& drive) {
    CdDisc disc;
    if (!disc.open(drive.source, drive.image).ok() || disc.toc().audioCount() == 0) return false;
    drive.discId = disc.toc().discIdText();
    return true;
}

} // namespace

QString DefaultImagesFolder() {
    return mainMod::DataFolder() + QStringLiteral("cd-images");
}

QStringList VirtualImages(const QString& imagesFolder) {
    QStringList images;
    QSet<QString> seen;
    auto add = [&](const QString& path) {
        const QFileInfo info(path);
        if (!info.isFile()) return;
        const QString key = info.canonicalFilePath();
        if (seen.contains(key)) return;
        seen.insert(key);
        images.append(info.absoluteFilePath());
    };
    const QString listed = mainMod::ReadSetting(QStringLiteral("CD-Rip\\VirtualDrives"));
    for (const QString& path : listed.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        add(path.trimmed());
    if (!imagesFolder.isEmpty()) {
        const QDir folder(imagesFolder);
        for (const QString& name : folder.entryList({QStringLiteral("*.cue")}, QDir::Files,
                                                    QDir::Name | QDir::IgnoreCase))
            add(folder.filePath(name));
    }
    return images;
}

QList<CdDrive> AudioCdDrives(const QString& imagesFolder) {
    QList<CdDrive> drives;
    for (const QString& device : realDrives()) {
        CdDrive drive{device, device, false, {}};
        if (holdsAudio(drive)) drives.append(drive);
    }
    for (const QString& cue : VirtualImages(imagesFolder)) {
        CdDrive drive{QFileInfo(cue).fileName(), cue, true, {}};
        if (holdsAudio(drive)) drives.append(drive);
    }
    return drives;
}

} // namespace cd
