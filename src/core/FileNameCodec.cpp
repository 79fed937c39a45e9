#include "core/FileNameCodec.h"

#include <QStringDecoder>

namespace FileNameCodec {

namespace {

constexpr unsigned char kLead = 0xEE; // first byte of U+E000..U+EFFF in UTF-8

inline unsigned char at(QByteArrayView s, qsizetype i) {
    return static_cast<unsigned char>(s[i]);
}

inline bool cont(unsigned char b, unsigned char lo = 0x80, unsigned char hi = 0xBF) {
    return b >= lo && b <= hi;
}

// Length of the valid UTF-8 sequence at i (1 for ASCII), or 0 when the byte at i
// does not start one. *escape is set when the sequence is a literal U+EF80..U+EFFF.
qsizetype sequenceAt(QByteArrayView s, qsizetype i, bool* escape) {
    *escape = false;
    const unsigned char b = at(s, i);
    if (b < 0x80) return 1;
    const qsizetype left = s.size() - i;
    auto c = [&](qsizetype k, unsigned char lo = 0x80, unsigned char hi = 0xBF) {
        return k < left && cont(at(s, i + k), lo, hi);
    };
    if (b >= 0xC2 && b <= 0xDF) return c(1) ? 2 : 0;
    if (b == 0xE0) return c(1, 0xA0) && c(2) ? 3 : 0;
    if (b == 0xED) return c(1, 0x80, 0x9F) && c(2) ? 3 : 0;
    if (b >= 0xE1 && b <= 0xEF) {
        if (!(c(1) && c(2))) return 0;
        *escape = b == kLead && at(s, i + 1) >= 0xBE;
        return 3;
    }
    if (b == 0xF0) return c(1, 0x90) && c(2) && c(3) ? 4 : 0;
    if (b >= 0xF1 && b <= 0xF3) return c(1) && c(2) && c(3) ? 4 : 0;
    if (b == 0xF4) return c(1, 0x80, 0x8F) && c(2) && c(3) ? 4 : 0;
    return 0;
}

inline void appendEscaped(QByteArray& out, unsigned char b) {
    const unsigned cp = 0xEF00u + b;
    out.append(static_cast<char>(kLead));
    out.append(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.append(static_cast<char>(0x80 | (cp & 0x3F)));
}

inline bool isEscapeAt(QByteArrayView s, qsizetype i) {
    return i + 2 < s.size() && at(s, i) == kLead &&
           (at(s, i + 1) == 0xBE || at(s, i + 1) == 0xBF) && cont(at(s, i + 2));
}

} // namespace

bool rawNeedsMapping(QByteArrayView raw) {
    for (qsizetype i = 0; i < raw.size();) {
        if (at(raw, i) < 0x80) {
            ++i;
            continue;
        }
        bool escape = false;
        const qsizetype n = sequenceAt(raw, i, &escape);
        if (n == 0 || escape) return true;
        i += n;
    }
    return false;
}

bool utf8HasMappedBytes(QByteArrayView utf8) {
    for (qsizetype i = 0; i + 2 < utf8.size(); ++i)
        if (isEscapeAt(utf8, i)) return true;
    return false;
}

QByteArray rawToUtf8(QByteArrayView raw) {
    if (!rawNeedsMapping(raw)) return raw.toByteArray();
    QByteArray out;
    out.reserve(raw.size() * 3);
    for (qsizetype i = 0; i < raw.size();) {
        bool escape = false;
        const qsizetype n = sequenceAt(raw, i, &escape);
        if (n == 0) {
            appendEscaped(out, at(raw, i));
            ++i;
        } else if (escape) {
            for (qsizetype k = 0; k < n; ++k)
                appendEscaped(out, at(raw, i + k));
            i += n;
        } else {
            out.append(raw.sliced(i, n));
            i += n;
        }
    }
    return out;
}

QByteArray utf8ToRaw(QByteArrayView utf8) {
    if (!utf8HasMappedBytes(utf8)) return utf8.toByteArray();
    QByteArray out;
    out.reserve(utf8.size());
    for (qsizetype i = 0; i < utf8.size();) {
        if (isEscapeAt(utf8, i)) {
            const unsigned cp =
                0xE000u | ((at(utf8, i + 1) & 0x3Fu) << 6) | (at(utf8, i + 2) & 0x3Fu);
            out.append(static_cast<char>(cp - 0xEF00u));
            i += 3;
        } else {
            out.append(utf8[i]);
            ++i;
        }
    }
    return out;
}

QString decode(QByteArrayView raw) {
    // A name may begin with the bytes of a byte-order mark; QString::fromUtf8 would drop them.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return utf8(rawToUtf8(raw));
}

QByteArray encode(const QString& name) {
    return utf8ToRaw(name.toUtf8());
}

QString displayText(const QString& name) {
    QString shown = name;
    for (QChar& c : shown)
        if (c.unicode() >= 0xEF80 && c.unicode() <= 0xEFFF) c = QChar(0xFFFD);
    return shown;
}

QByteArray fileUrl(const QString& path) {
    return QByteArrayLiteral("file://") + encode(path).toPercentEncoding("/");
}

} // namespace FileNameCodec
