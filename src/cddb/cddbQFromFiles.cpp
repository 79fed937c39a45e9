#include "cddb/cddbQFromFiles.h"

#include <QStringList>
#include <cmath>
#include <limits>

namespace {

int digitSum(qint32 value) {
    int sum = 0;
    for (; value > 0; value /= 10)
        sum += value % 10;
    return sum;
}

// "h:m:s" as seconds from midnight, or -1 when it is no time of day.
qint64 timeOfDay(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 3) return -1;
    const int limits[3] = {24, 60, 60};
    qint64 seconds = 0;
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const int v = parts.at(i).trimmed().toInt(&ok);
        if (!ok || v < 0 || v >= limits[i]) return -1;
        seconds = seconds * 60 + v;
    }
    return seconds;
}

} // namespace

void cddbQFromFiles::Reset() {
    m_count = 0;
    m_total = 0;
}

qint64 cddbQFromFiles::Seconds(const QVariant& duration) {
    const QString text = duration.toString().trimmed();
    bool numeric = false;
    const double value = text.toDouble(&numeric);
    if (numeric && std::isfinite(value)) {
        // rint rounds halves to even in the default rounding mode.
        const double whole = std::rint(value);
        if (whole > double(std::numeric_limits<qint64>::max() / 2) || whole < 0) return -1;
        return static_cast<qint64>(whole);
    }
    if (!text.contains(QLatin1Char(':'))) return -1;
    return timeOfDay(text.count(QLatin1Char(':')) == 1 ? QStringLiteral("00:") + text : text);
}

Status cddbQFromFiles::AddTrack(const QVariant& duration, bool noGap) {
    const qint64 seconds = Seconds(duration);
    if (seconds < 0 || m_count >= MaxTracks) return {};
    const qint64 start = m_total + (noGap ? 0 : GapSeconds);
    const qint64 end = start + seconds;
    // Frame offsets (seconds x 75) must stay 32-bit numbers too.
    if (end > std::numeric_limits<qint32>::max() / FramesPerSecond)
        return Status::failure(QStringLiteral("the tracks are too long for one disc"));
    m_lengths[m_count] = static_cast<qint32>(seconds);
    m_starts[m_count] = static_cast<qint32>(start);
    m_total = static_cast<qint32>(end);
    ++m_count;
    return {};
}

QString cddbQFromFiles::DiscId() const {
    if (m_count == 0) return QString();
    quint32 n = 0;
    for (int i = 0; i < m_count; ++i)
        n += static_cast<quint32>(digitSum(m_starts[i]));
    const quint32 t = static_cast<quint32>(m_total - m_starts[0]);
    const quint32 id = ((n % 255) << 24) | (t << 8) | static_cast<quint32>(m_count);
    return QString::number(id, 16).toUpper();
}

QString cddbQFromFiles::QueryCommand() const {
    if (m_count == 0) return QString();
    QString command =
        QStringLiteral("cddb query ") + DiscId() + QLatin1Char(' ') + QString::number(m_count);
    for (int i = 0; i < m_count; ++i)
        command += QLatin1Char(' ') + QString::number(m_starts[i] * FramesPerSecond);
    return command + QLatin1Char(' ') + QString::number(m_total);
}
