#include "lang/ZipString.h"

#include "core/Ansi.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <memory>
#include <zlib.h>

namespace {

struct DeflateStream {
    z_stream s{};
    bool ready = false;
    ~DeflateStream() {
        if (ready) deflateEnd(&s);
    }
};

struct InflateStream {
    z_stream s{};
    bool ready = false;
    ~InflateStream() {
        if (ready) inflateEnd(&s);
    }
};

void adjustMode(QByteArray& bytes, int mode, int zlibParam) {
    if (mode == 1)
        clsZipString::CompressStringB(bytes, zlibParam);
    else if (mode != 0)
        clsZipString::UncompressStringB(bytes, zlibParam);
}

} // namespace

quint32 clsZipString::GetAdler32(const QString& text) {
    const QByteArray bytes = Ansi::fromUnicode(text);
    return adler32(adler32(0, nullptr, 0), reinterpret_cast<const Bytef*>(bytes.constData()),
                   static_cast<uInt>(bytes.size()));
}

quint32 clsZipString::GetCRC32(const QString& text) {
    const QByteArray bytes = Ansi::fromUnicode(text);
    return crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(bytes.constData()),
                 static_cast<uInt>(bytes.size()));
}

bool clsZipString::CompressStringB(QByteArray& data, int zlibParam) {
    if (data.isEmpty()) return false;
    DeflateStream z;
    if (deflateInit2(&z.s, Z_DEFAULT_COMPRESSION, Z_DEFLATED, zlibParam, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK)
        return false;
    z.ready = true;
    QByteArray out(static_cast<qsizetype>(deflateBound(&z.s, static_cast<uLong>(data.size()))) + 1,
                   Qt::Uninitialized);
    z.s.next_in = reinterpret_cast<Bytef*>(data.data());
    z.s.avail_in = static_cast<uInt>(data.size());
    z.s.next_out = reinterpret_cast<Bytef*>(out.data());
    z.s.avail_out = static_cast<uInt>(out.size());
    if (deflate(&z.s, Z_FINISH) != Z_STREAM_END) return false;
    out.truncate(static_cast<qsizetype>(z.s.total_out));
    data = out;
    return true;
}

bool clsZipString::UncompressStringB(QByteArray& data, int zlibParam) {
    const qsizetype n = data.size();
    if (n == 0) return false;
    // First guess of the output size: the gzip trailer's length field, else three
    // times the input. A wrong guess grows the buffer and inflation carries on.
    qsizetype estimate = 0;
    if (zlibParam == 31 && n >= 4) {
        const auto* tail = reinterpret_cast<const uchar*>(data.constData()) + n - 4;
        estimate = static_cast<qsizetype>(tail[0] | tail[1] << 8 | tail[2] << 16 |
                                          static_cast<quint32>(tail[3]) << 24);
    }
    if (estimate <= 0) estimate = 3 * n;
    estimate = std::min(estimate, MaxOutput);

    InflateStream z;
    if (inflateInit2(&z.s, zlibParam) != Z_OK) return false;
    z.ready = true;
    QByteArray out(estimate, Qt::Uninitialized);
    z.s.next_in = reinterpret_cast<Bytef*>(data.data());
    z.s.avail_in = static_cast<uInt>(n);
    for (;;) {
        z.s.next_out = reinterpret_cast<Bytef*>(out.data()) + z.s.total_out;
        z.s.avail_out = static_cast<uInt>(out.size() - static_cast<qsizetype>(z.s.total_out));
        const int rc = inflate(&z.s, Z_NO_FLUSH);
        if (rc == Z_STREAM_END) break;
        if (rc != Z_OK && rc != Z_BUF_ERROR) return false; // corrupt data
        if (z.s.avail_in == 0 && z.s.avail_out > 0)
            return false; // truncated: input ended before the stream did
        if (z.s.avail_out == 0) {
            if (out.size() >= MaxOutput) return false;
            out.resize(std::min(out.size() * 2, MaxOutput));
        }
    }
    out.truncate(static_cast<qsizetype>(z.s.total_out));
    data = out;
    return true;
}

bool clsZipString::CompressString(QString& text, int zlibParam) {
    QByteArray bytes = Ansi::fromUnicode(text);
    if (!CompressStringB(bytes, zlibParam)) return false;
    text = Ansi::toUnicode(bytes);
    return true;
}

bool clsZipString::UncompressString(QString& text, int zlibParam) {
    QByteArray bytes = Ansi::fromUnicode(text);
    if (!UncompressStringB(bytes, zlibParam)) return false;
    text = Ansi::toUnicode(bytes);
    return true;
}

QByteArray clsZipString::LoadFileB(const QString& path, int mode, int zlibParam) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArray();
    QByteArray bytes = file.readAll();
    adjustMode(bytes, mode, zlibParam);
    return bytes;
}

QString clsZipString::LoadFile(const QString& path, int mode, int zlibParam) {
    return Ansi::toUnicode(LoadFileB(path, mode, zlibParam));
}

void clsZipString::SaveFileB(const QString& path, const QByteArray& data, int mode, int zlibParam,
                             bool& success) {
    success = false;
    QByteArray bytes = data;
    adjustMode(bytes, mode, zlibParam);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    if (file.write(bytes) != bytes.size()) return;
    success = file.commit();
}

void clsZipString::SaveFile(const QString& path, const QString& text, int mode, int zlibParam,
                            bool& success) {
    SaveFileB(path, Ansi::fromUnicode(text), mode, zlibParam, success);
}
