#pragma once
// The places an audio CD can be found: the machine's CD drives and the CUE
// images that stand in for drives (virtual drives).
#include <QList>
#include <QString>
#include <QStringList>

namespace cd {

struct CdDrive {
    QString name;   // shown to the user: the device path, or the CUE file's name
    QString source; // what CdDisc::open takes
    bool image = false;
    QString discId; // of the disc it holds, so that a changed disc is noticed
    bool operator==(const CdDrive& other) const {
        return source == other.source && discId == other.discId;
    }
};

// The folder of CUE images that count as inserted discs: "cd-images" in the data folder.
QString DefaultImagesFolder();
// The CUE files of the setting CD-Rip\VirtualDrives (";"-separated), then the
// *.cue files of imagesFolder in name order; each file once.
QStringList VirtualImages(const QString& imagesFolder);
// The drives and virtual drives that hold a disc with at least one audio track:
// real drives first, then the images in the order of VirtualImages. A machine
// without drives simply contributes none.
QList<CdDrive> AudioCdDrives(const QString& imagesFolder);

} // namespace cd
