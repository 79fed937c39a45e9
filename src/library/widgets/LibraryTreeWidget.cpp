#include "library/widgets/LibraryTreeWidget.h"

#include "core/widgets/Artwork.h"
#include "library/FileListModel.h"
#include "library/NodeKeys.h"

#include <QDragMoveEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QStyledItemDelegate>

namespace {

const char* const kNodeMime = "application/x-quavero-tree-node";

bool isEditableKind(const QString& prefix) {
    return prefix == NodeKeys::VirtualFolderPrefix || prefix == NodeKeys::ArtistPrefix ||
           prefix == NodeKeys::AlbumPrefix;
}

// Nodes whose picture shows an open folder while expanded.
bool opensFolder(const QString& key) {
    const QString prefix = NodeKeys::prefixOf(key);
    return prefix == NodeKeys::ArtistPrefix || prefix == NodeKeys::AlbumPrefix ||
           prefix == NodeKeys::VirtualFolderPrefix || key == NodeKeys::AudioCds ||
           key == NodeKeys::VirtualFolders;
}

// Hands a finished edit to the tree instead of writing it into the node: the
// rename decides what the node shows afterwards.
class RenameDelegate : public QStyledItemDelegate {
public:
    explicit RenameDelegate(LibraryTreeWidget* tree) : QStyledItemDelegate(tree), m_tree(tree) {}
    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            m_tree->finishRename(index, line->text());
    }

private:
    LibraryTreeWidget* m_tree;
};

} // namespace

LibraryTreeWidget::LibraryTreeWidget(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("tv1"));
    setHeaderHidden(true);
    setColumnCount(1);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    setIconSize(QSize(16, 16));

    m_dragTimer.setObjectName(QStringLiteral("dragTimer"));
    m_dragTimer.setSingleShot(true);
    m_dragTimer.setInterval(AutoExpandMs);
    connect(&m_dragTimer, &QTimer::timeout, this, [this] {
        if (m_dragHighlight) m_dragHighlight->setExpanded(true);
    });
    connect(this, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* i) { setPicture(i, true); });
    connect(this, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* i) { setPicture(i, false); });
    setItemDelegate(new RenameDelegate(this));
}

void LibraryTreeWidget::finishRename(const QModelIndex& index, const QString& newText) {
    QTreeWidgetItem* item = itemFromIndex(index);
    if (!item) return;
    const QString old = item->text(0);
    emit nodeRenamed(keyOf(item), old, newText.trimmed());
}

QString LibraryTreeWidget::keyOf(const QTreeWidgetItem* item) const {
    return item ? item->data(0, KeyRole).toString() : QString();
}

QString LibraryTreeWidget::tagOf(const QTreeWidgetItem* item) const {
    return item ? item->data(0, TagRole).toString() : QString();
}

int LibraryTreeWidget::branchOrder(const QString& key) {
    static const QStringList order = {NodeKeys::Library, NodeKeys::Filters, NodeKeys::Ratings,
                                      NodeKeys::VirtualFolders, NodeKeys::AudioCds};
    const qsizetype i = order.indexOf(key);
    return i < 0 ? static_cast<int>(order.size()) : static_cast<int>(i);
}

void LibraryTreeWidget::setPicture(QTreeWidgetItem* item, bool expanded) {
    const QString key = keyOf(item);
    QString image = item->data(0, ImageRole).toString();
    QString selected = item->data(0, SelectedImageRole).toString();
    if (opensFolder(key)) {
        if (key == NodeKeys::VirtualFolders)
            image = selected = expanded ? QStringLiteral("myf_open") : QStringLiteral("myf_close");
        else if (NodeKeys::prefixOf(key) != NodeKeys::VirtualFolderPrefix)
            image = selected = expanded ? QStringLiteral("f_open") : QStringLiteral("f_close");
        else
            image = expanded ? QStringLiteral("f_open") : QStringLiteral("f_close");
        item->setData(0, ImageRole, image);
    }
    QIcon icon = Artwork::Icon(image);
    if (selected != image) icon.addFile(Artwork::ResourcePath(selected), QSize(), QIcon::Selected);
    item->setIcon(0, icon);
}

