// WMA: the records of the ASF header are changed one by one (AsfHeader); TagLib
// reads the result back.
#include "components/AsfHeader.h"
#include "components/AudioFile.h"
#include "components/FileReplacer.h"
#include "components/TagService.h"
#include "components/TagWriteSupport.h"
#include "components/TagWriters.h"
#include "core/LibrarySchema.h"

#include <taglib/asffile.h>
#include <taglib/tfilestream.h>

#include <fcntl.h>
#include <sys/stat.h>

using namespace tagwrite;

namespace {

// Headers beyond this (pictures of hundreds of megabytes) are not loaded.
constexpr quint64 MaxHeaderSize = quint64(256) << 20;

const QString AlbumTitle = QStringLiteral("WM/AlbumTitle");
const QString YearName = QStringLiteral("WM/Year");
const QString TrackNumber = QStringLiteral("WM/TrackNumber");
const QString ZeroBasedTrack = QStringLiteral("WM/Track");
const QString GenreName = QStringLiteral("WM/Genre");

// The value a field is given, as TagLib reads it back.
QString expectedValue(int code, const QString& text) {
    if (code == TagService::GenreNumber_) return LibrarySchema::GenreName(text.trimmed().toInt());
    if (code == TagService::Track && !text.isEmpty() && !text.contains(QLatin1Char('/')))
        return QString::number(text.toUInt());
    return text;
}

// A text field: the content-description string and every attribute of the
// same name (some writers keep the field there as well, e.g. an extended "Author").
void setDescription(AsfHeader& h, AsfHeader::Description which, const QString& name,
                    const QString& text) {
    h.setDescription(which, text);
    if (text.isEmpty())
        h.removeAttribute(name, Qt::CaseInsensitive);
    else
        h.setAttribute(name, AsfHeader::Text, AsfHeader::text(text), false, Qt::CaseInsensitive);
}

void setText(AsfHeader& h, const QString& name, const QString& text) {
    if (text.isEmpty())
        h.removeAttribute(name);
    else
        h.setAttribute(name, AsfHeader::Text, AsfHeader::text(text), true);
}

void setTrack(AsfHeader& h, const QString& text) {
    if (text.isEmpty()) {
        h.removeAttribute(TrackNumber);
        h.removeAttribute(ZeroBasedTrack);
        return;
    }
    if (text.contains(QLatin1Char('/')))
        h.setAttribute(TrackNumber, AsfHeader::Text, AsfHeader::text(text), true);
    else
        h.setAttribute(TrackNumber, AsfHeader::Dword,
                       AsfHeader::number(AsfHeader::Dword, text.toUInt()), true);
    // The zero-based track number only where the file has one, in its own type.
    const int type = h.attributeType(ZeroBasedTrack);
    if (type < 0) return;
    const unsigned n = TagWriters::LeadingNumber(text);
    if (n == 0)
        h.removeAttribute(ZeroBasedTrack);
    else if (type == AsfHeader::Text)
        h.setAttribute(ZeroBasedTrack, AsfHeader::Text, AsfHeader::text(QString::number(n - 1)),
                       false);
    else {
        const auto t = type == AsfHeader::Word || type == AsfHeader::Qword
                           ? static_cast<AsfHeader::Type>(type)
                           : AsfHeader::Dword;
        h.setAttribute(ZeroBasedTrack, t, AsfHeader::number(t, n - 1), false);
    }
}

Status apply(AsfHeader& h, int code, const QString& text) {
    if (AsfHeader::text(text).size() > AsfHeader::MaxValueBytes)
        return Status::failure(QStringLiteral("the value is too long for a WMA tag"));
    switch (code) {
    case TagService::Artist:
        setDescription(h, AsfHeader::Author, QStringLiteral("Author"), text);
        break;
    case TagService::Title:
        setDescription(h, AsfHeader::Title, QStringLiteral("Title"), text);
        break;
    case TagService::Album:
        setText(h, AlbumTitle, text);
        break;
    case TagService::Year:
        setText(h, YearName, text);
        break;
    case TagService::Track:
        setTrack(h, text);
        break;
    case TagService::GenreNumber_:
    case TagService::GenreText:
        setText(h, GenreName, expectedValue(code, text));
        break;
    default:
        return Status::failure(QStringLiteral("unknown tag code"));
    }
    return Status();
}

QString readBack(const TagLib::ASF::Tag* t, int code) {
    switch (code) {
    case TagService::Artist:
        return FromTagLib(t->artist());
    case TagService::Title:
        return FromTagLib(t->title());
    case TagService::Album:
        return AsfFirstValue(t, "WM/AlbumTitle", QStringLiteral("?"));
    case TagService::Year:
        return AsfFirstValue(t, "WM/Year", QStringLiteral("?"));
    case TagService::Track:
        return AsfFirstValue(t, "WM/TrackNumber", QStringLiteral("?"));
    default:
        return AsfFirstValue(t, "WM/Genre", QStringLiteral("?"));
    }
}

// TagLib reads the file with the new value and the old audio properties.
Status check(TagLib::IOStream* stream, int code, const QString& text, const AudioShape& before) {
    TagLib::ASF::File f(stream, true, TagLib::AudioProperties::Average);
    if (!f.isValid() || readBack(f.tag(), code) != expectedValue(code, text))
        return Status::failure(QStringLiteral("the file does not read back with the new tag"));
    if (ShapeOf(f.audioProperties()) != before)
        return Status::failure(QStringLiteral("the audio properties of the file changed"));
    return Status();
}

Status withReason(const Status& s, const char* outcome) {
    return Status::failure(s.error() + QLatin1String(outcome));
}

} // namespace

