#include "core/widgets/Artwork.h"

#include <QPainter>
#include <QSvgRenderer>

// Resources of a static library must be registered from the global namespace.
static void initQuaveroResources() {
    Q_INIT_RESOURCE(quavero);
}

namespace Artwork {

void Init() {
    initQuaveroResources();
}

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
