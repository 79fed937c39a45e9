#include "components/MoveMatcher.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>

namespace {

using Key = QPair<qint64, qint64>; // size, modification time
using Pairs = std::vector<std::pair<size_t, size_t>>;

QByteArrayView nameOf(QByteArrayView path) {
    return path.sliced(path.lastIndexOf('/') + 1);
}

// Pairs the members of a tie whose key (when they have one) is unique on both
// sides, and takes them out of the tie.
template <typename K, typename FreshKey, typename GoneKey>
void pairUnique(QList<size_t>& fresh, QList<size_t>& gone, FreshKey freshKey, GoneKey goneKey,
                Pairs& out) {
    QHash<K, int> goneCount;
    QHash<K, size_t> goneAt;
    for (size_t g : gone)
        if (const std::optional<K> k = goneKey(g)) {
            ++goneCount[*k];
            goneAt.insert(*k, g);
        }
    if (goneCount.isEmpty()) return;
    std::vector<std::optional<K>> keys;
    QHash<K, int> freshCount;
    for (size_t f : fresh) {
        keys.push_back(freshKey(f));
        if (keys.back()) ++freshCount[*keys.back()];
    }
    QList<size_t> freshLeft;
    QSet<size_t> taken;
    for (qsizetype i = 0; i < fresh.size(); ++i) {
        const std::optional<K>& k = keys[static_cast<size_t>(i)];
        if (k && freshCount.value(*k) == 1 && goneCount.value(*k) == 1) {
            out.emplace_back(fresh[i], goneAt.value(*k));
            taken.insert(goneAt.value(*k));
        } else {
            freshLeft.append(fresh[i]);
        }
    }
    fresh.swap(freshLeft);
    gone.removeIf([&taken](size_t g) { return taken.contains(g); });
}

} // namespace

std::vector<std::pair<size_t, size_t>>
MatchMoves(const std::vector<MoveCandidate>& fresh, const std::vector<MoveCandidate>& gone,
           const std::function<std::optional<qint64>(size_t)>& hashOf) {
    Pairs out;
    if (fresh.empty() || gone.empty()) return out;
    QHash<Key, QList<size_t>> goneBy;
    for (size_t g = 0; g < gone.size(); ++g)
        goneBy[{gone[g].size, gone[g].mtimeNs}].append(g);
    QHash<Key, QList<size_t>> freshBy;
    for (size_t f = 0; f < fresh.size(); ++f) {
        const Key key{fresh[f].size, fresh[f].mtimeNs};
        if (goneBy.contains(key)) freshBy[key].append(f);
    }
    std::vector<std::optional<std::optional<qint64>>> freshHash(fresh.size());
    auto freshHashOf = [&](size_t f) {
        if (!freshHash[f]) freshHash[f] = hashOf(f);
        return *freshHash[f];
    };
    for (auto it = freshBy.begin(); it != freshBy.end(); ++it) {
        QList<size_t>& n = it.value();
        QList<size_t> g = goneBy.value(it.key());
        if (n.size() > 1 || g.size() > 1) {
            using Name = std::optional<QByteArray>;
            pairUnique<QByteArray>(
                n, g, [&](size_t f) { return Name(nameOf(fresh[f].path).toByteArray()); },
                [&](size_t i) { return Name(nameOf(gone[i].path).toByteArray()); }, out);
            using Hash = std::optional<qint64>;
            pairUnique<qint64>(
                n, g, [&](size_t f) -> Hash { return freshHashOf(f); },
                [&](size_t i) -> Hash { return gone[i].headHash; }, out);
        }
        if (n.size() != 1 || g.size() != 1) continue;
        // One of each is left: the same file, unless the checksums (read for a tie) disagree.
        const std::optional<qint64>& was = gone[g.front()].headHash;
        const std::optional<std::optional<qint64>>& is = freshHash[n.front()];
        if (was && is && *is && **is != *was) continue;
        out.emplace_back(n.front(), g.front());
    }
    return out;
}
