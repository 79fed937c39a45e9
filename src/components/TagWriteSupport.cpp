#include "components/TagWriteSupport.h"

#include "components/FileReplacer.h"
#include "components/TagWriters.h"

#include <QRegularExpression>

#include <taglib/asftag.h>

#include <fcntl.h>

namespace tagwrite {

std::unique_ptr<TagLib::FileStream> StreamOn(int fd, bool readOnly) {
    const int copy = ::dup(fd);
    // The copy shares the file position, which the writes left at the end.
    if (copy >= 0) ::lseek(copy, 0, SEEK_SET);
    return std::make_unique<TagLib::FileStream>(copy, readOnly);
}

QString AsfFirstValue(const TagLib::ASF::Tag* tag, const char* name, const QString& otherType) {
    const TagLib::ASF::AttributeList list = tag->attribute(name);
    if (list.isEmpty()) return QString();
    const TagLib::ASF::Attribute& a = list.front();
    switch (a.type()) {
    case TagLib::ASF::Attribute::UnicodeType:
        return FromTagLib(a.toString());
    case TagLib::ASF::Attribute::DWordType:
        return QString::number(a.toUInt());
    case TagLib::ASF::Attribute::WordType:
        return QString::number(a.toUShort());
    case TagLib::ASF::Attribute::QWordType:
        return QString::number(a.toULongLong());
    default:
        return otherType;
    }
}

QByteArray ReadAt(int fd, qint64 offset, qint64 length) {
    QByteArray out(length, Qt::Uninitialized);
    qint64 done = 0;
    while (done < length) {
        const ssize_t n =
            ::pread(fd, out.data() + done, static_cast<size_t>(length - done), offset + done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return QByteArray();
        if (n == 0) break;
        done += n;
    }
    out.truncate(done);
    return out;
}

Status OpenFailure(int error) {
    if (error == EACCES || error == EPERM || error == EROFS)
        return Status::failure(QStringLiteral("the file is read-only"));
    return Status::failure(QStringLiteral("cannot open the file: ") + SystemError(error));
}

Status OpenRegularFile(const QByteArray& path, UniqueFd& fd, struct stat& st) {
    fd.reset(::open(path.constData(), O_RDWR | O_CLOEXEC));
    if (!fd.valid()) return OpenFailure(errno);
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return Status::failure(QStringLiteral("not a regular file"));
    return Status();
}

} // namespace tagwrite

unsigned TagWriters::LeadingNumber(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d+)"));
    const auto m = re.match(text);
    return m.hasMatch() ? m.captured(1).toUInt() : 0;
}
