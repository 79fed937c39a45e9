#include "library/widgets/FileListView.h"

#include "core/widgets/Artwork.h"

#include <QApplication>
#include <QDrag>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMimeData>
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

QPixmap FileListView::dragPicture(const QIcon& icon, int count, const QFont& font) {
    // Small, so that the drop target stays in sight: the first file's picture and
    // the number of files dragged.
    const QString text = QString::number(count);
    const QFontMetrics fm(font);
    const int side = 32;
    const QSize size(side + 6 + fm.horizontalAdvance(text) + 8, side);
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    icon.paint(&p, QRect(0, 0, side, side));
    const QRect badge(side + 2, (side - fm.height()) / 2 - 2, size.width() - side - 2,
                      fm.height() + 4);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x2a, 0x86, 0xa6));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(badge, badge.height() / 2.0, badge.height() / 2.0);
    p.setPen(Qt::white);
    p.setFont(font);
    p.drawText(badge, Qt::AlignCenter, text);
    return picture;
}

void FileListView::startDrag(Qt::DropActions actions) {
    const QModelIndexList rows = selectionModel()->selectedRows(0);
    if (rows.isEmpty()) return;
    QMimeData* data = model()->mimeData(rows);
    if (!data) return;
    m_dragging = true;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    const QIcon icon = rows.first().data(Qt::DecorationRole).value<QIcon>();
    const QPixmap picture = dragPicture(icon, static_cast<int>(rows.size()), font());
    drag->setPixmap(picture);
    drag->setHotSpot(QPoint(picture.height() / 2, picture.height() / 2));
    drag->exec(actions, defaultDropAction());
    m_dragging = false;
}
