#pragma once
// General-module helpers that need widgets.
#include <QColor>
#include <QString>

class QDialog;
class QFont;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
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

// OK (the default button) and Cancel of a dialog, named okBut and cancelBUT as
// the language files know them, right-aligned in `row`. Cancel sets *result to
// 2 and rejects the dialog; the caller connects OK.
struct OkCancelButtons {
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QHBoxLayout* row = nullptr;
};
OkCancelButtons MakeOkCancel(QDialog* dialog, int* result);

} // namespace mainMod
