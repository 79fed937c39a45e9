#include "editing/ClipboardFiles.h"

#include "core/FileNameCodec.h"

#include <QMimeData>

namespace ClipboardFiles {

QMimeData* MimeData(const QStringList& paths) {
    QByteArrayList urls;
    QStringList names;
    for (const QString& path : paths) {
        if (path.isEmpty()) continue;
        // Encoded from the bytes on disk, so names that are not UTF-8 survive.
        urls << FileNameCodec::fileUrl(path);
        names << path;
    }
    if (urls.isEmpty()) return nullptr;
    auto* data = new QMimeData;
    data->setData(UriListType, urls.join("\r\n") + "\r\n");
    data->setData(GnomeType, "copy\n" + urls.join('\n'));
    data->setText(names.join(QLatin1Char('\n')));
    return data;
}

QStringList PathsOf(const QMimeData& data) {
    QStringList paths;
    for (const QByteArray& line : data.data(UriListType).split('\n')) {
        const QByteArray url = line.trimmed();
        if (url.isEmpty() || url.startsWith('#')) continue;
        if (!url.startsWith("file://")) continue;
        paths << FileNameCodec::decode(QByteArray::fromPercentEncoding(url.mid(7)));
    }
    return paths;
}

} // namespace ClipboardFiles
