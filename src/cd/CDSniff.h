#pragma once
// Watches the drives and virtual drives for audio CDs by polling them, and
// reports discs that come and go. One instance lives as long as the main window.
#include "cd/CdDrives.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

class CDSniff : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultPollMs = 2000;

    // imagesFolder: the folder of virtual drives (default: cd::DefaultImagesFolder()).
    explicit CDSniff(const QString& imagesFolder = QString(), QObject* parent = nullptr);
    // The folder of virtual drives in use.
    QString ImagesFolder() const { return m_imagesFolder; }

    // Takes the current discs as they are (no events for them) and polls from
    // then on. False when already watching.
    bool StartWatching(int intervalMs = DefaultPollMs);
    void StopWatching();
    bool IsWatching() const { return m_timer.isActive(); }

    // While watching, the discs of the last poll; otherwise a fresh look.
    int AudioCdCount();
    // The name of CD index (0-based); "" outside the range.
    QString AudioCdDrive(int index);
    QList<cd::CdDrive> AudioCds();

    // One poll now: the events for every disc inserted or removed since the last.
    void Poll();

signals:
    void AudioCdIN();
    void AudioCdOUT();

private:
    const QList<cd::CdDrive>& current();
    QString m_imagesFolder;
    QTimer m_timer;
    QList<cd::CdDrive> m_drives;
};
