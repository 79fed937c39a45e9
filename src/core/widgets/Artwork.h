#pragma once
// The application's pictures, drawn from the SVG resources by name
// ("lib", "rate_3", "logo_small", ...).
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace Artwork {

// Registers the pictures; call once before the first window.
void Init();

QString ResourcePath(const QString& name); // ":/icons/<name>.svg"
QIcon Icon(const QString& name);
// The picture at exactly that size (transparent background); null when missing.
QPixmap Picture(const QString& name, const QSize& size);

} // namespace Artwork
