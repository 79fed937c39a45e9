#pragma once
// Rips the entries of a rip plan and, for MP3 and WMA, encodes and tags them.
//
// run() is synchronous. For MP3 and WMA the next track is ripped while the
// previous one encodes on a second thread, through two temporary WAV files;
// each entry still goes Ripping -> Encoding -> Done/Failed in order. Signals
// come from either thread, never two at once.
//
// A target file is never replaced: every file is written under a temporary name
// in the target folder and then renamed without replacing, so a file that
// appeared there meanwhile fails its entry and stays as it was.
#include "cd/RipPlan.h"
#include "core/AppSettings.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>

class AudioEncoder;
class clsRIP;

class RipJob : public QObject {
    Q_OBJECT
public:
    enum State { Waiting, Ripping, Encoding, Done, Failed };
    enum Outcome { Finished, Cancelled, NoDisc, NoTempFile };

    struct Setup {
        int drive = 0;        // CD number, 1-based
        QString imagesFolder; // where virtual drives are looked for; empty: the default
        int format = cd::RipMp3;
        QList<cd::RipTarget> targets;
        QString album;
        QString artist;
        QString year;
        QString genre;
        AppSettings encoding;           // only the encoder blocks are read
        QString tempFolder;             // empty: the system's
        std::function<double()> random; // for the temporary names; empty: a real one
    };

    explicit RipJob(Setup setup, QObject* parent = nullptr);
    ~RipJob() override;

    Outcome run();
    // Stops after the current step: the running rip and encode end early and
    // nothing new starts. Safe from any thread and from the signals' handlers.
    void cancel();
    bool cancelled() const { return m_cancel; }

    // Two steps per track (rip, encode) for MP3 and WMA, one for WAV.
    int totalSteps() const;
    // Why an entry failed, or why run() stopped.
    QString entryError(int index) const;
    QString lastError() const { return m_error; }

signals:
    void entryChanged(int index, int state);
    // The entry's own progress, 0..100 over its steps.
    void entryProgress(int index, float percent);
    void overallProgress(int done, int total);

private:
    struct WavFiles;
    bool ripAll(clsRIP& rip, WavFiles& wavs);
    void encodeAll(WavFiles& wavs);
    void encodeOne(AudioEncoder& encoder, int index, const QString& wav);
    bool finishTarget(int index, const QString& temp);
    void setState(int index, State state, const QString& error = QString());
    void progress(int index, float percent);
    void addSteps(int steps);
    void setRip(clsRIP* rip);

    Setup m_setup;
    bool m_encoded;
    std::atomic<bool> m_cancel{false};
    clsRIP* m_rip = nullptr;           // under m_lock
    AudioEncoder* m_encoder = nullptr; // under m_lock
    std::atomic<int> m_steps{0};
    QString m_error;
    mutable QRecursiveMutex m_lock; // signals, entry errors, the running rip and encoder
    QList<QString> m_entryErrors;
};
