#include "cd/CDSniff.h"

CDSniff::CDSniff(const QString& imagesFolder, QObject* parent)
    : QObject(parent),
      m_imagesFolder(imagesFolder.isEmpty() ? cd::DefaultImagesFolder() : imagesFolder) {
    connect(&m_timer, &QTimer::timeout, this, &CDSniff::Poll);
}

bool CDSniff::StartWatching(int intervalMs) {
    if (m_timer.isActive()) return false;
    m_drives = cd::AudioCdDrives(m_imagesFolder);
    m_timer.start(intervalMs);
    return true;
}

void CDSniff::StopWatching() {
    m_timer.stop();
}

const QList<cd::CdDrive>& CDSniff::current() {
    if (!m_timer.isActive()) m_drives = cd::AudioCdDrives(m_imagesFolder);
    return m_drives;
}

int CDSniff::AudioCdCount() {
    return static_cast<int>(current().size());
}

QString CDSniff::AudioCdDrive(int index) {
    const QList<cd::CdDrive>& drives = current();
    return index >= 0 && index < drives.size() ? drives.at(index).name : QString();
}

QList<cd::CdDrive> CDSniff::AudioCds() {
    return current();
}

void CDSniff::Poll() {
    const QList<cd::CdDrive> now = cd::AudioCdDrives(m_imagesFolder);
    const QList<cd::CdDrive> before = std::exchange(m_drives, now);
    // A drive whose disc changed between two polls reports a removal and an insertion.
    for (const cd::CdDrive& drive : before)
        if (!now.contains(drive)) emit AudioCdOUT();
    for (const cd::CdDrive& drive : now)
        if (!before.contains(drive)) emit AudioCdIN();
}
