#include "library/FileListModel.h"

#include "core/Database.h"
#include "core/FileNameCodec.h"
#include "core/JetText.h"

#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <numeric>

const char* const FileListModel::KeysMimeType = "application/x-quavero-list-keys";

FileListModel::FileListModel(QObject* parent) : QAbstractTableModel(parent) {
    for (int c = 0; c < ListColumns::Count; ++c)
        m_headers << QString::fromLatin1(ListColumns::SourceField(c));
}

void FileListModel::setColumns(const QList<int>& columns) {
    beginResetModel();
    m_columns = columns;
    m_sortSection = -1;
    endResetModel();
}

void FileListModel::setHeaderTexts(const QStringList& twelveTexts) {
    for (int c = 0; c < std::min<int>(ListColumns::Count, twelveTexts.size()); ++c)
        m_headers[c] = twelveTexts.at(c);
    if (!m_columns.isEmpty())
        emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(m_columns.size()) - 1);
}

void FileListModel::clear() {
    beginResetModel();
    m_rows.clear();
    m_order.clear();
    m_text.clear();
    m_positionOfId.clear();
    endResetModel();
}

FileListModel::FillResult FileListModel::fill(db::Recordset& rs) {
    FillResult result;
    beginResetModel();
    m_rows.clear();
    m_order.clear();
    m_text.clear();
    m_positionOfId.clear();

    static const char* names[FieldCount] = {"filename",     "md_track", "md_title",
                                            "md_artist",    "md_album", "md_year",
                                            "md_genredesc", "fullpath", "type"};
    int fields[FieldCount];
    for (int f = 0; f < FieldCount; ++f)
        fields[f] = rs.fieldIndex(names[f]);
    // In a virtual-folder join FILES.id is the second "id"-like column; VFFILES
    // has none, so "id" is always the file's.
    const int idField = rs.fieldIndex("id");
    const int duration = rs.fieldIndex("duration");
    const int size = rs.fieldIndex("size");
    const int bitrate = rs.fieldIndex("bitrate");
    const int frequency = rs.fieldIndex("frequency");
    const int folder = rs.fieldIndex("VF_ID");

    while (rs.next()) {
        if (result.count == 0 && folder >= 0) result.firstVirtualFolder = rs.integer(folder);
        Row row;
        row.id = rs.integer(idField);
        for (int f = 0; f < FieldCount; ++f) {
            row.offset[f] = static_cast<quint32>(m_text.size());
            const QByteArrayView v = rs.utf8(fields[f]);
            m_text.append(v.data(), v.size());
        }
        row.offset[FieldCount] = static_cast<quint32>(m_text.size());
        row.duration = rs.number(duration);
        row.size = rs.number(size);
        row.bitrate = rs.number(bitrate);
        row.frequency = rs.number(frequency);
        result.totalSize += row.size;
        m_rows.push_back(row);
        ++result.count;
    }
    m_order.resize(m_rows.size());
    std::iota(m_order.begin(), m_order.end(), 0u);
    // A sorted list stays sorted when it is refilled.
    if (m_sortSection >= 0 && m_sortSection < m_columns.size())
        sortRows(m_columns.at(m_sortSection), m_sortOrder);
    endResetModel();
    return result;
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_order.size());
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QString FileListModel::field(const Row& row, Field f) const {
    const quint32 from = row.offset[f];
    return QString::fromUtf8(m_text.constData() + from,
                             static_cast<qsizetype>(row.offset[f + 1] - from));
}

QString FileListModel::cellText(const Row& row, int column) const {
    ListColumns::RowValues v;
    switch (column) {
    case ListColumns::FileName:
        return field(row, FileName);
    case ListColumns::Track:
        v.track = field(row, Track);
        break;
    case ListColumns::Title:
        v.title = field(row, Title);
        break;
    case ListColumns::Artist:
        v.artist = field(row, Artist);
        break;
    case ListColumns::Album:
        v.album = field(row, Album);
        break;
    case ListColumns::Year:
        v.year = field(row, Year);
        break;
    case ListColumns::Genre:
        v.genre = field(row, Genre);
        break;
    case ListColumns::Folder:
        v.fullpath = field(row, FullPath);
        break;
    default:
        v.duration = row.duration;
        v.size = row.size;
        v.bitrate = row.bitrate;
        v.frequency = row.frequency;
        break;
    }
    return ListColumns::Text(column, v);
}

QString FileListModel::text(int row, int section) const {
    if (row < 0 || row >= rowCount() || section < 0 || section >= m_columns.size())
        return QString();
    return cellText(rowAt(row), m_columns.at(section));
}