QTreeWidgetItem* LibraryTreeWidget::makeItem(const TreeNode& n) const {
    auto* item = new QTreeWidgetItem;
    item->setText(0, n.text);
    item->setData(0, KeyRole, n.key);
    item->setData(0, TagRole, n.tag);
    item->setData(0, ImageRole, n.image);
    item->setData(0, SelectedImageRole, n.selectedImage);
    if (n.replacementText) item->setForeground(0, QColor(0, 0, 255));
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled;
    const QString prefix = NodeKeys::prefixOf(n.key);
    if (isEditableKind(prefix)) flags |= Qt::ItemIsEditable;
    if (prefix == NodeKeys::AlbumPrefix) flags |= Qt::ItemIsDragEnabled;
    item->setFlags(flags);
    return item;
}

void LibraryTreeWidget::addNodes(const QList<TreeNode>& nodes) {
    // New nodes are put together off the tree and attached in one step per
    // parent: inserting thousands of nodes one by one into a shown tree costs
    // the view a layout each time.
    QHash<QString, QTreeWidgetItem*> created;
    QList<QTreeWidgetItem*> attachParents;
    QHash<QTreeWidgetItem*, QList<QTreeWidgetItem*>> attachChildren;
    QList<QTreeWidgetItem*> topLevel;
    for (const TreeNode& n : nodes) {
        if (m_nodes.contains(n.key) || created.contains(n.key))
            continue; // a duplicate key adds nothing
        QTreeWidgetItem* item = nullptr;
        if (n.parentKey.isEmpty()) {
            item = makeItem(n);
            topLevel.append(item);
        } else if (QTreeWidgetItem* fresh = created.value(n.parentKey)) {
            item = makeItem(n);
            fresh->addChild(item);
        } else if (QTreeWidgetItem* existing = m_nodes.value(n.parentKey)) {
            item = makeItem(n);
            auto it = attachChildren.find(existing);
            if (it == attachChildren.end()) {
                attachParents.append(existing);
                it = attachChildren.insert(existing, {});
            }
            it->append(item);
        } else {
            continue; // no parent: nothing to hang it on
        }
        setPicture(item, false);
        created.insert(n.key, item);
    }
    m_adding = true;
    for (QTreeWidgetItem* parent : std::as_const(attachParents))
        parent->addChildren(attachChildren.value(parent));
    for (QTreeWidgetItem* item : std::as_const(topLevel)) {
        const int order = branchOrder(keyOf(item));
        int at = topLevelItemCount();
        for (int i = 0; i < topLevelItemCount(); ++i)
            if (branchOrder(keyOf(topLevelItem(i))) > order) {
                at = i;
                break;
            }
        insertTopLevelItem(at, item);
    }
    m_nodes.insert(created);
    m_adding = false;
}

void LibraryTreeWidget::removeChildren(const QString& key) {
    QTreeWidgetItem* item = m_nodes.value(key);
    if (!item) return;
    std::function<void(QTreeWidgetItem*)> forget = [&](QTreeWidgetItem* i) {
        for (int c = 0; c < i->childCount(); ++c) {
            m_nodes.remove(keyOf(i->child(c)));
            forget(i->child(c));
        }
    };
    forget(item);
    qDeleteAll(item->takeChildren());
}

void LibraryTreeWidget::removeNode(const QString& key) {
    QTreeWidgetItem* item = m_nodes.value(key);
    if (!item) return;
    removeChildren(key);
    m_nodes.remove(key);
    delete item;
}

void LibraryTreeWidget::clearNodes() {
    m_nodes.clear();
    clear();
}

void LibraryTreeWidget::sortChildren(const QString& key) {
    if (QTreeWidgetItem* item = m_nodes.value(key)) item->sortChildren(0, Qt::AscendingOrder);
}