Status TagWriters::WriteWma(const QByteArray& path, int code, const QString& text) {
    return RewriteWmaHeader(
        path, [&](AsfHeader& h) { return apply(h, code, text); },
        [&](TagLib::IOStream* stream, const AudioShape& before) {
            return check(stream, code, text, before);
        });
}

Status TagWriters::RewriteWmaHeader(
    const QByteArray& path, const std::function<Status(AsfHeader&)>& edit,
    const std::function<Status(TagLib::IOStream*, const AudioShape&)>& verify) {
    QuietTagLib();
    UniqueFd fd;
    struct stat st {};
    if (Status opened = OpenRegularFile(path, fd, st); !opened) return opened;
    AudioShape before;
    {
        TagLib::FileStream stream(path.constData(), true);
        TagLib::ASF::File f(&stream, true, TagLib::AudioProperties::Average);
        if (!f.isValid()) return Status::failure(QStringLiteral("TagLib cannot read the file"));
        before = ShapeOf(f.audioProperties());
    }
    const quint64 oldSize = AsfHeader::headerSize(ReadAt(fd.get(), 0, 30));
    if (oldSize < 30 || oldSize > static_cast<quint64>(st.st_size) || oldSize > MaxHeaderSize)
        return Status::failure(QStringLiteral("damaged WMA header"));
    const QByteArray old = ReadAt(fd.get(), 0, static_cast<qint64>(oldSize));
    Result<AsfHeader> parsed = AsfHeader::parse(old);
    if (!parsed) return Status::failure(parsed.error());
    AsfHeader& h = parsed.value();
    if (Status s = edit(h); !s) return s;
    QByteArray header = h.render();

    if (static_cast<quint64>(header.size()) == oldSize) {
        // The same size: the header is overwritten where it is.
        if (header != old) {
            const ssize_t n =
                ::pwrite(fd.get(), header.constData(), static_cast<size_t>(header.size()), 0);
            if (n != header.size())
                return Status::failure(QStringLiteral("the tag could not be written: ") +
                                       SystemError(n < 0 ? errno : ENOSPC));
        }
        TagLib::FileStream stream(path.constData(), true);
        if (Status s = verify(&stream, before); !s)
            return withReason(s, " (the audio is unchanged)");
        return Status();
    }

    // Another size: a new file beside the old one; the file-size field follows
    // where it was right.
    const qint64 newSize = st.st_size - static_cast<qint64>(oldSize) + header.size();
    if (h.fileSize() == static_cast<quint64>(st.st_size)) {
        h.setFileSize(static_cast<quint64>(newSize));
        header = h.render();
    }
    FileReplacer out;
    if (Status s = out.begin(path, newSize); !s) return s;
    if (Status s = out.append(header); !s) return s;
    if (Status s = out.appendRange(fd.get(), static_cast<qint64>(oldSize),
                                   st.st_size - static_cast<qint64>(oldSize));
        !s)
        return s;
    struct stat now {};
    if (::fstat(out.fd(), &now) != 0 || now.st_size != newSize)
        return Status::failure(
            QStringLiteral("the new file could not be written completely; the file is unchanged"));
    {
        if (Status s = verify(StreamOn(out.fd(), true).get(), before); !s)
            return withReason(s, " (the new file was not used; the file is unchanged)");
    }
    return out.commit();
}
