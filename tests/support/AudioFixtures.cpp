#include "support/AudioFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <taglib/asffile.h>

#include <cmath>
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

namespace fixtures {

namespace {

struct FormatCloser {
    void operator()(AVFormatContext* c) const {
        if (c && c->pb) avio_closep(&c->pb);
        avformat_free_context(c);
    }
};
struct CodecCloser {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameCloser {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketCloser {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};

bool drain(AVCodecContext* c, AVFormatContext* oc, AVStream* st, AVPacket* pkt) {
    for (;;) {
        const int r = avcodec_receive_packet(c, pkt);
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
        if (r < 0) return false;
        av_packet_rescale_ts(pkt, c->time_base, st->time_base);
        pkt->stream_index = st->index;
        if (av_interleaved_write_frame(oc, pkt) < 0) return false;
    }
}

bool encodeWma(const QString& path, double seconds, const WmaMetadata& metadata = {}) {
    const QByteArray local = QFile::encodeName(path);
    AVFormatContext* raw = nullptr;
    if (avformat_alloc_output_context2(&raw, nullptr, "asf", local.constData()) < 0) return false;
    std::unique_ptr<AVFormatContext, FormatCloser> oc(raw);
    for (const auto& [key, value] : metadata)
        av_dict_set(&oc->metadata, key.constData(), value.constData(), 0);
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_WMAV2);
    if (!codec) return false;
    AVStream* st = avformat_new_stream(oc.get(), nullptr);
    std::unique_ptr<AVCodecContext, CodecCloser> c(avcodec_alloc_context3(codec));
    c->sample_fmt = AV_SAMPLE_FMT_FLTP;
    c->sample_rate = 44100;
    av_channel_layout_default(&c->ch_layout, 2);
    c->bit_rate = 128000;
    c->time_base = {1, 44100};
    if (oc->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(c.get(), codec, nullptr) < 0) return false;
    if (avcodec_parameters_from_context(st->codecpar, c.get()) < 0) return false;
    st->time_base = c->time_base;
    if (avio_open(&oc->pb, local.constData(), AVIO_FLAG_WRITE) < 0) return false;
    if (avformat_write_header(oc.get(), nullptr) < 0) return false;
    std::unique_ptr<AVFrame, FrameCloser> frame(av_frame_alloc());
    frame->nb_samples = c->frame_size;
    frame->format = c->sample_fmt;
    frame->sample_rate = c->sample_rate;
    av_channel_layout_copy(&frame->ch_layout, &c->ch_layout);
    if (av_frame_get_buffer(frame.get(), 0) < 0) return false;
    std::unique_ptr<AVPacket, PacketCloser> pkt(av_packet_alloc());
    const long total = static_cast<long>(seconds * c->sample_rate);
    long done = 0;
    while (done < total) {
        av_frame_make_writable(frame.get());
        for (int ch = 0; ch < 2; ++ch) {
            auto* data = reinterpret_cast<float*>(frame->data[ch]);
            for (int i = 0; i < frame->nb_samples; ++i)
                data[i] =
                    0.3f * static_cast<float>(std::sin(2 * M_PI * 440.0 * (done + i) / 44100.0));
        }
        frame->pts = done;
        done += frame->nb_samples;
        if (avcodec_send_frame(c.get(), frame.get()) < 0 ||
            !drain(c.get(), oc.get(), st, pkt.get()))
            return false;
    }
    if (avcodec_send_frame(c.get(), nullptr) < 0 || !drain(c.get(), oc.get(), st, pkt.get()))
        return false;
    return av_write_trailer(oc.get()) == 0;
}

TagLib::String tl(const QString& s) {
    return TagLib::String(s.toStdString(), TagLib::String::UTF8);
}

} // namespace

const QByteArray& Mp3Audio() {
    static const QByteArray audio = corpus::EncodeMp3(0.5, 128, 2, 44100);
    return audio;
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteMp3(const QString& path, const TagFields& tags, bool withId3v1) {
    const bool any = !(tags.artist + tags.album + tags.title + tags.track + tags.year + tags.genre +
                       tags.comment)
                          .isEmpty();
    QByteArray bytes = any ? corpus::Id3v23(tags) : QByteArray();
    bytes += Mp3Audio();
    if (withId3v1) bytes += corpus::Id3v1(tags, 255);
    return WriteBytes(path, bytes);
}

bool WriteWma(const QString& path, const TagFields& tags) {
    QDir().mkpath(QFileInfo(path).path());
    if (!encodeWma(path, 0.5)) return false;
    TagLib::ASF::File f(QFile::encodeName(path).constData(), false);
    if (!f.isValid()) return false;
    TagLib::ASF::Tag* t = f.tag();
    if (!tags.artist.isEmpty()) t->setArtist(tl(tags.artist));
    if (!tags.title.isEmpty()) t->setTitle(tl(tags.title));
    if (!tags.album.isEmpty())
        t->setAttribute("WM/AlbumTitle", TagLib::ASF::Attribute(tl(tags.album)));
    if (!tags.year.isEmpty()) t->setAttribute("WM/Year", TagLib::ASF::Attribute(tl(tags.year)));
    if (!tags.track.isEmpty())
        t->setAttribute("WM/TrackNumber", TagLib::ASF::Attribute(tags.track.toUInt()));
    if (!tags.genre.isEmpty()) t->setAttribute("WM/Genre", TagLib::ASF::Attribute(tl(tags.genre)));
    return f.save();
}

bool WriteWmaByFFmpeg(const QString& path, const WmaMetadata& metadata) {
    QDir().mkpath(QFileInfo(path).path());
    return encodeWma(path, 0.5, metadata);
}

bool WriteWav(const QString& path, double seconds) {
    const quint32 rate = 44100, channels = 2, bits = 16;
    const quint32 frames = static_cast<quint32>(seconds * rate);
    const quint32 dataSize = frames * channels * bits / 8;
    QByteArray b;
    auto u32 = [&b](quint32 v) {
        for (int i = 0; i < 4; ++i)
            b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [&b](quint16 v) {
        b.append(static_cast<char>(v & 0xFF)).append(static_cast<char>(v >> 8));
    };
    b.append("RIFF");
    u32(36 + dataSize);
    b.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(channels);
    u32(rate);
    u32(rate * channels * bits / 8);
    u16(static_cast<quint16>(channels * bits / 8));
    u16(bits);
    b.append("data");
    u32(dataSize);
    for (quint32 i = 0; i < frames; ++i) {
        const auto s = static_cast<qint16>(8000 * std::sin(2 * M_PI * 440.0 * i / rate));
        for (quint32 c = 0; c < channels; ++c)
            u16(static_cast<quint16>(s));
    }
    return WriteBytes(path, b);
}

} // namespace fixtures
