#include "components/HeadHash.h"

#include <QByteArray>

#include <zlib.h>

#include <fcntl.h>
#include <unistd.h>

namespace HeadHash {

qint64 of(QByteArrayView head) {
    const qsizetype n = std::min(head.size(), kBytes);
    return static_cast<qint64>(
        ::crc32(0, reinterpret_cast<const Bytef*>(head.data()), static_cast<uInt>(n)));
}

std::optional<qint64> ofFile(const char* rawPath) {
    const int fd = ::open(rawPath, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    QByteArray buffer(kBytes, Qt::Uninitialized);
    qsizetype have = 0;
    while (have < kBytes) {
        const ssize_t r = ::pread(fd, buffer.data() + have, static_cast<size_t>(kBytes - have),
                                  static_cast<off_t>(have));
        if (r < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (r == 0) break;
        have += r;
    }
    ::close(fd);
    return of(QByteArrayView(buffer).first(have));
}

} // namespace HeadHash
