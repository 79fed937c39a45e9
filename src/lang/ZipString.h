#pragma once
// zlib for byte arrays, strings and whole files. Strings travel as their
// Windows-1252 bytes, and compressed bytes come back one character per byte.
// The zlib parameter is zlib's window-bits argument: 31 is gzip framing (what
// the language files use), 8..15 the zlib format, -8..-15 raw deflate; inflate
// also takes 0 and 32+ as zlib defines them.
#include <QByteArray>
#include <QString>

class clsZipString {
public:
    // Decompressed data larger than this is refused (a decompression bomb).
    static constexpr qsizetype MaxOutput = 64 * 1024 * 1024;

    static quint32 GetAdler32(const QString& text);
    static quint32 GetCRC32(const QString& text);

    // Each returns false and leaves its argument as it was on failure or when it
    // is empty.
    static bool CompressStringB(QByteArray& data, int zlibParam);
    static bool CompressString(QString& text, int zlibParam);
    static bool UncompressStringB(QByteArray& data, int zlibParam);
    static bool UncompressString(QString& text, int zlibParam);

    // mode: 0 none, 1 compress, anything else decompress. A file that cannot be
    // read gives an empty result.
    static QByteArray LoadFileB(const QString& path, int mode, int zlibParam);
    static QString LoadFile(const QString& path, int mode, int zlibParam);
    // Replaces the file atomically; success tells whether it was written.
    static void SaveFileB(const QString& path, const QByteArray& data, int mode, int zlibParam,
                          bool& success);
    static void SaveFile(const QString& path, const QString& text, int mode, int zlibParam,
                         bool& success);
};
