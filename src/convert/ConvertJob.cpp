#include "convert/ConvertJob.h"
#include "core/FileNameCodec.h"

#include "components/AudioFile.h"
#include "components/MediaLibrary.h"
#include "convert/AudioDecoder.h"
#include "convert/ConvertTexts.h"
#include "convert/EncoderConfig.h"
#include "convert/LameEncoder.h"
#include "convert/TagObject.h"
#include "convert/WmaEncoder.h"
#include "core/Dialogs.h"
#include "core/PathHelpers.h"
#include "editing/FileMove.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

#include <cmath>

namespace convert {

namespace {

// A target reads back as complete when its length is the source's within this.
constexpr double DurationTolerance = 1.0;

std::unique_ptr<AudioTagObject> tagObjectFor(const QString& type) {
    if (type == QLatin1String("MP3")) return std::make_unique<Id3TagObject>();
    if (type == QLatin1String("WMA")) return std::make_unique<WmaTagObject>();
    return nullptr;
}

} // namespace

ConvertJob::ConvertJob(QList<ConvertRow> rows, ConvertOptions options, MediaLibrary* library,
                       AppSettings encoders, QObject* parent)
    : QObject(parent), m_rows(std::move(rows)), m_options(std::move(options)), m_library(library),
      m_encoders(std::move(encoders)), m_onFailure([](int) { return AskAfterFailure(); }) {
    m_total = CountSteps(m_rows, m_options.format);
}

ConvertJob::~ConvertJob() {
    m_cancel = true;
    if (m_mp3E) m_mp3E->Abort();
    if (m_wmaE) m_wmaE->Abort();
    joinWorker();
}

ConvertJob::AfterFailure ConvertJob::AskAfterFailure() {
    switch (Dialogs::current().MsgBox(MessageText(NotCompletedText), Dialogs::AbortRetryIgnore,
                                      TitleText("Error"))) {
    case Dialogs::Abort:
        return AfterFailure::Abort;
    case Dialogs::Retry:
        return AfterFailure::Retry;
    default:
        return AfterFailure::Ignore;
    }
}

void ConvertJob::Start() {
    if (m_running) return;
    m_running = true;
    m_done = 0;
    for (ConvertRow& row : m_rows) {
        row.state = RowState::Ready;
        row.reason.clear();
    }
    QMetaObject::invokeMethod(
        this, [this] { beginRow(0); }, Qt::QueuedConnection);
}

void ConvertJob::Cancel() {
    if (!m_running) return;
    m_cancel = true;
    if (m_wmaE) m_wmaE->Abort();
    if (m_mp3E) m_mp3E->Abort();
}

void ConvertJob::WaitForFinished() {
    if (!m_running) return;
    QEventLoop loop;
    connect(this, &ConvertJob::finished, &loop, &QEventLoop::quit);
    loop.exec();
}

void ConvertJob::beginRow(int row) {
    if (m_cancel || row >= m_rows.size()) return finish();
    m_row = row;
    m_file = FileState{};
    const ConvertRow& r = m_rows.at(row);
    m_file.input = r.source;
    readTags(r.source);
    applyOverrides();

    if (!NeedsDecodeStep(r.source, m_options.format)) return mainStep();
    setState(RowState::Decoding);
    m_file.tempWav = mainMod::MakeTempFileName(QStringLiteral(".WAV")).path;
    if (!m_wavD) m_wavD = std::make_unique<AudioDecoder>();
    const bool mp3 = SourceType(r.source) == QLatin1String("MP3");
    if (!(mp3 ? m_wavD->Mp3DecoderAvailable() : m_wavD->WmaDecoderAvailable())) {
        m_file.tempWav.clear();
        m_rows[row].reason = QStringLiteral("no decoder for ") + SourceType(r.source);
        return decoded(false);
    }
    emit progressUnknown(true);
    AudioDecoder* decoder = m_wavD.get();
    const QString source = r.source;
    const QString wav = m_file.tempWav;
    runOnWorker(
        [decoder, mp3, source, wav] {
            return mp3 ? decoder->DecodeMp3ToWav(source, wav, 600)
                       : decoder->DecodeWmaToWav(source, wav, 600);
        },
        &ConvertJob::decoded);
}

void ConvertJob::decoded(bool ok) {
    if (ok) {
        m_file.input = m_file.tempWav;
    } else {
        m_file.input.clear();
        if (m_rows[m_row].reason.isEmpty() && m_wavD) m_rows[m_row].reason = m_wavD->LastError();
    }
    stepDone();
    mainStep();
}

void ConvertJob::mainStep() {
    m_file.success = false;
    if (m_cancel || m_file.input.isEmpty()) return finishRow();
    ConvertRow& row = m_rows[m_row];
    // The writers take text paths; a folder whose name is not UTF-8 cannot be
    // written into by name, so it is refused rather than written elsewhere.
    if (FileNameCodec::encode(row.target) != row.target.toUtf8()) {
        row.reason = QStringLiteral("the target folder's name is not valid UTF-8; choose another "
                                    "target folder");
        stepDone();
        return finishRow();
    }
    // Never written over: an existing file (the source itself included) stays.
    if (QFileInfo::exists(row.target) || QFileInfo(row.target).isSymLink()) {
        row.reason = QFileInfo(row.target) == QFileInfo(row.source)
                         ? QStringLiteral("the target is the source file itself")
                         : QStringLiteral("the target file already exists");
        stepDone();
        return finishRow();
    }
    // Written beside the target and put in place only if the name is still free,
    // so that a file created meanwhile is never replaced.
    const qsizetype slash = row.target.lastIndexOf(QLatin1Char('/'));
    const ::Result<QString> reserved =
        FileMove::ReserveBeside(row.target.left(slash + 1), QStringLiteral("~convert"),
                                row.target.mid(row.target.lastIndexOf(QLatin1Char('.'))));
    if (!reserved) {
        row.reason = reserved.error();
        stepDone();
        return finishRow();
    }
    m_file.output = reserved.value();
    const QString input = m_file.input;
    const QString target = m_file.output;
    if (m_options.format == TargetWav) {
        setState(RowState::Decoding);
        if (!m_wavD) m_wavD = std::make_unique<AudioDecoder>();
        const QString type = SourceType(row.source);
        const bool mp3 = type == QLatin1String("MP3");
        if (!mp3 && type != QLatin1String("WMA")) {
            row.reason = QStringLiteral("cannot decode a %1 file").arg(type);
            return encoded(false);
        }
        emit progressUnknown(true);
        AudioDecoder* decoder = m_wavD.get();
        return runOnWorker(
            [decoder, mp3, input, target] {
                return mp3 ? decoder->DecodeMp3ToWav(input, target, 600)
                           : decoder->DecodeWmaToWav(input, target, 600);
            },
            &ConvertJob::encoded);
    }

    emit progressUnknown(false);
    setState(RowState::Encoding);
    AudioEncoder* encoder = nullptr;
    if (m_options.format == TargetMp3) {
        if (!m_mp3E) {
            m_mp3E = std::make_unique<lameEncoder>();
            connect(m_mp3E.get(), &AudioEncoder::EncodingProgress, this,
                    &ConvertJob::onEncodingProgress);
        }
        encoder = m_mp3E.get();
    } else {
        if (!m_wmaE) {
            m_wmaE = std::make_unique<wmaEncoder>();
            connect(m_wmaE.get(), &AudioEncoder::EncodingProgress, this,
                    &ConvertJob::onEncodingProgress);
        }
        encoder = m_wmaE.get();
    }
    Configure(*encoder, m_encoders);
    encoder->SetInputFile(input);
    encoder->SetOutputFile(target);
    runOnWorker([encoder] { return encoder->Encode(); }, &ConvertJob::encoded);
}

void ConvertJob::encoded(bool ok) {
    ConvertRow& row = m_rows[m_row];
    if (!ok && row.reason.isEmpty()) {
        if (m_options.format == TargetWav && m_wavD)
            row.reason = m_wavD->LastError();
        else if (m_options.format == TargetMp3 && m_mp3E)
            row.reason = m_mp3E->LastError();
        else if (m_wmaE)
            row.reason = m_wmaE->LastError();
    }
    if (ok && m_options.format != TargetWav && !writeTags(m_file.output)) {
        row.reason = QStringLiteral("the tags could not be written");
        ok = false;
    }
    if (ok) {
        const Status placed = FileMove::PlaceReserved(m_file.output, row.target);
        m_file.output.clear();
        if (!placed) {
            row.reason = QStringLiteral("cannot write %1: %2").arg(row.target, placed.error());
            ok = false;
        }
    }
    m_file.success = ok;
    stepDone();
    finishRow();
}

void ConvertJob::finishRow() {
    emit progressUnknown(false);
    ConvertRow& row = m_rows[m_row];
    cleanUp(row);
    if (m_cancel) {
        setState(RowState::Canceled);
        emit rowFinished(m_row);
        return finish();
    }
    setState(m_file.success ? RowState::Completed : RowState::Failed);
    emit rowFinished(m_row);
    const int next = m_row + 1;
    if (!m_file.success) {
        switch (m_onFailure(m_row)) {
        case AfterFailure::Abort:
            return finish();
        case AfterFailure::Retry:
            m_done = qMax(0, m_done - 1);
            row.reason.clear();
            QMetaObject::invokeMethod(
                this, [this, again = m_row] { beginRow(again); }, Qt::QueuedConnection);
            return;
        case AfterFailure::Ignore:
            break;
        }
    }
    // The next file after the event loop had its turn (Cancel is serviced there).
    QMetaObject::invokeMethod(
        this, [this, next] { beginRow(next); }, Qt::QueuedConnection);
}

void ConvertJob::finish() {
    releaseComponents();
    bool failed = false;
    for (const ConvertRow& row : m_rows)
        failed = failed || row.state == RowState::Failed;
    m_outcome = m_cancel ? Canceled : failed ? CompletedWithErrors : Completed;
    m_running = false;
    emit finished(m_outcome);
}

void ConvertJob::readTags(const QString& source) {
    std::unique_ptr<AudioTagObject> tags = tagObjectFor(SourceType(source));
    if (!tags || !tags->Open(source)) return;
    m_file.tagsRead = true;
    m_file.title = tags->Title().trimmed();
    m_file.artist = tags->Artist().trimmed();
    m_file.album = tags->AlbumName().trimmed();
    m_file.year = tags->YearText().trimmed();
    m_file.genreName = tags->GenreName().trimmed();
    m_file.comment = tags->CommentText().trimmed();
    m_file.track = tags->TrackText().trimmed();
}

void ConvertJob::applyOverrides() {
    const TagOverrides& o = m_options.overrides;
    if (o.title) m_file.title = o.title->trimmed();
    if (o.artist) m_file.artist = o.artist->trimmed();
    if (o.album) m_file.album = o.album->trimmed();
    if (o.year) m_file.year = o.year->trimmed();
    if (o.genreName) {
        m_file.genreName = *o.genreName;
        m_file.genreCode = o.genreCode;
    }
}

bool ConvertJob::writeTags(const QString& target) {
    std::unique_ptr<AudioTagObject> tags =
        tagObjectFor(m_options.format == TargetMp3 ? QStringLiteral("MP3") : QStringLiteral("WMA"));
    if (!tags || !tags->Open(target)) return false;
    tags->Clear();
    tags->SetValue(AudioTagObject::TitleTag, m_file.title);
    tags->SetValue(AudioTagObject::ArtistTag, m_file.artist);
    tags->SetValue(AudioTagObject::AlbumTag, m_file.album);
    tags->SetValue(AudioTagObject::YearTag, m_file.year);
    tags->SetValue(AudioTagObject::GenreTag, m_file.genreName);
    tags->SetValue(AudioTagObject::CommentTag, m_file.comment);
    tags->SetValue(AudioTagObject::TrackTag, m_file.track);
    return tags->Save();
}

bool ConvertJob::targetReadsBack(const ConvertRow& row) const {
    const QFileInfo target(row.target);
    if (!target.isFile() || target.size() == 0) return false;
    const AudioFacts source = ReadAudioFacts(row.source);
    const AudioFacts written = ReadAudioFacts(row.target);
    return source.readable && written.readable && written.duration > 0 &&
           std::abs(written.duration - source.duration) <= DurationTolerance;
}

void ConvertJob::cleanUp(ConvertRow& row) {
    if (!m_file.tempWav.isEmpty()) QFile::remove(m_file.tempWav);
    m_file.tempWav.clear();
    if (!m_file.output.isEmpty()) QFile::remove(m_file.output);
    m_file.output.clear();
    if (!m_file.success || m_cancel) return;
    if (m_options.deleteOriginals && QFileInfo(row.target) != QFileInfo(row.source)) {
        if (!targetReadsBack(row)) {
            row.reason = QStringLiteral("the original was kept: the target does not read back "
                                        "with the source's length");
        } else {
            FileRecord record;
            const bool listed =
                m_library && m_library->GetFileRecord(row.source, record) && record.id > 0;
            if (::unlink(FileNameCodec::encode(row.source).constData()) == 0 && listed) {
                m_library->RemoveLibraryFile(QString::number(record.id));
                m_libraryChanged = true;
            }
        }
    }
    if (m_options.addToLibrary && m_library && m_library->AddLibraryFile(row.target) > 0)
        m_libraryChanged = true;
}

void ConvertJob::setState(RowState state) {
    m_rows[m_row].state = state;
    emit rowChanged(m_row);
}

void ConvertJob::stepDone() {
    ++m_done;
    emit overallProgress(m_total > 0 ? m_done * 100 / m_total : 100);
}

void ConvertJob::onEncodingProgress(float percent) {
    // An abort asked for just before the encode began is cleared by it: ask again.
    if (m_cancel) {
        if (m_mp3E) m_mp3E->Abort();
        if (m_wmaE) m_wmaE->Abort();
    }
    emit currentProgress(static_cast<int>(percent));
    if (m_total > 0) {
        const double share = 100.0 / m_total;
        emit overallProgress(static_cast<int>(share * percent / 100.0 + share * m_done));
    }
}

void ConvertJob::runOnWorker(std::function<bool()> work, void (ConvertJob::*then)(bool)) {
    joinWorker();
    m_worker = std::thread([this, work = std::move(work), then] {
        const bool ok = work();
        QMetaObject::invokeMethod(
            this,
            [this, then, ok] {
                joinWorker();
                (this->*then)(ok);
            },
            Qt::QueuedConnection);
    });
}

void ConvertJob::joinWorker() {
    if (m_worker.joinable()) m_worker.join();
}

void ConvertJob::releaseComponents() {
    joinWorker();
    m_mp3E.reset();
    m_wmaE.reset();
    m_wavD.reset();
}

} // namespace convert