void LibraryTreeWidget::rekey(QTreeWidgetItem* item, const QString& key, const QString& text) {
    m_adding = true;
    m_nodes.remove(keyOf(item));
    item->setData(0, KeyRole, key);
    item->setText(0, text);
    m_nodes.insert(key, item);
    m_adding = false;
}

QString LibraryTreeWidget::keyPath(const QTreeWidgetItem* item) const {
    QString path;
    for (const QTreeWidgetItem* i = item; i; i = i->parent())
        path = path.isEmpty() ? keyOf(i) : keyOf(i) + QLatin1Char('\\') + path;
    return path;
}

QString LibraryTreeWidget::selectedKey() const {
    return keyOf(currentItem());
}

void LibraryTreeWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F5) {
        emit refreshRequested();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void LibraryTreeWidget::mousePressEvent(QMouseEvent* event) {
    // The node under the pointer becomes the selected node, whichever button. For
    // the left button the view selects it itself: selecting it here first would
    // make the view take the click for a second click on a selected node and
    // start renaming it at once.
    if (event->button() != Qt::LeftButton)
        if (QTreeWidgetItem* item = itemAt(event->position().toPoint()))
            if (item != currentItem()) setCurrentItem(item);
    QTreeWidget::mousePressEvent(event);
}

void LibraryTreeWidget::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton)
        emit contextMenuRequested(event->globalPosition().toPoint());
}

QStringList LibraryTreeWidget::mimeTypes() const {
    return {QString::fromLatin1(kNodeMime), QString::fromLatin1(FileListModel::KeysMimeType)};
}

QMimeData* LibraryTreeWidget::mimeData(const QList<QTreeWidgetItem*>& items) const {
    auto* mime = new QMimeData;
    if (!items.isEmpty())
        mime->setData(QString::fromLatin1(kNodeMime), keyOf(items.first()).toUtf8());
    return mime;
}

void LibraryTreeWidget::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* mime = event->mimeData();
    if (mime->hasFormat(QString::fromLatin1(FileListModel::KeysMimeType)) ||
        mime->hasFormat(QString::fromLatin1(kNodeMime)))
        event->acceptProposedAction();
    else
        event->ignore();
}

void LibraryTreeWidget::dragMoveEvent(QDragMoveEvent* event) {
    QTreeWidgetItem* over = itemAt(event->position().toPoint());
    if (over != m_dragHighlight) {
        m_dragHighlight = over;
        if (over)
            m_dragTimer.start();
        else
            m_dragTimer.stop();
    }
    QTreeWidget::dragMoveEvent(event);
    if (over) event->acceptProposedAction();
}

void LibraryTreeWidget::dragLeaveEvent(QDragLeaveEvent* event) {
    m_dragHighlight = nullptr;
    m_dragTimer.stop();
    QTreeWidget::dragLeaveEvent(event);
}

void LibraryTreeWidget::dropEvent(QDropEvent* event) {
    m_dragTimer.stop();
    m_dragHighlight = nullptr;
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    const QMimeData* mime = event->mimeData();
    event->setDropAction(Qt::IgnoreAction); // the tree rebuilds itself; Qt moves nothing
    event->accept();
    if (!target) return;
    const QString targetKey = keyOf(target);
    if (mime->hasFormat(QString::fromLatin1(FileListModel::KeysMimeType))) {
        const QString keys =
            QString::fromUtf8(mime->data(QString::fromLatin1(FileListModel::KeysMimeType)));
        emit filesDropped(targetKey, keys.split(QLatin1Char('\n'), Qt::SkipEmptyParts));
    } else if (mime->hasFormat(QString::fromLatin1(kNodeMime))) {
        const QString dragged = QString::fromUtf8(mime->data(QString::fromLatin1(kNodeMime)));
        if (NodeKeys::prefixOf(dragged) == NodeKeys::AlbumPrefix &&
            NodeKeys::prefixOf(targetKey) == NodeKeys::ArtistPrefix)
            emit albumDropped(dragged, targetKey);
    }
}
