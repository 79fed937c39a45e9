#include "library/widgets/FileListView.h"

#include "core/widgets/Artwork.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>

QVariant FileListItemModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::DecorationRole && index.column() == 0) {
        const QString type = FileListModel::data(index, IconKeyRole).toString();
        if (type.isEmpty()) return QVariant();
        auto it = m_icons.find(type);
        if (it == m_icons.end()) it = m_icons.insert(type, Artwork::Icon(type));
        return it.value();
    }
    return FileListModel::data(index, role);
}

QVariant FileListItemModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::DecorationRole && orientation == Qt::Horizontal) {
        const QString icon =
            FileListModel::headerData(section, orientation, SortIconRole).toString();
        if (icon == QLatin1String("up"))
            return QApplication::style()->standardIcon(QStyle::SP_ArrowUp);
        if (icon == QLatin1String("down"))
            return QApplication::style()->standardIcon(QStyle::SP_ArrowDown);
        return QVariant();
    }
    return FileListModel::headerData(section, orientation, role);
}

FileListView::FileListView(QWidget* parent) : QTreeView(parent) {
    setObjectName(QStringLiteral("llist"));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(false);
}

void FileListView::setShowLogo(bool shown) {
    m_showLogo = shown;
    if (shown && m_logo.isNull())
        m_logo = Artwork::Picture(QStringLiteral("logo_faded"), QSize(320, 320));
    viewport()->update();
}

void FileListView::paintEvent(QPaintEvent* event) {
    if (m_showLogo && !m_logo.isNull()) {
        QPainter p(viewport());
        p.drawPixmap(viewport()->width() - m_logo.width() - 12,
                     viewport()->height() - m_logo.height() - 12, m_logo);
    }
    QTreeView::paintEvent(event);
}

QList<int> FileListView::selectedRows() const {
    QList<int> rows;
    if (!selectionModel()) return rows;
    for (const QModelIndex& i : selectionModel()->selectedRows())
        rows << i.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void FileListView::selectAllRows() {
    selectAll();
}

void FileListView::invertSelection() {
    if (!model() || model()->rowCount() == 0) return;
    const QItemSelection all(
        model()->index(0, 0),
        model()->index(model()->rowCount() - 1, std::max(0, model()->columnCount() - 1)));
    selectionModel()->select(all, QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
}

void FileListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F5) {
        emit refreshRequested();
        return;
    }
    if (event->key() == Qt::Key_Delete) {
        if (model() && model()->rowCount() > 0) emit deleteRequested();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void FileListView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
        emit playRequested(index.row());
    else
        QTreeView::mouseDoubleClickEvent(event);
}

void FileListView::mouseReleaseEvent(QMouseEvent* event) {
    QTreeView::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton)
        emit contextMenuRequested(event->globalPosition().toPoint());
}

void FileListView::startDrag(Qt::DropActions actions) {
    m_dragging = true;
    QTreeView::startDrag(actions);
    m_dragging = false;
}
