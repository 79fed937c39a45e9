#pragma once
// What lameEncoder and wmaEncoder share: input and output paths, the settable
// properties, Abort and the EncodingProgress signal.
//
// The setters refuse values out of range and keep the old one; what each
// property means for a format is the encoder's business (convert.md).
#include <QObject>
#include <QString>

#include <atomic>

class AudioEncoder : public QObject {
    Q_OBJECT
    Q_PROPERTY(int EncPreset READ EncPreset WRITE SetEncPreset)
    Q_PROPERTY(bool VBRMode READ VBRMode WRITE SetVBRMode)
    Q_PROPERTY(int VBRQuality READ VBRQuality WRITE SetVBRQuality)
    Q_PROPERTY(int Bitrate READ Bitrate WRITE SetBitrate)
    Q_PROPERTY(int SampleRate READ SampleRate WRITE SetSampleRate)
    Q_PROPERTY(int OutputChannelMode READ OutputChannelMode WRITE SetOutputChannelMode)

public:
    void SetInputFile(const QString& path) { m_input = path; }
    void SetOutputFile(const QString& path) { m_output = path; }
    QString InputFile() const { return m_input; }
    QString OutputFile() const { return m_output; }

    // Synchronous; emits EncodingProgress meanwhile. False on any failure or
    // when aborted; the target is then left as it was.
    bool Encode();
    // Makes a running Encode stop at its next block (safe from any thread or
    // from an EncodingProgress handler).
    void Abort() { m_abort = true; }
    // Why the last Encode failed.
    QString LastError() const { return m_error; }

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

signals:
    void EncodingProgress(float percent);

protected:
    AudioEncoder(int preset, int quality, QObject* parent);

    virtual bool acceptsPreset(int preset) const = 0;
    virtual int highestQuality() const { return 9; }
    // The format's own work; Encode has cleared the error and the abort flag.
    virtual bool encode() = 0;

    bool fail(const QString& message);
    bool aborted() const { return m_abort; }
    // Emits EncodingProgress when done/total reaches another whole percent.
    void progress(qint64 done, qint64 total);

private:
    QString m_input;
    QString m_output;
    QString m_error;
    std::atomic<bool> m_abort{false};
    int m_lastPercent = -1;
    int m_preset;
    bool m_vbr = false;
    int m_quality;
    int m_bitrate = 128;
    int m_sampleRate = 0;
    int m_channelMode = 1;
};
