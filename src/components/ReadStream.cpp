#include "components/ReadStream.h"

#include <algorithm>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr long kWhole = 256 * 1024; // files up to this size are read at once
constexpr long kHead = 64 * 1024;
constexpr long kTail = 16 * 1024;

bool preadAll(int fd, char* into, long n, long at) {
    while (n > 0) {
        const ssize_t r = ::pread(fd, into, static_cast<size_t>(n), at);
        if (r <= 0) return false;
        into += r;
        n -= r;
        at += r;
    }
    return true;
}

} // namespace

ReadStream::ReadStream(const char* path, long knownSize) : m_path(path) {
    m_fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) return;
    if (knownSize >= 0) {
        m_size = knownSize;
    } else {
        struct stat st {};
        if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(m_fd);
            m_fd = -1;
            return;
        }
        m_size = static_cast<long>(st.st_size);
    }
    const long head = m_size <= kWhole ? m_size : kHead;
    m_head.resize(static_cast<unsigned int>(head));
    if (head > 0 && !preadAll(m_fd, m_head.data(), head, 0)) {
        ::close(m_fd);
        m_fd = -1;
        m_head.clear();
        return;
    }
    m_tailStart = m_size;
    if (m_size > head) {
        m_tailStart = std::max(head, m_size - kTail);
        m_tail.resize(static_cast<unsigned int>(m_size - m_tailStart));
        if (!preadAll(m_fd, m_tail.data(), m_size - m_tailStart, m_tailStart)) {
            m_tail.clear();
            m_tailStart = m_size;
        }
    }
}

ReadStream::~ReadStream() {
    if (m_fd >= 0) ::close(m_fd);
}

bool ReadStream::fromCache(long at, unsigned long n, TagLib::ByteVector& out) const {
    const long end = at + static_cast<long>(n);
    if (end <= static_cast<long>(m_head.size())) {
        out = TagLib::ByteVector(m_head.data() + at, static_cast<unsigned int>(n));
        return true;
    }
    if (at >= m_tailStart && end <= m_size) {
        out = TagLib::ByteVector(m_tail.data() + (at - m_tailStart), static_cast<unsigned int>(n));
        return true;
    }
    return false;
}

TagLib::ByteVector ReadStream::readBlock(unsigned long length) {
    if (m_fd < 0 || length == 0 || m_pos >= m_size) return {};
    const unsigned long n =
        std::min<unsigned long>(length, static_cast<unsigned long>(m_size - m_pos));
    TagLib::ByteVector out;
    if (!fromCache(m_pos, n, out)) {
        out.resize(static_cast<unsigned int>(n));
        const ssize_t r = ::pread(m_fd, out.data(), n, m_pos);
        out.resize(r > 0 ? static_cast<unsigned int>(r) : 0);
    }
    m_pos += static_cast<long>(out.size());
    return out;
}

void ReadStream::seek(long offset, Position p) {
    switch (p) {
    case Beginning:
        m_pos = offset;
        break;
    case Current:
        m_pos += offset;
        break;
    case End:
        m_pos = m_size + offset;
        break;
    }
    if (m_pos < 0) m_pos = 0;
}
