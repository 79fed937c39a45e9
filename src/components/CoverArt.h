#pragma once
// Finding a cover picture for an audio file.
#include <QByteArray>
#include <QString>

namespace CoverArt {

// The picture files looked for in the file's folder, in this order (any letter case).
inline const char* const kFolderNames[] = {"folder.jpg", "folder.gif", "album.jpg", "cover.jpg"};

// A picture file in the file's folder; else the file's embedded picture (ID3v2
// APIC, front cover first; WMA WM/Picture) written once to the cache folder;
// else "". The key names the cache file.
QString Find(const QString& audioPath, qint64 key);
// The embedded picture's bytes and MIME type; empty when there is none.
QByteArray Embedded(const QString& audioPath, QString* mimeType = nullptr);
// $XDG_CACHE_HOME/quavero/covers/ (created when needed).
QString CacheFolder();

} // namespace CoverArt
