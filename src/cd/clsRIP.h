#pragma once
// Reads the table of contents of the disc in a drive (or virtual drive) and
// rips its audio tracks to WAV files. Created per use.
#include "cd/CdDisc.h"
#include "cd/CdDrives.h"

#include <QObject>
#include <QString>

#include <atomic>

class clsRIP : public QObject {
    Q_OBJECT
public:
    explicit clsRIP(QObject* parent = nullptr);
    ~clsRIP() override;

    // Where virtual drives are looked for (default: cd::DefaultImagesFolder()).
    void setImagesFolder(const QString& folder) { m_imagesFolder = folder; }

    // Loads the table of contents of CD number drive (1-based, in the order of
    // the CD watcher's list).
    bool ReadDisc(int drive);
    // The same for a drive or image given directly.
    bool ReadDrive(const cd::CdDrive& drive);

    // Audio tracks, numbered 1..TrackCount in disc order (data tracks are skipped).
    int TrackCount() const;
    // "m:ss", whole seconds rounded down; "" for no such track.
    QString TrackLength(int track) const;
    QString DiscLength() const;
    // The freedb id, 8 hexadecimal digits; "" without a disc.
    QString DiscId() const;
    QString CddbQuery() const;
    const cd::CdToc& toc() const { return m_disc.toc(); }

    // Rips audio track track into a 16-bit stereo 44.1 kHz WAV file, every sample
    // as the disc holds it. A failed or aborted rip leaves wavPath as it was.
    bool RipTrack(int track, const QString& wavPath);
    // Ends a running RipTrack early (from its progress handler or another thread).
    void AbortRip();
    // Why the last ReadDisc or RipTrack failed.
    QString LastError() const { return m_error; }

signals:
    void TrackStart(int track);
    void TrackProgress(int track, float percent);
    void TrackComplete(int track, bool success);

private:
    Status rip(int track, const QString& wavPath);
    cd::CdDisc m_disc;
    QString m_imagesFolder;
    QString m_error;
    std::atomic<bool> m_abort{false};
};
