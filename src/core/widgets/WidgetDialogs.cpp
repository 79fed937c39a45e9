#include "core/widgets/WidgetDialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

Dialogs::Answer WidgetDialogs::MsgBox(const QString& text, int style, const QString& title) {
    QMessageBox box(m_parent);
    box.setWindowTitle(title);
    box.setText(text);
    switch (style & 0x70) {
    case Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Information:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    using B = QMessageBox::StandardButton;
    switch (style & 7) {
    case OkCancel:
        box.setStandardButtons(B::Ok | B::Cancel);
        break;
    case AbortRetryIgnore:
        box.setStandardButtons(B::Abort | B::Retry | B::Ignore);
        break;
    case YesNoCancel:
        box.setStandardButtons(B::Yes | B::No | B::Cancel);
        break;
    case YesNo:
        box.setStandardButtons(B::Yes | B::No);
        break;
    case RetryCancel:
        box.setStandardButtons(B::Retry | B::Cancel);
        break;
    default:
        box.setStandardButtons(B::Ok);
        break;
    }
    if (const int second = style & (DefaultButton2 | DefaultButton3)) {
        const QList<QAbstractButton*> buttons = box.buttons();
        const int index = second == DefaultButton2 ? 1 : 2;
        QList<QPushButton*> ordered;
        for (QAbstractButton* b : buttons)
            if (auto* push = qobject_cast<QPushButton*>(b)) ordered.append(push);
        std::sort(ordered.begin(), ordered.end(), [&box](QPushButton* a, QPushButton* b) {
            return box.standardButton(a) < box.standardButton(b);
        });
        if (index < ordered.size()) box.setDefaultButton(ordered[index]);
    }
    switch (box.exec()) {
    case B::Cancel:
        return Cancel;
    case B::Abort:
        return Abort;
    case B::Retry:
        return Retry;
    case B::Ignore:
        return Ignore;
    case B::Yes:
        return Yes;
    case B::No:
        return No;
    default:
        return Ok;
    }
}

QString WidgetDialogs::BrowseForFolder(const QString& title, const QString& startFolder) {
    return QFileDialog::getExistingDirectory(m_parent, title, startFolder);
}
