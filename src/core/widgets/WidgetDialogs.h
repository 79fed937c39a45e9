#pragma once
// The real dialogs: QMessageBox and QFileDialog.
#include "core/Dialogs.h"

class QWidget;

class WidgetDialogs : public Dialogs {
public:
    explicit WidgetDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    Answer MsgBox(const QString& text, int style, const QString& title) override;
    QString BrowseForFolder(const QString& title, const QString& startFolder) override;
    int ChooseOption(const QString& title, const QStringList& choices, int selected) override;

private:
    QWidget* m_parent;
};
