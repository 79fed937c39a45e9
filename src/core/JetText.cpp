#include "core/JetText.h"

#include <QChar>
#include <QString>

#include <array>
#include <memory>
#include <vector>

namespace JetText {

namespace {

struct Tables {
    std::unique_ptr<char16_t[]> folded{new char16_t[0x10000]};
    std::unique_ptr<char16_t[]> based{new char16_t[0x10000]};
    Tables() {
        for (char32_t c = 0; c < 0x10000; ++c) {
            const char16_t f = QChar(static_cast<char16_t>(c)).toCaseFolded().unicode();
            folded[c] = f;
            char16_t b = f;
            const QChar qf(f);
            if (qf.decompositionTag() == QChar::Canonical) {
                const QString d = qf.decomposition();
                if (!d.isEmpty() && !d.at(0).isSurrogate())
                    b = QChar(d.at(0)).toCaseFolded().unicode();
                // A decomposition may start with another decomposable letter (ǖ).
                const QChar qb(b);
                if (qb.decompositionTag() == QChar::Canonical) {
                    const QString d2 = qb.decomposition();
                    if (!d2.isEmpty() && !d2.at(0).isSurrogate()) b = d2.at(0).unicode();
                }
            }
            based[c] = b;
        }
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

} // namespace

char32_t fold(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return c < 0x10000 ? tables().folded[c] : c;
}

char32_t base(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return c < 0x10000 ? tables().based[c] : c;
}

int compare(QByteArrayView a, QByteArrayView b) {
    auto pa = reinterpret_cast<const unsigned char*>(a.data());
    auto pb = reinterpret_cast<const unsigned char*>(b.data());
    const auto ea = pa + a.size();
    const auto eb = pb + b.size();
    int secondary = 0;
    while (pa < ea && pb < eb) {
        const unsigned char ca = *pa, cb = *pb;
        if (ca < 0x80 && cb < 0x80) {
            ++pa;
            ++pb;
            if (ca == cb) continue;
            const int la = (ca >= 'A' && ca <= 'Z') ? ca + 32 : ca;
            const int lb = (cb >= 'A' && cb <= 'Z') ? cb + 32 : cb;
            if (la != lb) return la < lb ? -1 : 1;
            continue;
        }
        const char32_t xa = decodeUtf8(pa, ea);
        const char32_t xb = decodeUtf8(pb, eb);
        if (xa == xb) continue;
        const char32_t ba = base(xa), bb = base(xb);
        if (ba != bb) return ba < bb ? -1 : 1;
        if (secondary == 0) {
            const char32_t fa = fold(xa), fb = fold(xb);
            if (fa != fb) secondary = fa < fb ? -1 : 1;
        }
    }
    if (pa < ea) return 1;
    if (pb < eb) return -1;
    return secondary;
}

int compareNoCase(QByteArrayView a, QByteArrayView b) {
    auto pa = reinterpret_cast<const unsigned char*>(a.data());
    auto pb = reinterpret_cast<const unsigned char*>(b.data());
    const auto ea = pa + a.size();
    const auto eb = pb + b.size();
    while (pa < ea && pb < eb) {
        const char32_t fa = fold(decodeUtf8(pa, ea));
        const char32_t fb = fold(decodeUtf8(pb, eb));
        if (fa != fb) return fa < fb ? -1 : 1;
    }
    if (pa < ea) return 1;
    if (pb < eb) return -1;
    return 0;
}

namespace {

// A decoded, folded sequence with a small inline buffer.
class Folded {
public:
    explicit Folded(QByteArrayView text) {
        auto p = reinterpret_cast<const unsigned char*>(text.data());
        const auto e = p + text.size();
        if (text.size() > static_cast<qsizetype>(m_inline.size()))
            m_heap.reserve(static_cast<size_t>(text.size()));
        while (p < e)
            push(decodeUtf8(p, e));
    }
    const char32_t* data() const { return m_heap.empty() ? m_inline.data() : m_heap.data(); }
    size_t size() const { return m_size; }
    // Raw (unfolded) values are kept for escape and class syntax; folding is done by the caller.
private:
    void push(char32_t c) {
        if (m_size < m_inline.size() && m_heap.empty()) {
            m_inline[m_size++] = c;
            return;
        }
        if (m_heap.empty())
            m_heap.assign(m_inline.begin(), m_inline.begin() + static_cast<long>(m_size));
        m_heap.push_back(c);
        ++m_size;
    }
    std::array<char32_t, 256> m_inline; // filled up to m_size
    std::vector<char32_t> m_heap;
    size_t m_size = 0;
};

// Matches one class "[...]" starting after "[" at p; returns true when c matches and
// sets next to the position after "]". An unterminated class is no class.
bool matchClass(const char32_t* p, const char32_t* end, char32_t c, const char32_t*& next,
                bool& isClass) {
    isClass = false;
    const char32_t* q = p;
    bool negate = false;
    if (q < end && *q == '!') {
        negate = true;
        ++q;
    }
    const char32_t* start = q;
    // "]" right after "[" or "[!" is a literal member.
    if (q < end && *q == ']') ++q;
    while (q < end && *q != ']')
        ++q;
    if (q >= end) return false;
    isClass = true;
    next = q + 1;
    bool hit = false;
    const char32_t fc = fold(c);
    for (const char32_t* r = start; r < q; ++r) {
        if (r + 2 < q && r[1] == '-') {
            const char32_t lo = fold(r[0]), hi = fold(r[2]);
            if (fc >= lo && fc <= hi) hit = true;
            r += 2;
        } else if (fold(*r) == fc) {
            hit = true;
        }
    }
    return hit != negate;
}

bool matchFrom(const char32_t* p, const char32_t* pe, const char32_t* t, const char32_t* te,
               char32_t escape) {
    // Iterative wildcard matching with backtracking to the last "%".
    const char32_t* starP = nullptr;
    const char32_t* starT = nullptr;
    while (t < te) {
        if (p < pe) {
            const char32_t pc = *p;
            if (escape && pc == escape && p + 1 < pe) {
                if (fold(p[1]) == fold(*t)) {
                    p += 2;
                    ++t;
                    continue;
                }
            } else if (pc == '%') {
                while (p < pe && *p == '%')
                    ++p;
                if (p == pe) return true;
                starP = p;
                starT = t;
                continue;
            } else if (pc == '_') {
                ++p;
                ++t;
                continue;
            } else if (pc == '[') {
                const char32_t* next = nullptr;
                bool isClass = false;
                const bool hit = matchClass(p + 1, pe, *t, next, isClass);
                if (isClass) {
                    if (hit) {
                        p = next;
                        ++t;
                        continue;
                    }
                } else if (fold(pc) == fold(*t)) {
                    ++p;
                    ++t;
                    continue;
                }
            } else if (pc == *t || fold(pc) == fold(*t)) {
                ++p;
                ++t;
                continue;
            }
        }
        if (!starP) return false;
        p = starP;
        t = ++starT;
    }
    while (p < pe && *p == '%')
        ++p;
    return p == pe;
}

} // namespace

namespace {

inline char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

// Case-insensitive search of an ASCII needle in UTF-8 bytes; -1 when absent.
qsizetype findAscii(QByteArrayView hay, qsizetype from, QByteArrayView needle) {
    const qsizetype n = needle.size();
    if (n == 0) return from;
    const char first = lowerAscii(needle[0]);
    for (qsizetype i = from; i + n <= hay.size(); ++i) {
        if (lowerAscii(hay[i]) != first) continue;
        qsizetype k = 1;
        while (k < n && lowerAscii(hay[i + k]) == lowerAscii(needle[k]))
            ++k;
        if (k == n) return i;
    }
    return -1;
}

// Patterns made of ASCII text and "%" only (the quick search's) are matched on
// the bytes, without decoding: an ASCII letter matches only itself in either case.
bool likeAsciiSegments(QByteArrayView pattern, QByteArrayView text, bool& handled) {
    handled = false;
    for (char c : pattern)
        if (static_cast<unsigned char>(c) >= 0x80 || c == '_' || c == '[') return false;
    handled = true;
    qsizetype pos = 0;
    qsizetype i = 0;
    const qsizetype n = pattern.size();
    bool anchored = true; // the first segment must start at the beginning
    while (i <= n) {
        qsizetype j = pattern.indexOf('%', i);
        if (j < 0) j = n;
        const QByteArrayView seg = pattern.sliced(i, j - i);
        const bool last = j == n;
        if (anchored && last) // no "%" at all: whole text
            return text.size() - pos == seg.size() && findAscii(text, pos, seg) == pos;
        if (last) { // the last segment must end the text
            const qsizetype at = text.size() - seg.size();
            return at >= pos && findAscii(text, at, seg) == at;
        }
        if (anchored) {
            if (findAscii(text, pos, seg) != pos || text.size() - pos < seg.size()) return false;
            pos += seg.size();
        } else if (!seg.isEmpty()) {
            const qsizetype at = findAscii(text, pos, seg);
            if (at < 0) return false;
            pos = at + seg.size();
        }
        anchored = false;
        i = j + 1;
    }
    return true;
}

bool isAscii(QByteArrayView text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// True when the pattern needs a letter that no ASCII text holds: a literal that
// stays outside ASCII after case folding ("é", not the Kelvin sign), with no
// character class that could offer an alternative.
bool needsNonAscii(QByteArrayView pattern) {
    if (pattern.contains('[')) return false;
    auto p = reinterpret_cast<const unsigned char*>(pattern.data());
    const auto e = p + pattern.size();
    while (p < e)
        if (fold(decodeUtf8(p, e)) >= 0x80) return true;
    return false;
}

} // namespace

bool like(QByteArrayView pattern, QByteArrayView text, char32_t escape) {
    if (escape == 0) {
        bool handled = false;
        const bool hit = likeAsciiSegments(pattern, text, handled);
        if (handled) return hit;
        // Most tags are plain ASCII: an accented search word cannot be in them.
        if (isAscii(text) && needsNonAscii(pattern)) return false;
    }
    const Folded p(pattern);
    const Folded t(text);
    return matchFrom(p.data(), p.data() + p.size(), t.data(), t.data() + t.size(), escape);
}

} // namespace JetText
