#pragma once
// The facts the system-information window reports: platform, library versions,
// and where the library lives.
#include <QList>
#include <QPair>
#include <QString>

#include <functional>

struct LibraryFacts {
    QString dataFolder;
    QString databasePath;
    qint64 databaseSize = -1; // bytes; -1 when unknown
    qint64 fileCount = -1;    // files in the library; -1 when unknown
};

using InfoRows = QList<QPair<QString, QString>>;

namespace SystemInfo {

// The words of a row's name: language text `number`, or the English words. The
// report that goes to the clipboard and to "/debug" stays in English, for support.
using Label = std::function<QString(int number, const QString& english)>;
QString English(int number, const QString& english);

// Text numbers of the names that are words (the others are product names).
enum LabelText {
    OperatingSystemText = 903,
    DataFolderText = 904,
    DatabaseText = 905,
    DatabaseSizeText = 906,
    FileCountText = 907,
    LibraryGroupText = 908,
};

// "Operating system", "Qt", "SQLite", "TagLib", "FFmpeg", "LAME", "libcdio", "zlib".
InfoRows PlatformRows(const Label& label = English);
InfoRows LibraryRows(const LibraryFacts& facts, const Label& label = English);
// Everything as "name: value" lines.
QString Report(const LibraryFacts& facts);

} // namespace SystemInfo
