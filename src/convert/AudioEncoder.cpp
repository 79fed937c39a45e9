#include "convert/AudioEncoder.h"

#include <algorithm>
#include <array>

AudioEncoder::AudioEncoder(int preset, int quality, QObject* parent)
    : QObject(parent), m_preset(preset), m_quality(quality) {}

bool AudioEncoder::Encode() {
    m_abort = false;
    m_error.clear();
    m_lastPercent = -1;
    if (!encode()) return false;
    emit EncodingProgress(100.0f);
    return true;
}

bool AudioEncoder::SetEncPreset(int preset) {
    if (!acceptsPreset(preset)) return false;
    m_preset = preset;
    return true;
}

bool AudioEncoder::SetVBRQuality(int quality) {
    if (quality < 0 || quality > highestQuality()) return false;
    m_quality = quality;
    return true;
}

bool AudioEncoder::SetBitrate(int kbps) {
    if (kbps < 8 || kbps > 320) return false;
    m_bitrate = kbps;
    return true;
}

bool AudioEncoder::SetSampleRate(int hz) {
    static constexpr std::array<int, 10> Rates = {0,     8000,  11025, 12000, 16000,
                                                  22050, 24000, 32000, 44100, 48000};
    if (std::find(Rates.begin(), Rates.end(), hz) == Rates.end()) return false;
    m_sampleRate = hz;
    return true;
}

bool AudioEncoder::SetOutputChannelMode(int mode) {
    if (mode < 0 || mode > 3) return false;
    m_channelMode = mode;
    return true;
}

bool AudioEncoder::fail(const QString& message) {
    m_error = message;
    return false;
}

void AudioEncoder::progress(qint64 done, qint64 total) {
    const qint64 whole = qMax<qint64>(total, 1);
    const int percent = static_cast<int>(qMin<qint64>(done * 100 / whole, 100));
    if (percent == m_lastPercent) return;
    m_lastPercent = percent;
    emit EncodingProgress(static_cast<float>(qMin(done * 100.0 / whole, 100.0)));
}
