#pragma once
// Which new files are vanished files that were moved or renamed. A new file
// with the size and modification time of exactly one vanished file is that
// file. When several share size and time (a copy that did not keep times, a
// file system with 2-second times), the tie is broken by file name (the same
// name in another folder), then by the checksum of the first 64 KiB; what is
// left is matched only one to one and when the checksums do not disagree.
#include <QByteArrayView>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

struct MoveCandidate {
    QByteArrayView path; // text form; the name is what follows the last '/'
    qint64 size = 0;
    qint64 mtimeNs = 0;
    std::optional<qint64> headHash; // vanished rows: as stored (none in rows of older libraries)
};

// Pairs of (index in fresh, index in gone). hashOf(i) reads the HeadHash of
// fresh[i]; it is asked only for files of a tie.
std::vector<std::pair<size_t, size_t>>
MatchMoves(const std::vector<MoveCandidate>& fresh, const std::vector<MoveCandidate>& gone,
           const std::function<std::optional<qint64>(size_t)>& hashOf);
