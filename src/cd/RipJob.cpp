#include "cd/RipJob.h"

#include "cd/RipTempFile.h"
#include "cd/clsRIP.h"
#include "convert/EncoderConfig.h"
#include "convert/LameEncoder.h"
#include "convert/TagObject.h"
#include "convert/WmaEncoder.h"
#include "core/FileNameCodec.h"
#include "editing/FileMove.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryFile>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

// The two temporary WAV files and the hand-over from the ripping to the
// encoding thread.
struct RipJob::WavFiles {
    QString path[2];
    bool busy[2] = {false, false};
    std::deque<std::pair<int, int>> ready; // entry, slot
    bool closed = false;
    std::mutex lock;
    std::condition_variable changed;
};

RipJob::RipJob(Setup setup, QObject* parent)
    : QObject(parent), m_setup(std::move(setup)), m_encoded(m_setup.format != cd::RipWav) {
    for (int i = 0; i < m_setup.targets.size(); ++i)
        m_entryErrors << QString();
}

RipJob::~RipJob() = default;

int RipJob::totalSteps() const {
    return m_setup.targets.size() * (m_encoded ? 2 : 1);
}

QString RipJob::entryError(int index) const {
    QMutexLocker hold(&m_lock);
    return m_entryErrors.value(index);
}

void RipJob::cancel() {
    m_cancel = true;
    // Under the lock, so that neither object goes away meanwhile.
    QMutexLocker hold(&m_lock);
    if (m_rip) m_rip->AbortRip();
    if (m_encoder) m_encoder->Abort();
}

void RipJob::setRip(clsRIP* rip) {
    QMutexLocker hold(&m_lock);
    m_rip = rip;
}

void RipJob::setState(int index, State state, const QString& error) {
    QMutexLocker hold(&m_lock);
    if (state == Failed) m_entryErrors[index] = error;
    emit entryChanged(index, state);
}

void RipJob::progress(int index, float percent) {
    QMutexLocker hold(&m_lock);
    emit entryProgress(index, percent);
}

void RipJob::addSteps(int steps) {
    QMutexLocker hold(&m_lock);
    m_steps += steps;
    emit overallProgress(m_steps, totalSteps());
}

RipJob::Outcome RipJob::run() {
    m_steps = 0;
    WavFiles wavs;
    if (m_encoded) {
        std::function<double()> random = m_setup.random;
        if (!random) random = [] { return QRandomGenerator::global()->generateDouble(); };
        const QString folder = m_setup.tempFolder.isEmpty() ? QDir::tempPath() : m_setup.tempFolder;
        for (QString& wav : wavs.path) {
            const Result<QString> made = cd::CreateRipTempFile(folder, random);
            if (!made) {
                m_error = made.error();
                for (const QString& other : wavs.path)
                    if (!other.isEmpty()) QFile::remove(other);
                return NoTempFile;
            }
            wav = made.value();
        }
    }

    clsRIP rip;
    if (!m_setup.imagesFolder.isEmpty()) rip.setImagesFolder(m_setup.imagesFolder);
    Outcome outcome = Finished;
    if (!rip.ReadDisc(m_setup.drive)) {
        m_error = rip.LastError();
        for (int i = 0; i < m_setup.targets.size(); ++i)
            setState(i, Failed, m_error);
        addSteps(totalSteps());
        outcome = NoDisc;
    } else {
        std::thread encoding;
        if (m_encoded) encoding = std::thread([this, &wavs] { encodeAll(wavs); });
        setRip(&rip);
        ripAll(rip, wavs);
        setRip(nullptr);
        {
            std::lock_guard<std::mutex> hold(wavs.lock);
            wavs.closed = true;
        }
        wavs.changed.notify_all();
        if (encoding.joinable()) encoding.join();
        if (m_cancel) outcome = Cancelled;
    }
    for (const QString& wav : wavs.path)
        if (!wav.isEmpty()) QFile::remove(wav);
    return outcome;
}

