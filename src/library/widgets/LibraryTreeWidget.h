#pragma once
// The library tree (tv1): nodes addressed by key, pictures that follow the
// expanded state, selection kept by key path, renaming of some nodes, drops
// from the file list and album moves between artists.
#include "library/LibraryTree.h"

#include <QHash>
#include <QTimer>
#include <QTreeWidget>

class LibraryTreeWidget : public QTreeWidget {
    Q_OBJECT
public:
    enum Roles { KeyRole = Qt::UserRole + 1, TagRole, ImageRole, SelectedImageRole };
    static constexpr int AutoExpandMs = 2000;

    explicit LibraryTreeWidget(QWidget* parent = nullptr);

    QTreeWidgetItem* node(const QString& key) const { return m_nodes.value(key); }
    QString keyOf(const QTreeWidgetItem* item) const;
    QString tagOf(const QTreeWidgetItem* item) const;
    // Adds the nodes (parents before children); a key already present is skipped.
    // A top-level node goes to its place among the branches.
    void addNodes(const QList<TreeNode>& nodes);
    void removeNode(const QString& key);
    void removeChildren(const QString& key);
    void clearNodes();
    // Sorts a node's children by text, as a sorted tree does.
    void sortChildren(const QString& key);
    // Gives a node a new key (and text).
    void rekey(QTreeWidgetItem* item, const QString& key, const QString& text);

    // "parentKey\childKey\..." from the top-level node down.
    QString keyPath(const QTreeWidgetItem* item) const;
    QString selectedKey() const;

    // An edit of a node's text has finished (the delegate calls this).
    void finishRename(const QModelIndex& index, const QString& newText);

    // True while files are dragged over the tree (for the auto-expand timer).
    const QTimer& dragTimer() const { return m_dragTimer; }

signals:
    void refreshRequested();
    void contextMenuRequested(const QPoint& globalPos);
    // Files of the list (their keys) dropped onto a node.
    void filesDropped(const QString& targetKey, const QStringList& fileKeys);
    // An album node dropped onto an artist node.
    void albumDropped(const QString& albumKey, const QString& artistKey);
    // A node's text was edited (old text, new trimmed text).
    void nodeRenamed(const QString& key, const QString& oldText, const QString& newText);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    QStringList mimeTypes() const override;

private:
    void setPicture(QTreeWidgetItem* item, bool expanded);
    QTreeWidgetItem* makeItem(const TreeNode& node) const;
    static int branchOrder(const QString& key);
    QHash<QString, QTreeWidgetItem*> m_nodes;
    QTimer m_dragTimer;
    QTreeWidgetItem* m_dragHighlight = nullptr;
    bool m_adding = false;
};
