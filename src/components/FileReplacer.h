#pragma once
// Replaces a file's contents so that a crash, a kill or a full disk leaves either
// the old file or the new one. The new contents are written to a temporary file
// in the same folder (unnamed where the file system offers O_TMPFILE, so that a
// killed writer leaves nothing behind; else hidden, ".qvtag-XXXXXX"), flushed to
// disk, given the original's mode and owner and renamed over the original.
//
// Paths are raw file-name bytes (FileNameCodec::encode of a library path).
#include "core/Result.h"

#include <QByteArray>
#include <QByteArrayView>

#include <sys/types.h>

class FileReplacer {
public:
    // Room asked for beyond the new file's size before anything is written.
    static constexpr qint64 SpareBytes = qint64(1) << 20;

    FileReplacer() = default;
    ~FileReplacer();
    FileReplacer(const FileReplacer&) = delete;
    FileReplacer& operator=(const FileReplacer&) = delete;

    // Checks the free space for a file of expectedSize bytes and opens the
    // temporary file beside target (an existing regular file, links resolved).
    Status begin(const QByteArray& target, qint64 expectedSize);
    // The temporary file, open for reading and writing.
    int fd() const { return m_fd; }

    // Appends bytes, or length bytes of another file from offset.
    Status append(QByteArrayView bytes);
    Status appendRange(int sourceFd, qint64 offset, qint64 length);

    // Flushes the new contents, gives them the original's mode (and owner where
    // allowed) and renames them over the original. Without commit, the
    // temporary file is removed.
    Status commit();

    // Test seams: skip the free-space check (to meet a full disk for real), and
    // use a named temporary file even where an unnamed one is possible.
    static void setCheckFreeSpace(bool check);
    static void setAllowUnnamed(bool allow);

private:
    Status fail(const QString& what, int error);
    void discard();

    QByteArray m_target, m_folder, m_tempName;
    int m_fd = -1;
    bool m_unnamed = false;
    mode_t m_mode = 0;
    uid_t m_uid = 0;
    gid_t m_gid = 0;
};

// The raw path of the file a path names, with links resolved; empty when it
// does not exist.
QByteArray ResolvedPath(const QByteArray& path);
// "No space left on device" and the like, for messages.
QString SystemError(int error);
