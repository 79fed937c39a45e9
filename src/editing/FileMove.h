#pragma once
// Renaming a file without ever replacing another. rename() replaces an
// existing target silently, and a look before the rename leaves a gap in which
// another program may create that name, so the kernel is asked to refuse the
// target itself: renameat2(RENAME_NOREPLACE), or where the file system does not
// take that flag, link() to the new name (which also refuses an existing one)
// and unlink() of the old one. Paths are raw name bytes (FileNameCodec::encode).
#include "core/Result.h"

#include <QByteArray>

namespace FileMove {

// Fails, with the reason, when the target exists, the source is missing, or the
// file system refuses; nothing is changed then.
Status RenameNoReplace(const QByteArray& from, const QByteArray& to);

// Writers that can only replace (QSaveFile) write a file of our own beside the
// target, which is then put in place by RenameNoReplace. Reserve creates that
// empty file in folder, hidden, named prefix + random + extension (tag writers
// go by the extension).
Result<QString> ReserveBeside(const QString& folder, const QString& prefix,
                              const QString& extension);
// Moves the reserved file onto path unless path exists; the reserved file is
// removed when that fails.
Status PlaceReserved(const QString& reserved, const QString& path);

// True when another open file holds an exclusive lock (flock) on the file.
bool IsLocked(const QByteArray& path);

// The renameat2 call in use; tests put in one that refuses the flag as some
// file systems do. nullptr restores the system's.
using RenameCall = int (*)(int, const char*, int, const char*, unsigned int);
void SetRenameCall(RenameCall call);

} // namespace FileMove
