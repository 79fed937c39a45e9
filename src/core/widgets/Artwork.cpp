#include "core/widgets/Artwork.h"

#include <QHash>
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
    // One icon per picture: tree and list ask for the same few thousands of times.
    static QHash<QString, QIcon> cache;
    auto it = cache.constFind(name);
    if (it == cache.cend()) it = cache.insert(name, QIcon(ResourcePath(name)));
    return it.value();
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
