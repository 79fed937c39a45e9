#pragma once
// The splitter between the tree pane and the list; its bar (divLabel) turns grey
// while it is dragged.
#include <QSplitter>
#include <QSplitterHandle>

class DividerHandle : public QSplitterHandle {
    Q_OBJECT
public:
    DividerHandle(Qt::Orientation orientation, QSplitter* parent);
    bool isDragging() const { return m_dragging; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_dragging = false;
};

class DividerSplitter : public QSplitter {
    Q_OBJECT
public:
    using QSplitter::QSplitter;
    DividerHandle* divider() const;
    // Moves the bar as a drag to that x position would.
    void dragDividerTo(int x) { moveSplitter(x, 1); }

protected:
    QSplitterHandle* createHandle() override;
};
