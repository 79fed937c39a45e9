#include "convert/TagObject.h"

#include "components/AsfHeader.h"
#include "components/AudioFile.h"
#include "components/FileReplacer.h"
#include "components/TagService.h"
#include "components/TagWriteSupport.h"
#include "components/TagWriters.h"
#include "core/FileNameCodec.h"

#include <taglib/asffile.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <functional>

#include <sys/stat.h>

using namespace tagwrite;

namespace {

// The tag codes of the fields TagService writes; the comment is written here.
constexpr int NoCode = -1;
constexpr std::array<int, AudioTagObject::FieldCount> Codes = {
    TagService::Title,     TagService::Artist, TagService::Album, TagService::Year, NoCode,
    TagService::GenreText, TagService::Track};

QString yearText(unsigned year) {
    return year ? QString::number(year) : QString();
}

// The comment is the COMM frame without description; the others (players'
// private ones such as loudness figures) are left alone.
QList<TagLib::ID3v2::CommentsFrame*> plainComments(TagLib::ID3v2::Tag* tag) {
    QList<TagLib::ID3v2::CommentsFrame*> found;
    for (TagLib::ID3v2::Frame* frame : tag->frameListMap()["COMM"])
        if (auto* c = dynamic_cast<TagLib::ID3v2::CommentsFrame*>(frame);
            c && c->description().isEmpty())
            found.append(c);
    return found;
}

QString readComment(TagLib::MPEG::File& f) {
    if (f.hasID3v2Tag()) {
        const auto found = plainComments(f.ID3v2Tag());
        return found.isEmpty() ? QString() : FromTagLib(found.front()->text());
    }
    return f.hasID3v1Tag() ? FromTagLib(f.ID3v1Tag()->comment()) : QString();
}

void setComment(TagLib::ID3v2::Tag* tag, const QString& text) {
    auto found = plainComments(tag);
    if (text.isEmpty()) {
        for (auto* c : found)
            tag->removeFrame(c);
        return;
    }
    if (found.isEmpty()) {
        auto* c = new TagLib::ID3v2::CommentsFrame(TagLib::String::Latin1);
        c->setLanguage("eng");
        tag->addFrame(c);
        found.append(c);
    }
    found.front()->setText(ToTagLib(text));
}

Status guarded(const std::function<Status()>& body) {
    try {
        return body();
    } catch (const std::exception& e) {
        return Status::failure(QStringLiteral("TagLib failed: ") +
                               QString::fromLocal8Bit(e.what()));
    }
}

} // namespace

bool AudioTagObject::Open(const QString& path) {
    m_error.clear();
    m_path.clear();
    Values values;
    const Status s = guarded([&] { return read(FileNameCodec::encode(path), values); });
    if (!s) {
        m_error = s.error();
        return false;
    }
    m_path = path;
    m_values = m_opened = values;
    return true;
}

void AudioTagObject::Clear() {
    for (QString& v : m_values)
        v.clear();
}

bool AudioTagObject::Save() {
    m_error.clear();
    if (m_path.isEmpty()) {
        m_error = QStringLiteral("no file is open");
        return false;
    }
    for (int i = 0; i < FieldCount; ++i) {
        if (m_values[i] == m_opened[i]) continue;
        const Status s =
            Codes[i] == NoCode
                ? guarded([&] { return writeComment(FileNameCodec::encode(m_path), m_values[i]); })
                : TagService::WriteFileTag(m_path, Codes[i], m_values[i]);
        if (!s) {
            m_error = s.error();
            return false;
        }
        m_opened[i] = m_values[i];
    }
    return true;
}

Status Id3TagObject::read(const QByteArray& path, Values& v) const {
    QuietTagLib();
    TagLib::MPEG::File f(path.constData(), false);
    if (!f.isValid()) return Status::failure(QStringLiteral("TagLib cannot read the file"));
    if (f.firstFrameOffset() < 0)
        return Status::failure(QStringLiteral("the file holds no MPEG audio"));
    const TagLib::Tag* t = f.tag();
    v[TitleTag] = FromTagLib(t->title());
    v[ArtistTag] = FromTagLib(t->artist());
    v[AlbumTag] = FromTagLib(t->album());
    v[YearTag] = yearText(t->year());
    v[CommentTag] = readComment(f);
    v[GenreTag] = FromTagLib(t->genre());
    const auto track =
        f.hasID3v2Tag() ? f.ID3v2Tag()->frameListMap()["TRCK"] : TagLib::ID3v2::FrameList();
    v[TrackTag] = !track.isEmpty()  ? FromTagLib(track.front()->toString())
                  : t->track() != 0 ? QString::number(t->track())
                                    : QString();
    return Status();
}

