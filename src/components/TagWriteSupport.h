#pragma once
// Small pieces shared by the MP3 and WMA tag writers.
#include "core/Result.h"

#include <QByteArray>
#include <QString>

#include <taglib/audioproperties.h>
#include <taglib/tfilestream.h>
#include <taglib/tstring.h>

#include <cerrno>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace TagLib::ASF {
class Tag;
}

namespace tagwrite {

// An owned file descriptor.
class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : m_fd(fd) {}
    ~UniqueFd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    void reset(int fd) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

// What must not change when only a tag does.
struct AudioShape {
    int milliseconds = 0, bitrate = 0, sampleRate = 0, channels = 0;
    bool operator==(const AudioShape&) const = default;
};
inline AudioShape ShapeOf(const TagLib::AudioProperties* p) {
    AudioShape s;
    if (p) s = {p->lengthInMilliseconds(), p->bitrate(), p->sampleRate(), p->channels()};
    return s;
}

inline TagLib::String ToTagLib(const QString& s) {
    return TagLib::String(s.toStdString(), TagLib::String::UTF8);
}
inline QString FromTagLib(const TagLib::String& s) {
    return QString::fromStdString(s.to8Bit(true));
}

// A TagLib stream over a duplicate of fd, at the start of the file (TagLib's
// readers expect that); closing it leaves fd open.
std::unique_ptr<TagLib::FileStream> StreamOn(int fd, bool readOnly);

// length bytes at offset (fewer at the end of the file); empty on error.
QByteArray ReadAt(int fd, qint64 offset, qint64 length);

// The first value of a WMA attribute as text (numbers in decimal); "" when the
// attribute is missing, otherType when its first value is of another kind.
QString AsfFirstValue(const TagLib::ASF::Tag* tag, const char* name,
                      const QString& otherType = QString());

// The message for a file that could not be opened for writing.
Status OpenFailure(int error);
// Opens a regular file for reading and writing into fd; its status in st.
Status OpenRegularFile(const QByteArray& path, UniqueFd& fd, struct stat& st);

} // namespace tagwrite
