#include "components/AudioFile.h"

#include "components/HeadHash.h"
#include "components/ReadStream.h"
#include "core/FileNameCodec.h"
#include "core/LibrarySchema.h"

#include <taglib/asffile.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/mpegfile.h>
#include <taglib/tdebuglistener.h>
#include <taglib/wavfile.h>

#include <cmath>
#include <mutex>

namespace {

class SilentListener : public TagLib::DebugListener {
public:
    void printMessage(const TagLib::String&) override {}
};

bool endsWithNoCase(QByteArrayView name, const char* ext) {
    const qsizetype n = 4;
    if (name.size() < n) return false;
    const char* p = name.data() + name.size() - n;
    for (qsizetype i = 0; i < n; ++i) {
        char c = p[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        if (c != ext[i]) return false;
    }
    return true;
}

std::string utf8(const TagLib::String& s) {
    return s.isEmpty() ? std::string() : s.to8Bit(true);
}

void fillCommon(AudioFacts& f, const TagLib::Tag* tag) {
    if (!tag) return;
    f.artist = utf8(tag->artist());
    f.album = utf8(tag->album());
    f.title = utf8(tag->title());
    f.comment = utf8(tag->comment());
    f.genre = utf8(tag->genre());
    if (tag->year() > 0) f.year = std::to_string(tag->year());
    if (tag->track() > 0) f.track = std::to_string(tag->track());
}

void fillProperties(AudioFacts& f, const TagLib::AudioProperties* p) {
    if (!p) return;
    f.duration = std::round(p->lengthInMilliseconds() * 10.0) / 10000.0;
    f.bitrate = p->bitrate() * 1000;
    f.frequency = p->sampleRate();
    f.channels = p->channels();
}

} // namespace

void QuietTagLib() {
    static std::once_flag once;
    std::call_once(once, [] {
        static SilentListener listener;
        TagLib::setDebugListener(&listener);
    });
}

AudioType AudioTypeOf(QByteArrayView name) {
    if (endsWithNoCase(name, ".mp3")) return AudioType::Mp3;
    if (endsWithNoCase(name, ".wma")) return AudioType::Wma;
    if (endsWithNoCase(name, ".wav")) return AudioType::Wav;
    return AudioType::None;
}

const char* AudioTypeName(AudioType type) {
    switch (type) {
    case AudioType::Mp3:
        return "MP3";
    case AudioType::Wma:
        return "WMA";
    case AudioType::Wav:
        return "WAV";
    case AudioType::None:
        break;
    }
    return "";
}

AudioFacts ReadAudioFacts(const char* path, AudioType type, long knownSize) {
    QuietTagLib();
    AudioFacts f;
    try {
        if (type == AudioType::None) return f;
        ReadStream stream(path, knownSize);
        if (!stream.isOpen()) return f;
        const TagLib::ByteVector& head = stream.head();
        f.headHash = HeadHash::of(QByteArrayView(head.data(), head.size()));
        switch (type) {
        case AudioType::Mp3: {
            TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), true,
                                    TagLib::AudioProperties::Average);
            if (!file.isValid()) break;
            f.readable = true;
            fillCommon(f, file.tag());
            // The track as written ("7/12" stays "7/12").
            if (file.hasID3v2Tag()) {
                const auto& frames = file.ID3v2Tag()->frameListMap();
                const auto it = frames.find("TRCK");
                if (it != frames.end() && !it->second.isEmpty())
                    f.track = utf8(it->second.front()->toString());
            }
            fillProperties(f, file.audioProperties());
            break;
        }
        case AudioType::Wma: {
            TagLib::ASF::File file(&stream, true, TagLib::AudioProperties::Average);
            if (!file.isValid()) break;
            f.readable = true;
            fillCommon(f, file.tag());
            fillProperties(f, file.audioProperties());
            break;
        }
        case AudioType::Wav: {
            TagLib::RIFF::WAV::File file(&stream, true, TagLib::AudioProperties::Average);
            if (!file.isValid()) break;
            f.readable = true;
            if (file.hasID3v2Tag())
                fillCommon(f, file.ID3v2Tag());
            else if (file.hasInfoTag())
                fillCommon(f, file.InfoTag());
            fillProperties(f, file.audioProperties());
            break;
        }
        case AudioType::None:
            break;
        }
    } catch (...) {
        const std::optional<qint64> hash = f.headHash;
        f = AudioFacts();
        f.headHash = hash;
    }
    if (!f.genre.empty()) f.genreId = LibrarySchema::GenreNumber(QString::fromStdString(f.genre));
    return f;
}

AudioFacts ReadAudioFacts(const QString& path) {
    const QByteArray raw = FileNameCodec::encode(path);
    return ReadAudioFacts(raw.constData(), AudioTypeOf(QByteArrayView(raw)));
}
