#include "convert/WmaEncoder.h"

#include "convert/FFmpegPtr.h"
#include "core/FileNameCodec.h"
#include "core/PathHelpers.h"

#include <QFile>
#include <QSaveFile>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/mem.h>
}

#include <array>
#include <vector>

using namespace convert;

namespace {

constexpr int CustomPreset = -1;
constexpr std::array<int, 8> CbrRates = {48, 64, 96, 128, 160, 192, 256, 320}; // 1..8
constexpr std::array<int, 6> VbrRates = {48, 64, 96, 128, 160, 192};           // 9..14
constexpr std::array<int, 5> QualityRates = {64, 96, 128, 160, 192};           // 15..19
constexpr int FirstVbr = 9;
constexpr int FirstQuality = 15;
constexpr int IoBufferSize = 1 << 16;

// FFmpeg writes the ASF stream through QSaveFile, so that the target is
// replaced only once everything (header rewritten at the end included) is on disk.
#if LIBAVFORMAT_VERSION_MAJOR >= 61
int writeOut(void* opaque, const uint8_t* buf, int size) {
#else
int writeOut(void* opaque, uint8_t* buf, int size) {
#endif
    auto* file = static_cast<QSaveFile*>(opaque);
    return file->write(reinterpret_cast<const char*>(buf), size) == size ? size : AVERROR(EIO);
}

int64_t seekOut(void* opaque, int64_t offset, int whence) {
    auto* file = static_cast<QSaveFile*>(opaque);
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return file->size();
    case SEEK_SET:
        break;
    case SEEK_CUR:
        offset += file->pos();
        break;
    case SEEK_END:
        offset += file->size();
        break;
    default:
        return AVERROR(EINVAL);
    }
    return file->seek(offset) ? offset : AVERROR(EIO);
}

struct IoCloser {
    void operator()(AVIOContext* io) const {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
};
struct OutputFreer {
    void operator()(AVFormatContext* c) const { avformat_free_context(c); }
};

// The rate wmav2 is given: the wanted one, else the input's within what the
// codec takes.
int outputRate(int wanted, int input) {
    if (wanted > 0) return wanted;
    if (input > 48000) return 44100;
    return qMax(input, 8000);
}

} // namespace

wmaEncoder::wmaEncoder(QObject* parent) : AudioEncoder(4, 3, parent) {}

bool wmaEncoder::PresetChoice(int preset, Choice& choice) {
    if (preset >= 1 && preset < FirstVbr) {
        choice = {false, CbrRates[static_cast<size_t>(preset - 1)]};
        return true;
    }
    if (preset >= FirstVbr && preset < FirstQuality) {
        choice = {true, VbrRates[static_cast<size_t>(preset - FirstVbr)]};
        return true;
    }
    if (preset >= FirstQuality && preset < FirstQuality + int(QualityRates.size())) {
        choice = {true, QualityBitrate(preset - FirstQuality)};
        return true;
    }
    return false;
}

int wmaEncoder::QualityBitrate(int quality) {
    return QualityRates[static_cast<size_t>(qBound(0, quality, int(QualityRates.size()) - 1))];
}

bool wmaEncoder::acceptsPreset(int preset) const {
    Choice unused;
    return preset == CustomPreset || PresetChoice(preset, unused);
}

bool wmaEncoder::encode() {
    Choice choice{VBRMode(), VBRMode() ? QualityBitrate(VBRQuality()) : Bitrate()};
    if (EncPreset() != CustomPreset) PresetChoice(EncPreset(), choice);

    const QString input = InputFile();
    const QString output = OutputFile();
    if (!mainMod::FileExists(input)) return fail(QStringLiteral("%1 does not exist").arg(input));
    const QByteArray name = FileNameCodec::encode(input);
    AVFormatContext* rawIn = nullptr;
    if (avformat_open_input(&rawIn, name.constData(), nullptr, nullptr) < 0)
        return fail(QStringLiteral("cannot read %1").arg(input));
    InputPtr in(rawIn);
    if (avformat_find_stream_info(in.get(), nullptr) < 0)
        return fail(QStringLiteral("cannot read %1").arg(input));
    const AVCodec* decoder = nullptr;
    const int index = av_find_best_stream(in.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (index < 0 || !decoder) return fail(QStringLiteral("%1 holds no audio").arg(input));
    const AVStream* source = in->streams[index];
    CodecPtr dec(avcodec_alloc_context3(decoder));
    if (!dec || avcodec_parameters_to_context(dec.get(), source->codecpar) < 0 ||
        avcodec_open2(dec.get(), decoder, nullptr) < 0)
        return fail(QStringLiteral("cannot decode %1").arg(input));
    if (dec->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&dec->ch_layout, dec->ch_layout.nb_channels);
    if (dec->ch_layout.nb_channels < 1 || dec->sample_rate <= 0)
        return fail(QStringLiteral("cannot decode %1").arg(input));
    const int channels = dec->ch_layout.nb_channels >= 2 ? 2 : 1;
    const int rate = outputRate(SampleRate(), dec->sample_rate);

    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_WMAV2);
    if (!codec) return fail(QStringLiteral("FFmpeg has no WMA encoder"));
    CodecPtr enc(avcodec_alloc_context3(codec));
    if (!enc) return fail(QStringLiteral("cannot start the WMA encoder"));
    enc->sample_fmt = AV_SAMPLE_FMT_FLTP;
    enc->sample_rate = rate;
    enc->time_base = {1, rate};
    av_channel_layout_default(&enc->ch_layout, channels);
    enc->bit_rate = static_cast<int64_t>(choice.bitrate) * 1000;

    AVFormatContext* rawOut = nullptr;
    if (avformat_alloc_output_context2(&rawOut, nullptr, "asf", nullptr) < 0 || !rawOut)
        return fail(QStringLiteral("FFmpeg cannot write ASF files"));
    std::unique_ptr<AVFormatContext, OutputFreer> mux(rawOut);
    AVStream* stream = avformat_new_stream(mux.get(), nullptr);
    if (!stream) return fail(QStringLiteral("cannot start the WMA encoder"));
    if (mux->oformat->flags & AVFMT_GLOBALHEADER) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(enc.get(), codec, nullptr) < 0 ||
        avcodec_parameters_from_context(stream->codecpar, enc.get()) < 0)
        return fail(QStringLiteral("the WMA encoder refuses %1 kbit/s at %2 Hz")
                        .arg(choice.bitrate)
                        .arg(rate));
    stream->time_base = enc->time_base;
    const int frameSize = enc->frame_size > 0 ? enc->frame_size : 2048;

