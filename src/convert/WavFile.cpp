#include "convert/WavFile.h"
#include "core/FileNameCodec.h"

#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace convert {

namespace {

constexpr quint16 FormatPcm = 1;
constexpr quint16 FormatExtensible = 0xFFFE;

QByteArray header(int channels, int sampleRate, quint32 dataBytes) {
    QByteArray b(44, '\0');
    char* p = b.data();
    const quint32 blockAlign = static_cast<quint32>(channels) * 2;
    memcpy(p, "RIFF", 4);
    qToLittleEndian<quint32>(36 + dataBytes, p + 4);
    memcpy(p + 8, "WAVEfmt ", 8);
    qToLittleEndian<quint32>(16, p + 16);
    qToLittleEndian<quint16>(FormatPcm, p + 20);
    qToLittleEndian<quint16>(static_cast<quint16>(channels), p + 22);
    qToLittleEndian<quint32>(static_cast<quint32>(sampleRate), p + 24);
    qToLittleEndian<quint32>(static_cast<quint32>(sampleRate) * blockAlign, p + 28);
    qToLittleEndian<quint16>(static_cast<quint16>(blockAlign), p + 32);
    qToLittleEndian<quint16>(16, p + 34);
    memcpy(p + 36, "data", 4);
    qToLittleEndian<quint32>(dataBytes, p + 40);
    return b;
}

} // namespace

Status WavReader::open(const QString& path) {
    m_file.close();
    // Opened by its bytes, so that a name that is not UTF-8 opens too.
    const int fd = ::open(FileNameCodec::encode(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Status::failure(QStringLiteral("cannot open %1: %2")
                                   .arg(path, QString::fromLocal8Bit(strerror(errno))));
    if (!m_file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Status::failure(
            QStringLiteral("cannot open %1: %2").arg(path, m_file.errorString()));
    }
    const QByteArray riff = m_file.read(12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return Status::failure(QStringLiteral("%1 is not a WAV file").arg(path));
    bool haveFormat = false;
    while (true) {
        const QByteArray chunk = m_file.read(8);
        if (chunk.size() < 8)
            return Status::failure(QStringLiteral("%1 has no audio data").arg(path));
        const quint32 size = qFromLittleEndian<quint32>(chunk.constData() + 4);
        const QByteArray id = chunk.left(4);
        if (id == "fmt ") {
            const QByteArray fmt = m_file.read(size);
            if (size < 16 || fmt.size() < 16)
                return Status::failure(QStringLiteral("%1 has a broken format chunk").arg(path));
            const auto tag = qFromLittleEndian<quint16>(fmt.constData());
            m_channels = qFromLittleEndian<quint16>(fmt.constData() + 2);
            m_sampleRate = static_cast<int>(qFromLittleEndian<quint32>(fmt.constData() + 4));
            const auto bits = qFromLittleEndian<quint16>(fmt.constData() + 14);
            if ((tag != FormatPcm && tag != FormatExtensible) || bits != 16)
                return Status::failure(QStringLiteral("%1 is not 16-bit PCM audio").arg(path));
            if (m_channels < 1 || m_channels > 2 || m_sampleRate < 8000 || m_sampleRate > 192000)
                return Status::failure(
                    QStringLiteral("%1: unsupported channels or sample rate").arg(path));
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return Status::failure(QStringLiteral("%1 has data before its format").arg(path));
            // A writer that was cut off leaves a size larger than the file: read what is there.
            const qint64 present = m_file.size() - m_file.pos();
            m_left = qMin<qint64>(size, present) / (2 * m_channels);
            m_frames = m_left;
            return {};
        } else if (!m_file.seek(m_file.pos() + size + (size & 1))) {
            return Status::failure(QStringLiteral("%1 is cut short").arg(path));
        }
        if (size & 1 && id == "fmt ") m_file.read(1);
    }
}

qint64 WavReader::read(std::vector<int16_t>& samples, qint64 maxFrames) {
    const qint64 frames = qMin(maxFrames, m_left);
    samples.resize(static_cast<size_t>(frames * m_channels));
    if (frames == 0) return 0;
    const qint64 bytes = frames * m_channels * 2;
    if (m_file.read(reinterpret_cast<char*>(samples.data()), bytes) != bytes) return -1;
    if constexpr (Q_BYTE_ORDER == Q_BIG_ENDIAN)
        for (int16_t& s : samples)
            s = qFromLittleEndian(s);
    m_left -= frames;
    return frames;
}

Status WavWriter::open(const QString& path, int channels, int sampleRate) {
    m_file.setFileName(path);
    m_channels = channels;
    m_dataBytes = 0;
    if (!m_file.open(QIODevice::WriteOnly))
        return Status::failure(
            QStringLiteral("cannot write %1: %2").arg(path, m_file.errorString()));
    const QByteArray h = header(channels, sampleRate, 0);
    if (m_file.write(h) != h.size())
        return Status::failure(
            QStringLiteral("cannot write %1: %2").arg(path, m_file.errorString()));
    m_sampleRate = sampleRate;
    return {};
}

bool WavWriter::write(const int16_t* samples, qint64 frames) {
    const qint64 bytes = frames * m_channels * 2;
    if (m_dataBytes + bytes > 0xFFFFFFFFLL - 36) return false;
    if constexpr (Q_BYTE_ORDER == Q_BIG_ENDIAN) {
        std::vector<int16_t> le(samples, samples + frames * m_channels);
        for (int16_t& s : le)
            s = qToLittleEndian(s);
        if (m_file.write(reinterpret_cast<const char*>(le.data()), bytes) != bytes) return false;
    } else if (m_file.write(reinterpret_cast<const char*>(samples), bytes) != bytes) {
        return false;
    }
    m_dataBytes += bytes;
    return true;
}

Status WavWriter::commit() {
    const QByteArray h = header(m_channels, m_sampleRate, static_cast<quint32>(m_dataBytes));
    if (!m_file.seek(0) || m_file.write(h) != h.size() || !m_file.commit())
        return Status::failure(
            QStringLiteral("cannot write %1: %2").arg(m_file.fileName(), m_file.errorString()));
    return {};
}

} // namespace convert
