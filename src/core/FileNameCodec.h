#pragma once
// File names on Linux are bytes; the library stores them as text. Names that are
// valid UTF-8 map to themselves. Every other byte of a name (a byte that is not part
// of a valid UTF-8 sequence, and the bytes of a literal U+EF80..U+EFFF) is kept as
// the private-use character U+EF00 + byte, so that any name survives the trip to
// text and back unchanged. Use these instead of QFile::encodeName/decodeName for
// paths of library files: Qt replaces invalid bytes with U+FFFD, which cannot be
// turned back into the name.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace FileNameCodec {

// Raw name bytes -> text.
QString decode(QByteArrayView raw);
// Text -> raw name bytes (the inverse of decode for every byte string).
QByteArray encode(const QString& name);

// The same mapping on UTF-8 bytes, for loops that never build a QString:
// raw bytes -> the UTF-8 form of decode(raw), and back.
QByteArray rawToUtf8(QByteArrayView raw);
QByteArray utf8ToRaw(QByteArrayView utf8);

// True when rawToUtf8(raw) differs from raw (the name needs the mapping).
bool rawNeedsMapping(QByteArrayView raw);
// True when utf8ToRaw(utf8) differs from utf8.
bool utf8HasMappedBytes(QByteArrayView utf8);

// The name as a person should see it: each byte that is not UTF-8 shows as the
// replacement character U+FFFD (the stored text keeps the bytes).
QString displayText(const QString& name);

// A file:// URL text for a stored path, with the raw bytes percent-encoded, so that a
// desktop handler opens the very file even when its name is not UTF-8.
QByteArray fileUrl(const QString& path);

} // namespace FileNameCodec
