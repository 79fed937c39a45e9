#include "components/PlayableFile.h"

#include "components/AudioFile.h"
#include "core/FileNameCodec.h"

#include <taglib/asffile.h>
#include <taglib/mpegfile.h>
#include <taglib/wavfile.h>

#include <sys/stat.h>

namespace PlayableFile {

namespace {

// The contents must parse as the type the extension names, with audio in it:
// a script or a binary renamed to .mp3 has no MPEG frame, no ASF header and no
// RIFF/WAVE chunks.
bool holdsAudio(const QByteArray& raw, AudioType type) {
    QuietTagLib();
    switch (type) {
    case AudioType::Mp3: {
        TagLib::MPEG::File f(raw.constData(), true, TagLib::AudioProperties::Fast);
        return f.isValid() && f.firstFrameOffset() >= 0 && f.audioProperties() &&
               f.audioProperties()->sampleRate() > 0;
    }
    case AudioType::Wma: {
        TagLib::ASF::File f(raw.constData(), true, TagLib::AudioProperties::Fast);
        return f.isValid() && f.audioProperties() && f.audioProperties()->sampleRate() > 0;
    }
    case AudioType::Wav: {
        TagLib::RIFF::WAV::File f(raw.constData(), true, TagLib::AudioProperties::Fast);
        return f.isValid() && f.audioProperties() && f.audioProperties()->sampleRate() > 0;
    }
    case AudioType::None:
        break;
    }
    return false;
}

} // namespace

Verdict Check(const QString& path) {
    const QByteArray raw = FileNameCodec::encode(path);
    struct stat st {};
    if (::stat(raw.constData(), &st) != 0) return {Refusal::Missing};
    if (!S_ISREG(st.st_mode)) return {Refusal::NotRegular};
    const AudioType type = AudioTypeOf(QByteArrayView(raw));
    if (type == AudioType::None) return {Refusal::UnsupportedType};
    if (!holdsAudio(raw, type)) return {Refusal::NotAudio};
    return {};
}

} // namespace PlayableFile