    SwrContext* rawSwr = nullptr;
    if (swr_alloc_set_opts2(&rawSwr, &enc->ch_layout, AV_SAMPLE_FMT_FLTP, rate, &dec->ch_layout,
                            dec->sample_fmt, dec->sample_rate, 0, nullptr) < 0 ||
        swr_init(rawSwr) < 0) {
        swr_free(&rawSwr);
        return fail(QStringLiteral("cannot convert the samples of %1").arg(input));
    }
    SwrPtr swr(rawSwr);
    FifoPtr fifo(av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, channels, frameSize * 4));
    if (!fifo) return fail(QStringLiteral("out of memory"));

    QSaveFile out(output);
    if (!out.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write %1: %2").arg(output, out.errorString()));
    auto* ioBuffer = static_cast<unsigned char*>(av_malloc(IoBufferSize));
    AVIOContext* rawIo =
        ioBuffer ? avio_alloc_context(ioBuffer, IoBufferSize, 1, &out, nullptr, writeOut, seekOut)
                 : nullptr;
    if (!rawIo) {
        av_free(ioBuffer);
        return fail(QStringLiteral("out of memory"));
    }
    std::unique_ptr<AVIOContext, IoCloser> io(rawIo);
    mux->pb = io.get();
    const auto writeFailed = [&] {
        return fail(QStringLiteral("cannot write %1: %2").arg(output, out.errorString()));
    };
    // The priming frame has a time before 0, which ASF allows (up to its preroll).
    mux->avoid_negative_ts = AVFMT_AVOID_NEG_TS_DISABLED;
    if (avformat_write_header(mux.get(), nullptr) < 0) return writeFailed();

    // How many output samples to expect, for the progress figures.
    int64_t total = 0;
    if (source->duration > 0)
        total = av_rescale_q(source->duration, source->time_base, {1, rate});
    else if (in->duration > 0)
        total = av_rescale(in->duration, rate, AV_TIME_BASE);

    PacketPtr packet(av_packet_alloc());
    PacketPtr encoded(av_packet_alloc());
    FramePtr decoded(av_frame_alloc());
    if (!packet || !encoded || !decoded) return fail(QStringLiteral("out of memory"));
    int64_t queued = 0; // input samples that went into the FIFO
    int64_t sent = 0;   // time of the next frame given to the encoder
    bool broken = false;
    const auto addSilence = [&](int samples) {
        uint8_t** data = nullptr;
        if (av_samples_alloc_array_and_samples(&data, nullptr, channels, samples,
                                               AV_SAMPLE_FMT_FLTP, 0) < 0) {
            broken = true;
            return;
        }
        av_samples_set_silence(data, 0, samples, channels, AV_SAMPLE_FMT_FLTP);
        if (av_audio_fifo_write(fifo.get(), reinterpret_cast<void**>(data), samples) != samples)
            broken = true;
        av_freep(&data[0]);
        av_freep(&data);
    };
    // A decoder gives nothing out for the first frame of a stream (it only
    // primes the overlap), so one frame of silence goes first. The encoder's
    // packets come out a frame earlier than their input, so the silence lands
    // before the start and the header's duration is that of the input rounded up
    // to a frame.
    addSilence(frameSize);

    const auto receive = [&] {
        while (!broken && avcodec_receive_packet(enc.get(), encoded.get()) >= 0) {
            encoded->stream_index = stream->index;
            av_packet_rescale_ts(encoded.get(), enc->time_base, stream->time_base);
            if (av_interleaved_write_frame(mux.get(), encoded.get()) < 0) broken = true;
            av_packet_unref(encoded.get());
        }
    };
    const auto sendFrames = [&](int atLeast) {
        while (!broken && av_audio_fifo_size(fifo.get()) >= atLeast) {
            FramePtr frame(av_frame_alloc());
            if (!frame) {
                broken = true;
                return;
            }
            frame->nb_samples = frameSize;
            frame->format = AV_SAMPLE_FMT_FLTP;
            frame->sample_rate = rate;
            if (av_channel_layout_copy(&frame->ch_layout, &enc->ch_layout) < 0 ||
                av_frame_get_buffer(frame.get(), 0) < 0 ||
                av_audio_fifo_read(fifo.get(), reinterpret_cast<void**>(frame->data), frameSize) !=
                    frameSize ||
                (frame->pts = sent, avcodec_send_frame(enc.get(), frame.get())) < 0) {
                broken = true;
                return;
            }
            sent += frameSize;
            receive();
        }
    };
    // Converts (or, with no frame, drains the resampler) into the FIFO.
    std::vector<uint8_t*> planes(static_cast<size_t>(channels));
    const auto resample = [&](const AVFrame* frame) {
        const int room = swr_get_out_samples(swr.get(), frame ? frame->nb_samples : 0);
        if (room <= 0) return;
        uint8_t** data = nullptr;
        if (av_samples_alloc_array_and_samples(&data, nullptr, channels, room, AV_SAMPLE_FMT_FLTP,
                                               0) < 0) {
            broken = true;
            return;
        }
        const int got =
            swr_convert(swr.get(), data, room,
                        frame ? const_cast<const uint8_t**>(frame->extended_data) : nullptr,
                        frame ? frame->nb_samples : 0);
        if (got < 0 || (got > 0 && av_audio_fifo_write(fifo.get(), reinterpret_cast<void**>(data),
                                                       got) != got))
            broken = true;
        else
            queued += got;
        av_freep(&data[0]);
        av_freep(&data);
    };
    const auto drainDecoder = [&] {
        while (!broken && avcodec_receive_frame(dec.get(), decoded.get()) >= 0) {
            resample(decoded.get());
            av_frame_unref(decoded.get());
            sendFrames(frameSize);
        }
    };

    while (!broken && av_read_frame(in.get(), packet.get()) >= 0) {
        if (aborted()) return fail(QStringLiteral("aborted"));
        // A packet the decoder refuses is skipped, as players do.
        if (packet->stream_index == index) avcodec_send_packet(dec.get(), packet.get());
        av_packet_unref(packet.get());
        drainDecoder();
        progress(queued, qMax(total, queued));
    }
    if (aborted()) return fail(QStringLiteral("aborted"));
    avcodec_send_packet(dec.get(), nullptr);
    drainDecoder();
    resample(nullptr);
    if (broken) return writeFailed();
    if (queued == 0) return fail(QStringLiteral("no audio could be read from %1").arg(input));

    // The last partial frame is filled up with silence.
    const int partial = av_audio_fifo_size(fifo.get());
    if (partial > 0) addSilence(frameSize - partial);
    sendFrames(frameSize);
    avcodec_send_frame(enc.get(), nullptr);
    receive();
    if (broken || av_write_trailer(mux.get()) < 0) return writeFailed();
    avio_flush(io.get());
    if (io->error < 0 || !out.commit()) return writeFailed();
    return true;
}
