#pragma once
// The rows of the file list: one per FILES record, keyed "k" + id with the full
// path as tag. Values are kept as the database gave them (texts in one UTF-8
// buffer) and formatted only when a cell is shown, so that 100,000 rows fill
// quickly and take little memory.
#include "core/Result.h"
#include "library/ListColumns.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QHash>
#include <QList>
#include <vector>

namespace db {
class Recordset;
}

class FileListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Roles {
        KeyRole = Qt::UserRole + 1, // "k" + id
        TagRole,                    // full path
        IdRole,                     // id as a number
        IconKeyRole,                // lower-cased type: "mp3", "wma", "wav"
        SortIconRole,               // header: "up", "down" or empty
    };

    explicit FileListModel(QObject* parent = nullptr);

    // The list columns shown, in order (ListColumns::Column values).
    void setColumns(const QList<int>& columns);
    const QList<int>& columns() const { return m_columns; }
    void setHeaderTexts(const QStringList& twelveTexts);

    struct FillResult {
        qint64 count = 0;
        double totalSize = 0;
        qint64 firstVirtualFolder = 0; // VF_ID of the first row, when there is one
    };
    // Replaces the rows with the recordset's.
    FillResult fill(db::Recordset& rows);
    void clear();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

    // The text a cell shows (row in list order, section = position among the
    // shown columns).
    QString text(int row, int section) const;
    QString key(int row) const;
    QString tag(int row) const;
    qint64 id(int row) const;
    QString typeKey(int row) const;
    // The row of a key, or -1.
    int rowOfKey(const QString& key) const;

    // Sorts by the shown texts of a column (letter case ignored), stably; later
    // fills keep that order until the columns change.
    void sortBySection(int section, Qt::SortOrder order);
    // Header icons: at most one section shows "up" (descending) or "down".
    int sortSection() const { return m_sortSection; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }
    void ClearSortIcons();

    // MIME type of dragged list items: their keys, one per line.
    static const char* const KeysMimeType;

private:
    enum Field { FileName, Track, Title, Artist, Album, Year, Genre, FullPath, Type, FieldCount };
    struct Row {
        qint64 id;
        quint32 offset[FieldCount + 1];
        double duration, size, bitrate, frequency;
    };
    QString field(const Row& row, Field f) const;
    void sortRows(int column, Qt::SortOrder order);
    QString cellText(const Row& row, int column) const;
    const Row& rowAt(int row) const { return m_rows[m_order[static_cast<size_t>(row)]]; }

    QList<int> m_columns;
    QStringList m_headers;
    std::vector<Row> m_rows;
    std::vector<quint32> m_order; // list position -> row
    QByteArray m_text;
    mutable QHash<qint64, int> m_positionOfId; // filled on first lookup
    int m_sortSection = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
