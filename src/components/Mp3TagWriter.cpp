// MP3: TagLib edits the ID3v2 tag (and the ID3v1 tag where there is one).
#include "components/AudioFile.h"
#include "components/FileReplacer.h"
#include "components/TagService.h"
#include "components/TagWriteSupport.h"
#include "components/TagWriters.h"
#include "core/LibrarySchema.h"

#include <taglib/id3v1tag.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tfilestream.h>

#include <algorithm>
#include <iterator>

#include <fcntl.h>
#include <sys/stat.h>

using namespace tagwrite;

namespace {

// The tags a save keeps: the ID3v2 version stays (2.2 and 2.3 are written as
// 2.3), ID3v1 is written only where there is one.
struct KeptTags {
    TagLib::ID3v2::Version version = TagLib::ID3v2::v3;
    bool v1 = false;

    explicit KeptTags(TagLib::MPEG::File& f) {
        if (f.hasID3v2Tag() && f.ID3v2Tag()->header()->majorVersion() == 4)
            version = TagLib::ID3v2::v4;
        v1 = f.hasID3v1Tag();
    }
    bool save(TagLib::MPEG::File& f) const {
        const int tags = TagLib::MPEG::File::ID3v2 | (v1 ? TagLib::MPEG::File::ID3v1 : 0);
        return f.save(tags, TagLib::File::StripNone, version, TagLib::File::DoNotDuplicate);
    }
};

// TagLib's own factory marks the ID3v2.3 frames that 2.4 withdrew (the volume
// adjustment RVAD, where older tools keep ReplayGain, EQUA, TSIZ, TIME, TRDA) as
// to be discarded, so that no tag it renders keeps them. They are the file's own:
// this factory reads them as they stand.
template <typename T> struct ArgumentOf;
template <typename R, typename C, typename A> struct ArgumentOf<R (C::*)(A) const> {
    using type = A;
};
// Frame::Header is a protected name in TagLib; its type is taken from the
// signature of the function to override.
struct FrameFactoryTypes : TagLib::ID3v2::FrameFactory {
    using HeaderPtr = ArgumentOf<decltype(&FrameFactoryTypes::updateFrame)>::type;
};

class KeepingFrameFactory : public FrameFactoryTypes {
public:
    static KeepingFrameFactory* instance() {
        static KeepingFrameFactory factory;
        return &factory;
    }

protected:
    bool updateFrame(HeaderPtr header) const override {
        static const char* const withdrawn[] = {"RVAD", "EQUA", "TSIZ", "TIME", "TRDA"};
        const TagLib::ByteVector id = header->frameID();
        if (header->version() == 3 && std::any_of(std::begin(withdrawn), std::end(withdrawn),
                                                  [&id](const char* w) { return id == w; }))
            return true;
        return FrameFactory::updateFrame(header);
    }
};

void apply(TagLib::MPEG::File& f, const KeptTags& kept, int code, const QString& text) {
    TagLib::ID3v2::Tag* v2 = f.ID3v2Tag(true);
    TagLib::ID3v1::Tag* v1 = kept.v1 ? f.ID3v1Tag() : nullptr;
    const TagLib::String value = ToTagLib(text);
    switch (code) {
    case TagService::Artist:
        v2->setArtist(value);
        if (v1) v1->setArtist(value);
        break;
    case TagService::Album:
        v2->setAlbum(value);
        if (v1) v1->setAlbum(value);
        break;
    case TagService::Title:
        v2->setTitle(value);
        if (v1) v1->setTitle(value);
        break;
    case TagService::Year:
        v2->setYear(text.toUInt());
        if (v1) v1->setYear(text.toUInt());
        break;
    case TagService::Track: {
        v2->removeFrames("TRCK");
        if (!text.isEmpty()) {
            auto* frame =
                new TagLib::ID3v2::TextIdentificationFrame("TRCK", TagLib::String::Latin1);
            frame->setText(value);
            v2->addFrame(frame);
        }
        if (v1) v1->setTrack(TagWriters::LeadingNumber(text));
        break;
    }
    case TagService::GenreNumber_: {
        const int n = text.trimmed().toInt();
        v2->setGenre(ToTagLib(LibrarySchema::GenreName(n)));
        if (v1) v1->setGenreNumber(n <= 147 ? static_cast<unsigned>(n) : 255u);
        break;
    }
    case TagService::GenreText:
        v2->setGenre(value);
        if (v1) v1->setGenreNumber(static_cast<unsigned>(LibrarySchema::GenreNumber(text)));
        break;
    default:
        break;
    }
}

// The field as TagLib reads it from the ID3v2 tag.
QString readBack(TagLib::MPEG::File& f, int code) {
    const TagLib::ID3v2::Tag* t = f.ID3v2Tag(true);
    switch (code) {
    case TagService::Artist:
        return FromTagLib(t->artist());
    case TagService::Album:
        return FromTagLib(t->album());
    case TagService::Title:
        return FromTagLib(t->title());
    case TagService::Year:
        return t->year() ? QString::number(t->year()) : QString();
    case TagService::Track: {
        const auto& frames = t->frameListMap()["TRCK"];
        return frames.isEmpty() ? QString() : FromTagLib(frames.front()->toString());
    }
    default:
        return FromTagLib(t->genre());
    }
}

QByteArray bytes(const TagLib::ByteVector& v) {
    return QByteArray(v.data(), static_cast<qsizetype>(v.size()));
}

} // namespace