bool RipJob::ripAll(clsRIP& rip, WavFiles& wavs) {
    int current = -1;
    connect(
        &rip, &clsRIP::TrackProgress, this,
        [this, &rip, &current](int, float percent) {
            // A cancel just before RipTrack began is seen here.
            if (m_cancel) rip.AbortRip();
            progress(current, m_encoded ? percent / 2 : percent);
        },
        Qt::DirectConnection);

    for (int i = 0; i < m_setup.targets.size() && !m_cancel; ++i) {
        const cd::RipTarget& target = m_setup.targets.at(i);
        int slot = -1;
        QString wav;
        if (m_encoded) {
            std::unique_lock<std::mutex> hold(wavs.lock);
            wavs.changed.wait(hold, [&] { return m_cancel || !wavs.busy[0] || !wavs.busy[1]; });
            if (m_cancel) break;
            slot = wavs.busy[0] ? 1 : 0;
            wavs.busy[slot] = true;
            wav = wavs.path[slot];
        } else {
            if (!QDir().mkpath(target.folder)) {
                setState(i, Failed,
                         QStringLiteral("cannot create the folder %1").arg(target.folder));
                addSteps(1);
                continue;
            }
            const Result<QString> reserved = FileMove::ReserveBeside(
                target.folder, QStringLiteral("~rip"), cd::RipExtension(cd::RipWav));
            if (!reserved) {
                setState(i, Failed, reserved.error());
                addSteps(1);
                continue;
            }
            wav = reserved.value();
        }

        current = i;
        setState(i, Ripping);
        const bool ripped = rip.RipTrack(target.number, wav);
        if (!ripped) {
            const QString why = m_cancel ? QStringLiteral("cancelled") : rip.LastError();
            if (m_encoded) {
                std::lock_guard<std::mutex> hold(wavs.lock);
                wavs.busy[slot] = false;
            } else {
                QFile::remove(wav);
            }
            setState(i, Failed, why);
            addSteps(m_encoded ? 2 : 1);
            continue;
        }
        addSteps(1);
        if (!m_encoded) {
            if (finishTarget(i, wav)) setState(i, Done);
            continue;
        }
        setState(i, Encoding);
        {
            std::lock_guard<std::mutex> hold(wavs.lock);
            wavs.ready.emplace_back(i, slot);
        }
        wavs.changed.notify_all();
    }
    return !m_cancel;
}

void RipJob::encodeAll(WavFiles& wavs) {
    std::unique_ptr<AudioEncoder> encoder;
    if (m_setup.format == cd::RipWma)
        encoder = std::make_unique<wmaEncoder>();
    else
        encoder = std::make_unique<lameEncoder>();
    convert::Configure(*encoder, m_setup.encoding);
    int current = -1;
    QObject::connect(
        encoder.get(), &AudioEncoder::EncodingProgress, encoder.get(),
        [this, &encoder, &current](float percent) {
            if (m_cancel) encoder->Abort();
            progress(current, 50 + percent / 2);
        },
        Qt::DirectConnection);
    {
        QMutexLocker hold(&m_lock);
        m_encoder = encoder.get();
    }

    for (;;) {
        std::pair<int, int> next;
        {
            std::unique_lock<std::mutex> hold(wavs.lock);
            wavs.changed.wait(hold, [&] { return wavs.closed || !wavs.ready.empty(); });
            if (wavs.ready.empty()) break;
            next = wavs.ready.front();
            wavs.ready.pop_front();
        }
        current = next.first;
        if (m_cancel)
            setState(next.first, Failed, QStringLiteral("cancelled"));
        else
            encodeOne(*encoder, next.first, wavs.path[next.second]);
        addSteps(1);
        {
            std::lock_guard<std::mutex> hold(wavs.lock);
            wavs.busy[next.second] = false;
        }
        wavs.changed.notify_all();
    }
    QMutexLocker hold(&m_lock);
    m_encoder = nullptr;
}

void RipJob::encodeOne(AudioEncoder& encoder, int index, const QString& wav) {
    const cd::RipTarget& target = m_setup.targets.at(index);
    if (!QDir().mkpath(target.folder)) {
        setState(index, Failed, QStringLiteral("cannot create the folder %1").arg(target.folder));
        return;
    }
    const Result<QString> reserved = FileMove::ReserveBeside(target.folder, QStringLiteral("~rip"),
                                                             cd::RipExtension(m_setup.format));
    if (!reserved) {
        setState(index, Failed, reserved.error());
        return;
    }
    const QString temp = reserved.value();
    encoder.SetInputFile(wav);
    encoder.SetOutputFile(temp);
    if (!encoder.Encode()) {
        QFile::remove(temp);
        setState(index, Failed, m_cancel ? QStringLiteral("cancelled") : encoder.LastError());
        return;
    }
    std::unique_ptr<AudioTagObject> tag;
    if (m_setup.format == cd::RipWma)
        tag = std::make_unique<WmaTagObject>();
    else
        tag = std::make_unique<Id3TagObject>();
    bool tagged = tag->Open(temp);
    if (tagged) {
        tag->SetValue(AudioTagObject::AlbumTag, m_setup.album);
        tag->SetValue(AudioTagObject::ArtistTag, m_setup.artist);
        tag->SetValue(AudioTagObject::GenreTag, m_setup.genre);
        tag->SetValue(AudioTagObject::TitleTag, target.title);
        tag->SetValue(AudioTagObject::TrackTag, QString::number(target.number));
        tag->SetValue(AudioTagObject::YearTag, m_setup.year);
        tagged = tag->Save();
    }
    if (!tagged) {
        QFile::remove(temp);
        setState(index, Failed, QStringLiteral("cannot write the tag: %1").arg(tag->LastError()));
        return;
    }
    if (finishTarget(index, temp)) setState(index, Done);
}

bool RipJob::finishTarget(int index, const QString& temp) {
    const QString path = m_setup.targets.at(index).path();
    const Status moved = FileMove::PlaceReserved(temp, path);
    if (moved) return true;
    setState(index, Failed, QStringLiteral("cannot write %1: %2").arg(path, moved.error()));
    return false;
}
