#include "library/widgets/DividerSplitter.h"

#include <QMouseEvent>
#include <QPainter>

DividerHandle::DividerHandle(Qt::Orientation orientation, QSplitter* parent)
    : QSplitterHandle(orientation, parent) {}

void DividerHandle::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), m_dragging ? QColor(0x80, 0x80, 0x80) : palette().color(QPalette::Button));
}

void DividerHandle::mousePressEvent(QMouseEvent* event) {
    m_dragging = true;
    update();
    QSplitterHandle::mousePressEvent(event);
}

void DividerHandle::mouseReleaseEvent(QMouseEvent* event) {
    m_dragging = false;
    update();
    QSplitterHandle::mouseReleaseEvent(event);
}

DividerHandle* DividerSplitter::divider() const {
    return count() > 1 ? static_cast<DividerHandle*>(handle(1)) : nullptr;
}

QSplitterHandle* DividerSplitter::createHandle() {
    return new DividerHandle(orientation(), this);
}