Status TagWriters::WriteMp3(const QByteArray& path, int code, const QString& text) {
    QuietTagLib();
    UniqueFd fd;
    struct stat st {};
    if (Status opened = OpenRegularFile(path, fd, st); !opened) return opened;

    // The change is made on the file as it is; whether the new tag fits the room
    // of the old one decides between writing in place and writing a new file.
    long long audioStart = 0, oldTagSize = 0, newTagSize = 0;
    bool fits = false, hadV1 = false, keepsV1 = false;
    TagLib::ByteVector rendered, renderedV1;
    {
        TagLib::MPEG::File f(path.constData(), KeepingFrameFactory::instance(), false);
        if (!f.isValid()) return Status::failure(QStringLiteral("TagLib cannot read the file"));
        if (f.readOnly()) return Status::failure(QStringLiteral("the file is read-only"));
        audioStart = f.firstFrameOffset();
        if (audioStart < 0) return Status::failure(QStringLiteral("the file holds no MPEG audio"));
        const KeptTags kept(f);
        hadV1 = kept.v1;
        const bool hadV2 = f.hasID3v2Tag();
        oldTagSize = hadV2 ? f.ID3v2Tag()->header()->completeTagSize() : 0;
        apply(f, kept, code, text);
        // An emptied tag is removed by the save; its file is rewritten.
        if (!f.ID3v2Tag()->isEmpty()) rendered = f.ID3v2Tag()->render(kept.version);
        newTagSize = rendered.size();
        keepsV1 = kept.v1 && !f.ID3v1Tag()->isEmpty();
        fits = hadV2 && newTagSize > 0 && newTagSize == oldTagSize && keepsV1 == hadV1 &&
               ReadAt(fd.get(), 0, 3) == "ID3";
        if (fits) {
            if (keepsV1) renderedV1 = f.ID3v1Tag()->render();
            if (!kept.save(f))
                return Status::failure(QStringLiteral("TagLib could not save the tag"));
        }
    }
    if (fits) {
        struct stat now {};
        const bool same =
            ::fstat(fd.get(), &now) == 0 && now.st_size == st.st_size &&
            ReadAt(fd.get(), 0, newTagSize) == bytes(rendered) &&
            (!keepsV1 || ReadAt(fd.get(), st.st_size - 128, 128) == bytes(renderedV1));
        if (!same)
            return Status::failure(
                QStringLiteral("the tag could not be written (the audio is unchanged)"));
        return Status();
    }

    // A new file beside the old one, checked before it replaces it.
    const qint64 newSize = st.st_size - oldTagSize + newTagSize - (hadV1 && !keepsV1 ? 128 : 0);
    AudioShape before;
    {
        TagLib::FileStream stream(path.constData(), true);
        TagLib::MPEG::File f(&stream, TagLib::ID3v2::FrameFactory::instance(), true,
                             TagLib::AudioProperties::Average);
        before = ShapeOf(f.audioProperties());
    }
    FileReplacer out;
    if (Status s = out.begin(path, std::max<qint64>(st.st_size, newSize)); !s) return s;
    if (Status s = out.appendRange(fd.get(), 0, st.st_size); !s) return s;
    QString expected;
    {
        const auto stream = StreamOn(out.fd(), false);
        TagLib::MPEG::File f(stream.get(), KeepingFrameFactory::instance(), false);
        if (!f.isValid()) return Status::failure(QStringLiteral("TagLib cannot read the copy"));
        const KeptTags kept(f);
        apply(f, kept, code, text);
        expected = readBack(f, code);
        if (!kept.save(f)) return Status::failure(QStringLiteral("TagLib could not save the tag"));
    }
    struct stat now {};
    if (::fstat(out.fd(), &now) != 0 || now.st_size != newSize)
        return Status::failure(QStringLiteral("the new file could not be written completely (is "
                                              "the disk full?); the file is unchanged"));
    {
        const auto stream = StreamOn(out.fd(), true);
        TagLib::MPEG::File f(stream.get(), TagLib::ID3v2::FrameFactory::instance(), true,
                             TagLib::AudioProperties::Average);
        if (!f.isValid() || readBack(f, code) != expected)
            return Status::failure(QStringLiteral(
                "the new file does not read back with the new tag; the file is unchanged"));
        if (ShapeOf(f.audioProperties()) != before ||
            f.firstFrameOffset() != audioStart - oldTagSize + newTagSize)
            return Status::failure(
                QStringLiteral("the audio of the new file differs; the file is unchanged"));
    }
    return out.commit();
}
