#pragma once
// General-module helpers that need widgets.
#include <QColor>
#include <QString>

class QFont;
class QLineEdit;
class QTreeWidgetItem;
class QWidget;

namespace mainMod {

// With pixelWidth >= 1: the path shortened with an ellipsis in the middle to fit
// that many pixels in the font; else with charCount > 0: at most that many
// characters, keeping the file name; else the path unchanged.
QString CompactPath(const QString& path, int pixelWidth, int charCount);
QString CompactPath(const QString& path, int pixelWidth, int charCount, const QFont& font);
// Topmost without moving, resizing or activating it; shows it.
void MakeTopmost(QWidget* window);
// Selects all of the control's text and gives it the focus.
void SelectAllText(QLineEdit* edit);
// Text colour of an item and all of its columns.
void SetRowColor(QTreeWidgetItem* item, const QColor& colour);

} // namespace mainMod
