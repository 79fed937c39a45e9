#include "core/widgets/WindowHelpers.h"

#include "core/Formatting.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidgetItem>
#include <QWidget>

namespace mainMod {

namespace {

const QString kEllipsis = QStringLiteral("...");

QString compactToChars(const QString& path, int count) {
    if (path.size() <= count) return path;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = slash < 0 ? path : path.mid(slash);
    if (name.size() + kEllipsis.size() > count) {
        // Not even the file name fits: keep its start.
        const int keep = std::max(0, count - static_cast<int>(kEllipsis.size()));
        return (slash < 0 ? path : path.mid(slash + 1)).left(keep) + kEllipsis.left(count);
    }
    const qsizetype head = count - name.size() - kEllipsis.size();
    return path.left(head) + kEllipsis + name;
}

} // namespace

QString CompactPath(const QString& path, int pixelWidth, int charCount, const QFont& font) {
    QString result = path;
    if (pixelWidth >= 1)
        result = QFontMetrics(font).elidedText(path, Qt::ElideMiddle, pixelWidth);
    else if (charCount > 0)
        result = compactToChars(path, charCount);
    return CutAtNul(result);
}

QString CompactPath(const QString& path, int pixelWidth, int charCount) {
    return CompactPath(path, pixelWidth, charCount, QApplication::font());
}

void MakeTopmost(QWidget* window) {
    if (!window) return;
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    window->show();
}

void SelectAllText(QLineEdit* edit) {
    if (!edit) return;
    edit->setSelection(0, static_cast<int>(edit->text().size()));
    edit->setFocus();
}

void SetRowColor(QTreeWidgetItem* item, const QColor& colour) {
    if (!item) return;
    for (int c = 0; c < std::max(1, item->columnCount()); ++c)
        item->setForeground(c, colour);
}

OkCancelButtons MakeOkCancel(QDialog* dialog, int* result) {
    OkCancelButtons b;
    b.ok = new QPushButton(QStringLiteral("OK"), dialog);
    b.ok->setObjectName(QStringLiteral("okBut"));
    b.ok->setDefault(true);
    b.cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    b.cancel->setObjectName(QStringLiteral("cancelBUT"));
    QObject::connect(b.cancel, &QPushButton::clicked, dialog, [dialog, result] {
        *result = 2;
        dialog->reject();
    });
    b.row = new QHBoxLayout;
    b.row->addStretch(1);
    b.row->addWidget(b.ok);
    b.row->addWidget(b.cancel);
    return b;
}

} // namespace mainMod
