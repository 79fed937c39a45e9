#pragma once
// Applies language texts to a window and captures a window's texts, by keys
// built from object names: "mainForm.Caption" for the window title,
// "mainForm.smLang(2).Caption" for a control of a control array (dynamic
// property "index"), "listForm.llist.ColumnHeaders[1].Text" for a column.
// Controls without an objectName, and Qt's own "qt_" children, are skipped;
// child windows (dialogs parented to the window) are forms of their own.
#include <QString>
#include <QStringList>

class QWidget;
class clsMUI;

namespace FormLang {

// A control whose dynamic property of this name is true has its text set by the
// program; it gets no key.
inline constexpr const char* NoLangTextProperty = "noLangText";

// Sets every text the manager holds a key for; other texts stay as designed.
// Does nothing when the manager holds no texts.
void SetFormLang(const clsMUI& lang, QWidget* form);
// With the application's manager, when a language is loaded (LCID > 0).
void SetFormLang(QWidget* form);
// Stores the window's current non-empty texts under their keys.
void CaptureFormData(clsMUI& lang, QWidget* form);
// Every key the window offers, in capture order (for checks of the language files).
QStringList FormLangKeys(QWidget* form, const QString& projectID = QString());

} // namespace FormLang
