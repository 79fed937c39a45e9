#pragma once
// The file list's view (llist): a flat tree view over the list model, with the
// faded logo behind the rows, sort icons in the header and the list's keys.
#include "library/FileListModel.h"

#include <QIcon>
#include <QTreeView>

// The list model with the pictures the widgets show.
class FileListItemModel : public FileListModel {
    Q_OBJECT
public:
    using FileListModel::FileListModel;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    mutable QHash<QString, QIcon> m_icons;
};

class FileListView : public QTreeView {
    Q_OBJECT
public:
    explicit FileListView(QWidget* parent = nullptr);

    void setShowLogo(bool shown);
    bool showLogo() const { return m_showLogo; }
    // True while a drag started from the list is in progress.
    bool draggingFromList() const { return m_dragging; }

    // The picture under the pointer while files are dragged: a file picture and the count.
    static QPixmap dragPicture(const QIcon& icon, int count, const QFont& font);

    // The rows in list order that are selected.
    QList<int> selectedRows() const;
    void selectAllRows();
    void invertSelection();

signals:
    void refreshRequested();     // F5
    void deleteRequested();      // Delete with items present
    void playRequested(int row); // double click
    void contextMenuRequested(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions actions) override;

private:
    bool m_showLogo = false;
    bool m_dragging = false;
    QPixmap m_logo;
};
