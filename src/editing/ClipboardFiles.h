#pragma once
// A list of files as the clipboard carries it for Linux file managers: a URI
// list, and the GNOME form ("copy" and one URI a line) that GTK file managers
// paste, plus the paths as plain text for everything else.
#include <QStringList>

class QMimeData;

namespace ClipboardFiles {

inline const QString UriListType = QStringLiteral("text/uri-list");
inline const QString GnomeType = QStringLiteral("x-special/gnome-copied-files");

// Null when no path is non-empty; the caller owns the result.
QMimeData* MimeData(const QStringList& paths);
// The paths read back from a URI list (for tests and pasting).
QStringList PathsOf(const QMimeData& data);

} // namespace ClipboardFiles
