#include "cd/CdDisc.h"

#include <QFile>
#include <QRegularExpression>
#include <QtEndian>

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <mutex>

namespace cd {

namespace {

// libcdio reads the BIN as it is stored whatever byte order the CUE sheet
// declares for it, so a MOTOROLA (big-endian) file is turned around here.
bool declaresBigEndian(const QString& cuePath) {
    QFile cue(cuePath);
    if (!cue.open(QIODevice::ReadOnly)) return false;
    static const QRegularExpression motorola(QStringLiteral("^\\s*FILE\\s.*\\sMOTOROLA\\s*$"),
                                             QRegularExpression::CaseInsensitiveOption |
                                                 QRegularExpression::MultilineOption);
    return motorola.match(QString::fromLatin1(cue.read(64 * 1024))).hasMatch();
}

} // namespace

struct CdDisc::Handles {
    CdIo_t* cdio = nullptr;
    cdrom_drive_t* drive = nullptr;
    cdrom_paranoia_t* paranoia = nullptr;
    int32_t nextLsn = -1; // where paranoia stands, to seek only on a jump

    ~Handles() {
        if (paranoia) cdio_paranoia_free(paranoia);
        // The drive object owns the libcdio handle once it was made from it.
        if (drive)
            cdio_cddap_close(drive);
        else if (cdio)
            cdio_destroy(cdio);
    }
};

void QuietLibcdio() {
    static std::once_flag once;
    std::call_once(once, [] { cdio_log_set_handler([](cdio_log_level_t, const char*) {}); });
}

CdDisc::CdDisc() = default;
CdDisc::~CdDisc() = default;

bool CdDisc::isOpen() const {
    return m_handles && m_handles->cdio;
}

void CdDisc::close() {
    m_handles.reset();
    m_toc = CdToc();
}

Status CdDisc::open(const QString& source, bool image) {
    QuietLibcdio();
    close();
    m_image = image;
    m_bigEndian = image && declaresBigEndian(source);
    const QByteArray name = QFile::encodeName(source);
    auto handles = std::make_unique<Handles>();
    handles->cdio =
        image ? cdio_open_cue(name.constData()) : cdio_open(name.constData(), DRIVER_DEVICE);
    if (!handles->cdio) return Status::failure(QStringLiteral("cannot open %1").arg(source));

    CdToc toc;
    const track_t first = cdio_get_first_track_num(handles->cdio);
    const track_t count = cdio_get_num_tracks(handles->cdio);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0)
        return Status::failure(QStringLiteral("no disc in %1").arg(source));
    for (track_t i = first; i < first + count; ++i) {
        const lba_t lba = cdio_get_track_lba(handles->cdio, i);
        if (lba == CDIO_INVALID_LBA)
            return Status::failure(
                QStringLiteral("unreadable table of contents in %1").arg(source));
        toc.tracks.append({i, lba, cdio_get_track_format(handles->cdio, i) == TRACK_FORMAT_AUDIO});
    }
    toc.leadoutLba = cdio_get_track_lba(handles->cdio, CDIO_CDROM_LEADOUT_TRACK);
    if (toc.leadoutLba == CDIO_INVALID_LBA || toc.leadoutLba <= toc.tracks.last().lba)
        return Status::failure(QStringLiteral("unreadable table of contents in %1").arg(source));
    m_toc = std::move(toc);
    m_handles = std::move(handles);
    return Status();
}

Status CdDisc::readAudio(int32_t lba, int count, std::vector<int16_t>& samples) {
    if (!isOpen()) return Status::failure(QStringLiteral("no disc open"));
    const int32_t lsn = lba - LeadInSectors;
    samples.resize(static_cast<size_t>(count) * BytesPerSector / 2);
    if (m_image) {
        // libcdio hands over the stored bytes: little-endian for a "BINARY" file.
        if (cdio_read_audio_sectors(m_handles->cdio, samples.data(), lsn,
                                    static_cast<uint32_t>(count)) != DRIVER_OP_SUCCESS)
            return Status::failure(
                QStringLiteral("cannot read sectors %1-%2").arg(lba).arg(lba + count - 1));
        const auto n = static_cast<qsizetype>(samples.size());
        if (m_bigEndian)
            qFromBigEndian<int16_t>(samples.data(), n, samples.data());
        else
            qFromLittleEndian<int16_t>(samples.data(), n, samples.data());
        return Status();
    }

    Handles& h = *m_handles;
    if (!h.paranoia) {
        h.drive = cdio_cddap_identify_cdio(h.cdio, CDDA_MESSAGE_FORGETIT, nullptr);
        if (!h.drive || cdio_cddap_open(h.drive) != 0)
            return Status::failure(QStringLiteral("the drive cannot read audio"));
        h.paranoia = cdio_paranoia_init(h.drive);
        if (!h.paranoia) return Status::failure(QStringLiteral("the drive cannot read audio"));
        cdio_paranoia_modeset(h.paranoia, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
    }
    if (h.nextLsn != lsn) {
        cdio_paranoia_seek(h.paranoia, lsn, SEEK_SET);
        h.nextLsn = lsn;
    }
    for (int i = 0; i < count; ++i) {
        const int16_t* sector = cdio_paranoia_read(h.paranoia, nullptr);
        if (!sector) {
            h.nextLsn = -1;
            return Status::failure(QStringLiteral("cannot read sector %1").arg(lba + i));
        }
        std::copy(sector, sector + BytesPerSector / 2,
                  samples.begin() + static_cast<qsizetype>(i) * (BytesPerSector / 2));
        ++h.nextLsn;
    }
    return Status();
}

} // namespace cd
