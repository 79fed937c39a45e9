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

lameEncoder::lameEncoder(QObject* parent) : AudioEncoder(CustomVbr, 2, parent) {}

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

bool lameEncoder::acceptsPreset(int preset) const {
    Choice unused;
    return preset == CustomVbr || preset == CustomCbr || PresetChoice(preset, unused);
}

bool lameEncoder::encode() {
    convert::WavReader wav;
    if (Status s = wav.open(InputFile()); !s) return fail(s.error());

    const int preset = EncPreset();
    Choice choice{VBRMode(), Bitrate(), VBRQuality()};
    if (preset == CustomCbr)
        choice.vbr = false;
    else if (preset != CustomVbr)
        PresetChoice(preset, choice);

    std::unique_ptr<lame_global_flags, LameDeleter> gf(lame_init());
    if (!gf) return fail(QStringLiteral("cannot start the MP3 encoder"));
    lame_set_num_channels(gf.get(), wav.channels());
    lame_set_in_samplerate(gf.get(), wav.sampleRate());
    // With one channel in, only a mono stream makes sense.
    lame_set_mode(gf.get(), wav.channels() == 1 ? MONO : lameMode(OutputChannelMode()));
    if (SampleRate() > 0 && (!choice.vbr || preset == CustomCbr))
        lame_set_out_samplerate(gf.get(), SampleRate());
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

    QSaveFile out(OutputFile());
    if (!out.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write %1: %2").arg(OutputFile(), out.errorString()));

    std::vector<int16_t> pcm;
    std::vector<unsigned char> mp3(static_cast<size_t>(BlockFrames * 5 / 4 + 7200));
    const qint64 total = wav.frames();
    qint64 done = 0;
    auto writeOut = [&out, &mp3](int bytes) {
        return bytes >= 0 && out.write(reinterpret_cast<const char*>(mp3.data()), bytes) == bytes;
    };
    while (true) {
        if (aborted()) {
            out.cancelWriting();
            return fail(QStringLiteral("aborted"));
        }
        const qint64 frames = wav.read(pcm, BlockFrames);
        if (frames < 0) return fail(QStringLiteral("cannot read %1").arg(InputFile()));
        if (frames == 0) break;
        const int n = static_cast<int>(frames);
        const int bytes = wav.channels() == 2
                              ? lame_encode_buffer_interleaved(gf.get(), pcm.data(), n, mp3.data(),
                                                               static_cast<int>(mp3.size()))
                              : lame_encode_buffer(gf.get(), pcm.data(), pcm.data(), n, mp3.data(),
                                                   static_cast<int>(mp3.size()));
        if (!writeOut(bytes))
            return fail(QStringLiteral("cannot write %1: %2").arg(OutputFile(), out.errorString()));
        done += frames;
        progress(done, total);
    }
    if (!writeOut(lame_encode_flush(gf.get(), mp3.data(), static_cast<int>(mp3.size()))))
        return fail(QStringLiteral("cannot write %1: %2").arg(OutputFile(), out.errorString()));

    // The first frame was written as a placeholder; now that the stream is known,
    // it gets the frame count and encoder delay that players need for VBR lengths.
    const size_t tagSize = lame_get_lametag_frame(gf.get(), mp3.data(), mp3.size());
    if (tagSize > 0 && (!out.seek(0) || !writeOut(static_cast<int>(tagSize))))
        return fail(QStringLiteral("cannot write %1: %2").arg(OutputFile(), out.errorString()));
    if (!out.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(OutputFile(), out.errorString()));
    return true;
}
