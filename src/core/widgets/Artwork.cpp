#include "core/widgets/Artwork.h"

#include <QPainter>
#include <QSvgRenderer>

namespace Artwork {

QString ResourcePath(const QString& name) {
    return QStringLiteral(":/icons/%1.svg").arg(name);
}

QIcon Icon(const QString& name) {
    return QIcon(ResourcePath(name));
}

QPixmap Picture(const QString& name, const QSize& size) {
    QSvgRenderer svg(ResourcePath(name));
    if (!svg.isValid()) return QPixmap();
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    svg.render(&painter);
    return pixmap;
}

} // namespace Artwork
