#include "core/SystemInfo.h"

#include "core/Formatting.h"

#include <QLocale>
#include <QSysInfo>
#include <QtGlobal>

#include <cdio/version.h>
#include <lame/lame.h>
#include <sqlite3.h>
#include <taglib/taglib.h>
#include <zlib.h>
extern "C" {
#include <libavutil/avutil.h>
}

namespace SystemInfo {

QString English(int, const QString& english) {
    return english;
}

InfoRows PlatformRows(const Label& label) {
    return {
        {label(OperatingSystemText, QStringLiteral("Operating system")),
         QSysInfo::prettyProductName() + QStringLiteral(" (") + QSysInfo::kernelType() +
             QLatin1Char(' ') + QSysInfo::kernelVersion() + QStringLiteral(", ") +
             QSysInfo::currentCpuArchitecture() + QLatin1Char(')')},
        {QStringLiteral("Qt"), QString::fromLatin1(qVersion())},
        {QStringLiteral("SQLite"), QString::fromLatin1(sqlite3_libversion())},
        {QStringLiteral("TagLib"), QStringLiteral("%1.%2.%3")
                                       .arg(TAGLIB_MAJOR_VERSION)
                                       .arg(TAGLIB_MINOR_VERSION)
                                       .arg(TAGLIB_PATCH_VERSION)},
        {QStringLiteral("FFmpeg"), QString::fromLatin1(av_version_info())},
        {QStringLiteral("LAME"), QString::fromLatin1(get_lame_version())},
        {QStringLiteral("libcdio"), QString::fromLatin1(cdio_version_string)},
        {QStringLiteral("zlib"), QString::fromLatin1(zlibVersion())},
    };
}

InfoRows LibraryRows(const LibraryFacts& facts, const Label& label) {
    const QString unknown = QStringLiteral("-");
    return {
        {label(DataFolderText, QStringLiteral("Data folder")),
         facts.dataFolder.isEmpty() ? unknown : facts.dataFolder},
        {label(DatabaseText, QStringLiteral("Database")),
         facts.databasePath.isEmpty() ? unknown : facts.databasePath},
        {label(DatabaseSizeText, QStringLiteral("Database size")),
         facts.databaseSize < 0 ? unknown
                                : mainMod::FormatSize(static_cast<double>(facts.databaseSize))},
        {label(FileCountText, QStringLiteral("Files in the library")),
         facts.fileCount < 0 ? unknown : QLocale().toString(facts.fileCount)},
    };
}

QString Report(const LibraryFacts& facts) {
    QString out;
    for (const auto& row : PlatformRows() + LibraryRows(facts))
        out += row.first + QStringLiteral(": ") + row.second + QLatin1Char('\n');
    return out;
}

} // namespace SystemInfo