QString FileListModel::key(int row) const {
    return row >= 0 && row < rowCount() ? QStringLiteral("k") + QString::number(rowAt(row).id)
                                        : QString();
}

QString FileListModel::tag(int row) const {
    return row >= 0 && row < rowCount() ? field(rowAt(row), FullPath) : QString();
}

qint64 FileListModel::id(int row) const {
    return row >= 0 && row < rowCount() ? rowAt(row).id : 0;
}

QString FileListModel::typeKey(int row) const {
    return row >= 0 && row < rowCount() ? field(rowAt(row), Type).toLower() : QString();
}

int FileListModel::rowOfKey(const QString& key) const {
    if (!key.startsWith(QLatin1Char('k'))) return -1;
    bool ok = false;
    const qint64 wanted = key.mid(1).toLongLong(&ok);
    if (!ok) return -1;
    if (m_positionOfId.isEmpty() && !m_order.empty()) {
        m_positionOfId.reserve(static_cast<qsizetype>(m_order.size()));
        for (size_t pos = 0; pos < m_order.size(); ++pos)
            m_positionOfId.insert(m_rows[m_order[pos]].id, static_cast<int>(pos));
    }
    return m_positionOfId.value(wanted, -1);
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= m_columns.size())
        return QVariant();
    const Row& row = rowAt(index.row());
    switch (role) {
    case Qt::DisplayRole: {
        const int column = m_columns.at(index.column());
        const QString text = cellText(row, column);
        return column == ListColumns::FileName || column == ListColumns::Folder
                   ? FileNameCodec::displayText(text)
                   : text;
    }
    case Qt::TextAlignmentRole:
        return ListColumns::IsRightAligned(m_columns.at(index.column()))
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case KeyRole:
        return QStringLiteral("k") + QString::number(row.id);
    case TagRole:
        return field(row, FullPath);
    case IdRole:
        return row.id;
    case IconKeyRole:
        return index.column() == 0 ? field(row, Type).toLower() : QVariant();
    default:
        return QVariant();
    }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    const int column = m_columns.at(section);
    if (role == Qt::DisplayRole || role == Qt::EditRole) return m_headers.at(column);
    if (role == Qt::TextAlignmentRole)
        return ListColumns::IsRightAligned(column) ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role == SortIconRole && section == m_sortSection)
        return m_sortOrder == Qt::DescendingOrder ? QStringLiteral("up") : QStringLiteral("down");
    return QVariant();
}

bool FileListModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                                  int role) {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size() ||
        (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    m_headers[m_columns.at(section)] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList FileListModel::mimeTypes() const {
    return {QString::fromLatin1(KeysMimeType), QStringLiteral("text/uri-list")};
}

QMimeData* FileListModel::mimeData(const QModelIndexList& indexes) const {
    QList<int> rows;
    for (const QModelIndex& i : indexes)
        if (i.column() == 0) rows << i.row();
    std::sort(rows.begin(), rows.end());
    QByteArray keys;
    QList<QUrl> urls;
    for (int r : std::as_const(rows)) {
        keys += key(r).toUtf8() + '\n';
        urls << QUrl::fromEncoded(FileNameCodec::fileUrl(tag(r))); // names that are not UTF-8 too
    }
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(KeysMimeType), keys);
    mime->setUrls(urls);
    return mime;
}

void FileListModel::sortBySection(int section, Qt::SortOrder order) {
    if (section < 0 || section >= m_columns.size()) return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<qint64> idsBefore;
    idsBefore.reserve(static_cast<size_t>(before.size()));
    for (const QModelIndex& i : before)
        idsBefore.push_back(rowAt(i.row()).id);

    sortRows(m_columns.at(section), order);
    m_sortSection = section;
    m_sortOrder = order;

    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        after << index(
            rowOfKey(QStringLiteral("k") + QString::number(idsBefore[static_cast<size_t>(i)])),
            before[i].column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(m_columns.size()) - 1);
}

void FileListModel::sortRows(int column, Qt::SortOrder order) {
    // The shown texts, computed once per row, in the database's text order, so
    // that a sorted column agrees with the tree and with "order by".
    std::vector<QByteArray> keys(m_rows.size());
    for (size_t r = 0; r < m_rows.size(); ++r)
        keys[r] = cellText(m_rows[r], column).toUtf8();
    std::stable_sort(m_order.begin(), m_order.end(), [&](quint32 a, quint32 b) {
        const int c = JetText::compare(keys[a], keys[b]);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    m_positionOfId.clear();
}

void FileListModel::ClearSortIcons() {
    m_sortSection = -1;
    if (!m_columns.isEmpty())
        emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(m_columns.size()) - 1);
}
