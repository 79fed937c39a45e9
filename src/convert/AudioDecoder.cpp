#include "convert/AudioDecoder.h"

#include "convert/FFmpegPtr.h"
#include "convert/WavFile.h"
#include "core/FileNameCodec.h"
#include "core/PathHelpers.h"

#include <QFile>

extern "C" {
#include <libavutil/channel_layout.h>
}

#include <vector>

using namespace convert;

namespace {

bool isWma(AVCodecID id) {
    return id == AV_CODEC_ID_WMAV1 || id == AV_CODEC_ID_WMAV2 || id == AV_CODEC_ID_WMAPRO ||
           id == AV_CODEC_ID_WMALOSSLESS || id == AV_CODEC_ID_WMAVOICE;
}

} // namespace

bool AudioDecoder::Mp3DecoderAvailable() const {
    return avcodec_find_decoder(AV_CODEC_ID_MP3) && av_find_input_format("mp3");
}

bool AudioDecoder::WmaDecoderAvailable() const {
    return avcodec_find_decoder(AV_CODEC_ID_WMAV2) && avcodec_find_decoder(AV_CODEC_ID_WMAV1) &&
           av_find_input_format("asf");
}

bool AudioDecoder::DecodeMp3ToWav(const QString& source, const QString& wavPath, int) {
    return decode(Kind::Mp3, source, wavPath);
}

bool AudioDecoder::DecodeWmaToWav(const QString& source, const QString& wavPath, int) {
    return decode(Kind::Wma, source, wavPath);
}

bool AudioDecoder::decode(Kind kind, const QString& source, const QString& wavPath) {
    m_error.clear();
    auto fail = [this](const QString& message) {
        m_error = message;
        return false;
    };
    // Library paths keep names that are not UTF-8; FFmpeg takes the bytes.
    const QByteArray name = FileNameCodec::encode(source);
    if (!mainMod::FileExists(source)) return fail(QStringLiteral("%1 does not exist").arg(source));

    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, name.constData(), nullptr, nullptr) < 0)
        return fail(QStringLiteral("cannot read %1").arg(source));
    std::unique_ptr<AVFormatContext, FormatCloser> format(raw);
    if (avformat_find_stream_info(format.get(), nullptr) < 0)
        return fail(QStringLiteral("cannot read %1").arg(source));
    const AVCodec* codec = nullptr;
    const int stream = av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (stream < 0 || !codec) return fail(QStringLiteral("%1 holds no audio").arg(source));
    const AVCodecParameters* par = format->streams[stream]->codecpar;
    const bool right = kind == Kind::Mp3 ? par->codec_id == AV_CODEC_ID_MP3 : isWma(par->codec_id);
    if (!right)
        return fail(
            QStringLiteral("%1 is not %2 audio")
                .arg(source, kind == Kind::Mp3 ? QStringLiteral("MP3") : QStringLiteral("WMA")));

    std::unique_ptr<AVCodecContext, CodecFreer> dec(avcodec_alloc_context3(codec));
    if (!dec || avcodec_parameters_to_context(dec.get(), par) < 0 ||
        avcodec_open2(dec.get(), codec, nullptr) < 0)
        return fail(QStringLiteral("cannot decode %1").arg(source));
    if (dec->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&dec->ch_layout, dec->ch_layout.nb_channels);
    const int channels = dec->ch_layout.nb_channels >= 2 ? 2 : 1;
    const int rate = dec->sample_rate;
    if (channels < 1 || rate <= 0) return fail(QStringLiteral("cannot decode %1").arg(source));

    AVChannelLayout outLayout;
    av_channel_layout_default(&outLayout, channels);
    SwrContext* swrRaw = nullptr;
    if (swr_alloc_set_opts2(&swrRaw, &outLayout, AV_SAMPLE_FMT_S16, rate, &dec->ch_layout,
                            dec->sample_fmt, rate, 0, nullptr) < 0 ||
        swr_init(swrRaw) < 0) {
        swr_free(&swrRaw);
        return fail(QStringLiteral("cannot convert the samples of %1").arg(source));
    }
    std::unique_ptr<SwrContext, SwrFreer> swr(swrRaw);

    convert::WavWriter wav;
    if (Status s = wav.open(wavPath, channels, rate); !s) return fail(s.error());

    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
    std::vector<int16_t> pcm;
    bool writeFailed = false;
    auto drain = [&]() {
        while (avcodec_receive_frame(dec.get(), frame.get()) >= 0) {
            const int room = swr_get_out_samples(swr.get(), frame->nb_samples);
            pcm.resize(static_cast<size_t>(room * channels));
            auto* out = reinterpret_cast<uint8_t*>(pcm.data());
            const int got =
                swr_convert(swr.get(), &out, room,
                            const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
            if (got < 0 || !wav.write(pcm.data(), got)) writeFailed = true;
            av_frame_unref(frame.get());
        }
    };
    while (!writeFailed && av_read_frame(format.get(), packet.get()) >= 0) {
        // A packet the decoder refuses is skipped, as players do.
        if (packet->stream_index == stream) avcodec_send_packet(dec.get(), packet.get());
        av_packet_unref(packet.get());
        drain();
    }
    avcodec_send_packet(dec.get(), nullptr);
    drain();
    // What the resampler still holds.
    const int rest = swr_get_out_samples(swr.get(), 0);
    if (rest > 0) {
        pcm.resize(static_cast<size_t>(rest * channels));
        auto* out = reinterpret_cast<uint8_t*>(pcm.data());
        const int got = swr_convert(swr.get(), &out, rest, nullptr, 0);
        if (got > 0 && !wav.write(pcm.data(), got)) writeFailed = true;
    }
    if (writeFailed) return fail(QStringLiteral("cannot write %1").arg(wavPath));
    if (wav.dataBytes() == 0)
        return fail(QStringLiteral("no audio could be decoded from %1").arg(source));
    if (Status s = wav.commit(); !s) return fail(s.error());
    return true;
}
