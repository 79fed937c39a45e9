#pragma once
// The facts the system-information window reports: platform, library versions,
// and where the library lives.
#include <QList>
#include <QPair>
#include <QString>

struct LibraryFacts {
    QString dataFolder;
    QString databasePath;
    qint64 databaseSize = -1; // bytes; -1 when unknown
    qint64 fileCount = -1;    // files in the library; -1 when unknown
};

using InfoRows = QList<QPair<QString, QString>>;

namespace SystemInfo {

// "Operating system", "Qt", "SQLite", "TagLib", "FFmpeg", "LAME", "libcdio", "zlib".
InfoRows PlatformRows();
InfoRows LibraryRows(const LibraryFacts& facts);
// Everything as "name: value" lines.
QString Report(const LibraryFacts& facts);

} // namespace SystemInfo
