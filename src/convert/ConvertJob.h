#pragma once
// The conversion run: row by row, decode (MP3 targets from MP3 or WMA), encode
// or decode into the target, carry the tags, then clean up. Driven by events:
// Start returns at once, the decoder and encoders work on a worker thread and
// every step ends back on the owner's thread, so a window stays responsive and
// Cancel stops a running encode at its next block.
//
// Nothing is overwritten: a target that already exists fails its row. An
// original is deleted (when asked) only once its target reads back with the
// source's duration.
#include "convert/ConvertQueue.h"
#include "core/AppSettings.h"

#include <QObject>

#include <functional>
#include <memory>
#include <thread>

class AudioDecoder;
class AudioEncoder;
class MediaLibrary;
class lameEncoder;
class wmaEncoder;

namespace convert {

class ConvertJob : public QObject {
    Q_OBJECT
public:
    enum Outcome { Completed, CompletedWithErrors, Canceled };
    enum class AfterFailure { Abort, Retry, Ignore };
    // Asked after a failed row.
    using FailureHandler = std::function<AfterFailure(int row)>;

    // library may be null (nothing is added or removed then). encoders: the
    // settings the encoders are configured from.
    ConvertJob(QList<ConvertRow> rows, ConvertOptions options, MediaLibrary* library,
               AppSettings encoders, QObject* parent = nullptr);
    ~ConvertJob() override; // aborts a running encode and waits for it

    // Default: AskAfterFailure.
    void setFailureHandler(FailureHandler handler) { m_onFailure = std::move(handler); }
    // The question after a failed row, through Dialogs (Abort, Retry, Ignore).
    static AfterFailure AskAfterFailure();

    // Starts with the first row; returns at once.
    void Start();
    // Stops after the current step; a running encode ends at its next block.
    void Cancel();
    bool IsRunning() const { return m_running; }
    bool CancelRequested() const { return m_cancel; }
    // Runs an event loop until the run has finished (command line, tests).
    void WaitForFinished();

    const QList<ConvertRow>& Rows() const { return m_rows; }
    int TotalSteps() const { return m_total; }
    int StepsDone() const { return m_done; }
    // A file was added to or removed from the library.
    bool LibraryChanged() const { return m_libraryChanged; }
    Outcome Result() const { return m_outcome; }

signals:
    // The row's state changed (the list shows it).
    void rowChanged(int row);
    // The row reached completed, failed or canceled.
    void rowFinished(int row);
    void currentProgress(int percent);
    void overallProgress(int percent);
    // True while a decode runs, which reports no progress of its own.
    void progressUnknown(bool unknown);
    void finished(int outcome);

private:
    struct FileState {
        QString input;
        QString tempWav;
        QString output; // our own file beside the target until it is put in place
        bool success = false;
        bool tagsRead = false;
        QString title, artist, album, year, genreName, comment, track;
        int genreCode = 255;
    };

    void beginRow(int row);
    void decoded(bool ok);
    void mainStep();
    void encoded(bool ok);
    void finishRow();
    void finish();
    void readTags(const QString& source);
    void applyOverrides();
    bool writeTags(const QString& target);
    void cleanUp(ConvertRow& row);
    bool targetReadsBack(const ConvertRow& row) const;
    void setState(RowState state);
    void fail(const QString& reason);
    void stepDone();
    void onEncodingProgress(float percent);
    // Runs work on the worker thread; then() follows on this thread.
    void runOnWorker(std::function<bool()> work, void (ConvertJob::*then)(bool));
    void joinWorker();
    void releaseComponents();

    QList<ConvertRow> m_rows;
    ConvertOptions m_options;
    MediaLibrary* m_library;
    AppSettings m_encoders;
    FailureHandler m_onFailure;
    std::unique_ptr<lameEncoder> m_mp3E;
    std::unique_ptr<wmaEncoder> m_wmaE;
    std::unique_ptr<AudioDecoder> m_wavD;
    std::thread m_worker;
    FileState m_file;
    int m_row = 0;
    int m_total = 0;
    int m_done = 0;
    bool m_running = false;
    bool m_cancel = false;
    bool m_libraryChanged = false;
    Outcome m_outcome = Completed;
};

} // namespace convert
