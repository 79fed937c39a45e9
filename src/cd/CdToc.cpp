#include "cd/CdToc.h"

namespace cd {

namespace {

int digitSum(int value) {
    int sum = 0;
    for (; value > 0; value /= 10)
        sum += value % 10;
    return sum;
}

} // namespace

int CdToc::audioCount() const {
    int count = 0;
    for (const Track& t : tracks)
        count += t.audio ? 1 : 0;
    return count;
}

int CdToc::indexOfAudio(int n) const {
    if (n < 1) return -1;
    for (int i = 0; i < tracks.size(); ++i) {
        if (!tracks.at(i).audio) continue;
        if (--n == 0) return i;
    }
    return -1;
}

int32_t CdToc::sectorsOf(int index) const {
    if (index < 0 || index >= tracks.size()) return 0;
    const int32_t end = index + 1 < tracks.size() ? tracks.at(index + 1).lba : leadoutLba;
    return end - tracks.at(index).lba;
}

uint32_t CdToc::freedbId() const {
    if (tracks.isEmpty()) return 0;
    int n = 0;
    for (const Track& t : tracks)
        n += digitSum(t.lba / SectorsPerSecond);
    const uint32_t seconds = static_cast<uint32_t>(leadoutLba / SectorsPerSecond -
                                                   tracks.first().lba / SectorsPerSecond);
    return (static_cast<uint32_t>(n % 255) << 24) | (seconds << 8) |
           static_cast<uint32_t>(tracks.size());
}

QString CdToc::discIdText() const {
    return QStringLiteral("%1").arg(freedbId(), 8, 16, QLatin1Char('0'));
}

QString CdToc::cddbQuery() const {
    if (tracks.isEmpty()) return QString();
    QString query = QStringLiteral("cddb query ") + discIdText() + QLatin1Char(' ') +
                    QString::number(tracks.size());
    for (const Track& t : tracks)
        query += QLatin1Char(' ') + QString::number(t.lba);
    return query + QLatin1Char(' ') + QString::number(leadoutLba / SectorsPerSecond);
}

int CdToc::discSeconds() const {
    if (tracks.isEmpty()) return 0;
    return (leadoutLba - tracks.first().lba) / SectorsPerSecond;
}

QString LengthText(int seconds) {
    if (seconds < 0) seconds = 0;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace cd
