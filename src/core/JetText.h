#pragma once
// Text comparison as the Jet engine does it: letters compare without regard to
// case (accented letters too); accents still distinguish, but a letter sorts
// next to its unaccented form ("Edith" < "Édith" < "Ediths").
#include <QByteArrayView>
#include <cstdint>

namespace JetText {

// Simple case folding of one code point ("É" -> "é").
char32_t fold(char32_t c);
// The folded letter without its accent ("É" -> "e"), used as the primary sort key.
char32_t base(char32_t c);

// Decodes one UTF-8 sequence at p (p < end), advancing p. Invalid bytes decode as
// themselves (Latin-1), so no input is ever rejected.
inline char32_t decodeUtf8(const unsigned char*& p, const unsigned char* end) {
    const unsigned char c = *p++;
    if (c < 0x80) return c;
    int extra = 0;
    char32_t cp = 0;
    if ((c & 0xE0) == 0xC0) {
        extra = 1;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
        cp = c & 0x07;
    } else {
        return c;
    }
    if (end - p < extra) return c;
    for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80) return c;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    p += extra;
    return cp;
}

// Collation order of two UTF-8 texts: <0, 0 or >0. Equal means equal after case folding.
int compare(QByteArrayView a, QByteArrayView b);
// Case-insensitive (accent-sensitive) equality order, without the accent-first ordering.
int compareNoCase(QByteArrayView a, QByteArrayView b);

// Jet LIKE: "%" any run, "_" one character, "[abc]", "[a-z]", "[!abc]" classes,
// an optional escape character; letters match without regard to case.
bool like(QByteArrayView pattern, QByteArrayView text, char32_t escape = 0);

} // namespace JetText
