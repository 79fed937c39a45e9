#pragma once
// lameEncoder: encodes a 16-bit PCM WAV file to MP3 with libmp3lame.
//
// EncPreset chooses the encoding; -1 and 12 leave it to the other properties
// (VBRMode with VBRQuality, or Bitrate), the others are fixed presets (see
// docs/architecture/convert.md). OutputChannelMode: 0 stereo, 1 joint stereo,
// 2 dual channel, 3 mono.
#include <QObject>
#include <QString>

#include <atomic>

class lameEncoder : public QObject {
    Q_OBJECT
    Q_PROPERTY(int EncPreset READ EncPreset WRITE SetEncPreset)
    Q_PROPERTY(bool VBRMode READ VBRMode WRITE SetVBRMode)
    Q_PROPERTY(int VBRQuality READ VBRQuality WRITE SetVBRQuality)
    Q_PROPERTY(int Bitrate READ Bitrate WRITE SetBitrate)
    Q_PROPERTY(int SampleRate READ SampleRate WRITE SetSampleRate)
    Q_PROPERTY(int OutputChannelMode READ OutputChannelMode WRITE SetOutputChannelMode)

public:
    explicit lameEncoder(QObject* parent = nullptr);

    void SetInputFile(const QString& wavPath) { m_input = wavPath; }
    void SetOutputFile(const QString& mp3Path) { m_output = mp3Path; }
    // Synchronous; emits EncodingProgress meanwhile. False on any failure or
    // when aborted; the target is then left as it was.
    bool Encode();
    // Makes a running Encode stop at its next block (safe from any thread or
    // from an EncodingProgress handler).
    void Abort() { m_abort = true; }
    // Why the last Encode failed.
    QString LastError() const { return m_error; }

    // The setters refuse values out of range and keep the old one.
    int EncPreset() const { return m_preset; }
    bool SetEncPreset(int preset);
    bool VBRMode() const { return m_vbr; }
    void SetVBRMode(bool vbr) { m_vbr = vbr; }
    int VBRQuality() const { return m_quality; }
    bool SetVBRQuality(int quality);
    int Bitrate() const { return m_bitrate; }
    bool SetBitrate(int kbps);
    // 0: the input's rate.
    int SampleRate() const { return m_sampleRate; }
    bool SetSampleRate(int hz);
    int OutputChannelMode() const { return m_channelMode; }
    bool SetOutputChannelMode(int mode);

    // The settings a preset number stands for; false for an unknown number.
    struct Choice {
        bool vbr = false;
        int bitrate = 128;
        int quality = 2;
    };
    static bool PresetChoice(int preset, Choice& choice);

signals:
    void EncodingProgress(float percent);

private:
    bool fail(const QString& message);

    QString m_input;
    QString m_output;
    QString m_error;
    std::atomic<bool> m_abort{false};
    int m_preset = -1;
    bool m_vbr = false;
    int m_quality = 2;
    int m_bitrate = 128;
    int m_sampleRate = 0;
    int m_channelMode = 1;
};
