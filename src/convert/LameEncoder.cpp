#include "convert/LameEncoder.h"

#include "convert/WavFile.h"

#include <QSaveFile>
#include <lame/lame.h>

#include <array>
#include <memory>
#include <vector>

namespace {

constexpr std::array<int, 8> Bitrates = {48, 64, 96, 128, 160, 192, 256, 320};
constexpr int CustomVbr = -1;
constexpr int CustomCbr = 12;
constexpr int FirstVbrPreset = 15; // 15..19: VBR quality 0, 2, 4, 6, 8
constexpr int LastVbrPreset = 19;
constexpr qint64 BlockFrames = 8192;

struct LameDeleter {
    void operator()(lame_global_flags* gf) const { lame_close(gf); }
};

MPEG_mode lameMode(int channelMode) {
    switch (channelMode) {
    case 0:
        return STEREO;
    case 2:
        return DUAL_CHANNEL;
    case 3:
        return MONO;
    default:
        return JOINT_STEREO;
    }
}

} // namespace

lameEncoder::lameEncoder(QObject* parent) : QObject(parent) {}

bool lameEncoder::PresetChoice(int preset, Choice& choice) {
    if (preset >= 1 && preset <= 8) {
        choice = {false, Bitrates[static_cast<size_t>(preset - 1)], 2};
        return true;
    }
    if (preset >= FirstVbrPreset && preset <= LastVbrPreset) {
        choice = {true, 128, 2 * (preset - FirstVbrPreset)};
        return true;
    }
    return false;
}

bool lameEncoder::SetEncPreset(int preset) {
    Choice unused;
    if (preset != CustomVbr && preset != CustomCbr && !PresetChoice(preset, unused)) return false;
    m_preset = preset;
    return true;
}

bool lameEncoder::SetVBRQuality(int quality) {
    if (quality < 0 || quality > 9) return false;
    m_quality = quality;
    return true;
}

bool lameEncoder::SetBitrate(int kbps) {
    if (kbps < 8 || kbps > 320) return false;
    m_bitrate = kbps;
    return true;
}

bool lameEncoder::SetSampleRate(int hz) {
    static constexpr std::array<int, 10> Rates = {0,     8000,  11025, 12000, 16000,
                                                  22050, 24000, 32000, 44100, 48000};
    if (std::find(Rates.begin(), Rates.end(), hz) == Rates.end()) return false;
    m_sampleRate = hz;
    return true;
}

bool lameEncoder::SetOutputChannelMode(int mode) {
    if (mode < 0 || mode > 3) return false;
    m_channelMode = mode;
    return true;
}

bool lameEncoder::fail(const QString& message) {
    m_error = message;
    return false;
}

bool lameEncoder::Encode() {
    m_abort = false;
    m_error.clear();
    convert::WavReader wav;
    if (Status s = wav.open(m_input); !s) return fail(s.error());

    Choice choice{m_vbr, m_bitrate, m_quality};
    if (m_preset == CustomCbr)
        choice.vbr = false;
    else if (m_preset != CustomVbr)
        PresetChoice(m_preset, choice);

    std::unique_ptr<lame_global_flags, LameDeleter> gf(lame_init());
    if (!gf) return fail(QStringLiteral("cannot start the MP3 encoder"));
    lame_set_num_channels(gf.get(), wav.channels());
    lame_set_in_samplerate(gf.get(), wav.sampleRate());
    // With one channel in, only a mono stream makes sense.
    lame_set_mode(gf.get(), wav.channels() == 1 ? MONO : lameMode(m_channelMode));
    if (m_sampleRate > 0 && (!choice.vbr || m_preset == CustomCbr))
        lame_set_out_samplerate(gf.get(), m_sampleRate);
    if (choice.vbr) {
        lame_set_VBR(gf.get(), vbr_default);
        lame_set_VBR_quality(gf.get(), static_cast<float>(choice.quality));
    } else {
        lame_set_VBR(gf.get(), vbr_off);
        lame_set_brate(gf.get(), choice.bitrate);
    }
    lame_set_bWriteVbrTag(gf.get(), 1);
    if (lame_init_params(gf.get()) < 0)
        return fail(QStringLiteral("the MP3 encoder refuses these settings"));

    QSaveFile out(m_output);
    if (!out.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write %1: %2").arg(m_output, out.errorString()));

    std::vector<int16_t> pcm;
    std::vector<unsigned char> mp3(static_cast<size_t>(BlockFrames * 5 / 4 + 7200));
    const qint64 total = wav.frames();
    qint64 done = 0;
    int lastPercent = -1;
    auto writeOut = [&out, &mp3](int bytes) {
        return bytes >= 0 && out.write(reinterpret_cast<const char*>(mp3.data()), bytes) == bytes;
    };
    while (true) {
        if (m_abort) {
            out.cancelWriting();
            return fail(QStringLiteral("aborted"));
        }
        const qint64 frames = wav.read(pcm, BlockFrames);
        if (frames < 0) return fail(QStringLiteral("cannot read %1").arg(m_input));
        if (frames == 0) break;
        const int n = static_cast<int>(frames);
        const int bytes = wav.channels() == 2
                              ? lame_encode_buffer_interleaved(gf.get(), pcm.data(), n, mp3.data(),
                                                               static_cast<int>(mp3.size()))
                              : lame_encode_buffer(gf.get(), pcm.data(), pcm.data(), n, mp3.data(),
                                                   static_cast<int>(mp3.size()));
        if (!writeOut(bytes))
            return fail(QStringLiteral("cannot write %1: %2").arg(m_output, out.errorString()));
        done += frames;
        const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 100;
        if (percent != lastPercent) {
            lastPercent = percent;
            emit EncodingProgress(static_cast<float>(done * 100.0 / qMax<qint64>(total, 1)));
        }
    }
    if (!writeOut(lame_encode_flush(gf.get(), mp3.data(), static_cast<int>(mp3.size()))))
        return fail(QStringLiteral("cannot write %1: %2").arg(m_output, out.errorString()));

    // The first frame was written as a placeholder; now that the stream is known,
    // it gets the frame count and encoder delay that players need for VBR lengths.
    const size_t tagSize = lame_get_lametag_frame(gf.get(), mp3.data(), mp3.size());
    if (tagSize > 0 && (!out.seek(0) || !writeOut(static_cast<int>(tagSize))))
        return fail(QStringLiteral("cannot write %1: %2").arg(m_output, out.errorString()));
    if (!out.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(m_output, out.errorString()));
    emit EncodingProgress(100.0f);
    return true;
}