Status Id3TagObject::writeComment(const QByteArray& name, const QString& text) const {
    QuietTagLib();
    const QByteArray path = ResolvedPath(name);
    if (path.isEmpty()) return Status::failure(QStringLiteral("cannot find the file"));
    UniqueFd fd;
    struct stat st {};
    if (Status opened = OpenRegularFile(path, fd, st); !opened) return opened;
    AudioShape before;
    {
        TagLib::FileStream stream(path.constData(), true);
        TagLib::MPEG::File f(&stream, TagLib::ID3v2::FrameFactory::instance(), true,
                             TagLib::AudioProperties::Average);
        if (!f.isValid()) return Status::failure(QStringLiteral("TagLib cannot read the file"));
        before = ShapeOf(f.audioProperties());
    }
    // A complete new file, checked before it replaces the old one.
    FileReplacer out;
    const qint64 room = st.st_size + 4 * text.size() + 4096;
    if (Status s = out.begin(path, room); !s) return s;
    if (Status s = out.appendRange(fd.get(), 0, st.st_size); !s) return s;
    {
        const auto stream = StreamOn(out.fd(), false);
        TagLib::MPEG::File f(stream.get(), TagLib::ID3v2::FrameFactory::instance(), false);
        if (!f.isValid()) return Status::failure(QStringLiteral("TagLib cannot read the copy"));
        const auto version = f.hasID3v2Tag() && f.ID3v2Tag()->header()->majorVersion() == 4
                                 ? TagLib::ID3v2::v4
                                 : TagLib::ID3v2::v3;
        const bool v1 = f.hasID3v1Tag();
        setComment(f.ID3v2Tag(true), text);
        if (v1) f.ID3v1Tag()->setComment(ToTagLib(text));
        const int tags = TagLib::MPEG::File::ID3v2 | (v1 ? TagLib::MPEG::File::ID3v1 : 0);
        if (!f.save(tags, TagLib::File::StripNone, version, TagLib::File::DoNotDuplicate))
            return Status::failure(QStringLiteral("TagLib could not save the tag"));
    }
    {
        const auto stream = StreamOn(out.fd(), true);
        TagLib::MPEG::File f(stream.get(), TagLib::ID3v2::FrameFactory::instance(), true,
                             TagLib::AudioProperties::Average);
        if (!f.isValid() || readComment(f) != text || ShapeOf(f.audioProperties()) != before)
            return Status::failure(QStringLiteral(
                "the new file does not read back with the comment; the file is unchanged"));
    }
    return out.commit();
}

Status WmaTagObject::read(const QByteArray& path, Values& v) const {
    QuietTagLib();
    TagLib::ASF::File f(path.constData(), false);
    if (!f.isValid()) return Status::failure(QStringLiteral("TagLib cannot read the file"));
    const TagLib::ASF::Tag* t = f.tag();
    v[TitleTag] = FromTagLib(t->title());
    v[ArtistTag] = FromTagLib(t->artist());
    v[AlbumTag] = AsfFirstValue(t, "WM/AlbumTitle");
    v[YearTag] = AsfFirstValue(t, "WM/Year");
    v[CommentTag] = FromTagLib(t->comment());
    v[GenreTag] = AsfFirstValue(t, "WM/Genre");
    v[TrackTag] = AsfFirstValue(t, "WM/TrackNumber");
    return Status();
}

Status WmaTagObject::writeComment(const QByteArray& name, const QString& text) const {
    QuietTagLib();
    if (AsfHeader::text(text).size() > AsfHeader::MaxValueBytes)
        return Status::failure(QStringLiteral("the value is too long for a WMA tag"));
    const QByteArray path = ResolvedPath(name);
    if (path.isEmpty()) return Status::failure(QStringLiteral("cannot find the file"));
    return TagWriters::RewriteWmaHeader(
        path,
        [&](AsfHeader& h) {
            h.setDescription(AsfHeader::Comment, text);
            return Status();
        },
        [&](TagLib::IOStream* stream, const AudioShape& before) {
            TagLib::ASF::File f(stream, true, TagLib::AudioProperties::Average);
            if (!f.isValid() || FromTagLib(f.tag()->comment()) != text ||
                ShapeOf(f.audioProperties()) != before)
                return Status::failure(
                    QStringLiteral("the file does not read back with the comment"));
            return Status();
        });
}
