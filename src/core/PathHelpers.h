#pragma once
// File-system helpers of the general module, in Linux form: "/" is the
// separator, "//" marks a network path, and an absolute path stands where a
// Windows path would start with a drive letter.
#include <QString>

namespace mainMod {

// Trims, collapses doubled separators (keeping a leading "//"), and adds or
// removes one trailing separator as asked.
QString NormalizePath(const QString& path, bool trailingSeparator);
// True when the path's attributes can be read (files and folders alike).
bool FileExists(const QString& path);
// The text after the last separator, or the whole text.
QString FileNameOf(const QString& path);
// The executable's folder with exactly one trailing separator (cached).
QString AppFolder();
// Not blank and free of the characters that are invalid in file names.
bool IsValidFileName(const QString& text);
// As IsValidFileName, and not beginning with a dot.
bool IsValidNamePart(const QString& text);
// An absolute path that is an existing folder or can be created.
bool IsUsableFolder(const QString& path);
// True when another open file holds an exclusive lock (flock) on the file.
bool IsFileLocked(const QString& path);

struct TempFileName {
    QString path;   // folder + name
    QString folder; // with a trailing separator
    QString name;   // "~" + 7 hex digits + extension
};
// A name not yet taken in the temporary folder; extension with its leading ".".
TempFileName MakeTempFileName(const QString& extension);

// Linux has no short names: the path itself.
QString ShortPath(const QString& path);
// The path with one trailing separator removed; names are already long here.
QString LongPath(const QString& path);

} // namespace mainMod
