#pragma once
// A checksum of the first 64 KiB of a file. Each row keeps the one of its file,
// so that a file that moved can be told apart from others of the same size and
// time after its old path is gone. CRC-32 (zlib) is enough: it only has to
// separate files that already share size and modification time.
#include <QByteArrayView>

#include <optional>

namespace HeadHash {

inline constexpr qsizetype kBytes = 64 * 1024;

// The checksum of the first kBytes of the bytes (all of them when fewer).
qint64 of(QByteArrayView head);
// Reads the start of the file at the raw path; nothing when it cannot be read.
std::optional<qint64> ofFile(const char* rawPath);

} // namespace HeadHash
