#pragma once
// A read-only TagLib stream that keeps the start and the end of the file in
// memory. TagLib's own stream seeks and reads in small steps (about forty
// system calls for a small MP3); this one needs an open, one fstat, one or two
// preads and a close for most files, which more than doubles the scanner's speed.
#include <taglib/tiostream.h>

#include <string>

class ReadStream : public TagLib::IOStream {
public:
    // knownSize: the file's size when the caller has just stat'ed it (saves a
    // system call), or -1.
    explicit ReadStream(const char* path, long knownSize = -1);
    ~ReadStream() override;
    ReadStream(const ReadStream&) = delete;
    ReadStream& operator=(const ReadStream&) = delete;

    TagLib::FileName name() const override { return m_path.c_str(); }
    TagLib::ByteVector readBlock(unsigned long length) override;
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, unsigned long = 0, unsigned long = 0) override {}
    void removeBlock(unsigned long = 0, unsigned long = 0) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return m_fd >= 0; }
    void seek(long offset, Position p = Beginning) override;
    long tell() const override { return m_pos; }
    long length() override { return m_size; }
    void truncate(long) override {}

    // The start of the file as read when opened: its first 64 KiB or more, or all of it.
    const TagLib::ByteVector& head() const { return m_head; }

private:
    // Copies [at, at + n) into out; false when the bytes are not cached.
    bool fromCache(long at, unsigned long n, TagLib::ByteVector& out) const;
    std::string m_path;
    int m_fd = -1;
    long m_size = 0;
    long m_pos = 0;
    TagLib::ByteVector m_head; // bytes [0, head size)
    long m_tailStart = 0;
    TagLib::ByteVector m_tail; // bytes [m_tailStart, m_size)
};
