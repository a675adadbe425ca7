#include "dirs/clistingmodel.h"

#include "platform/byteformat.h"

namespace {

constexpr int kColumns = 5;

} // namespace

CListingModel::CListingModel(QObject* parent) : QAbstractItemModel(parent) {}

void CListingModel::SetIcons(const QIcon& folder, const QIcon& file)
{
    m_folderIcon = folder;
    m_fileIcon = file;
}

void CListingModel::SetTree(ListingTree tree)
{
    beginResetModel();
    m_tree = std::move(tree);
    endResetModel();
}

const QVector<int>& CListingModel::Children(const QModelIndex& parent) const
{
    return parent.isValid() ? m_tree.nodes.at(int(parent.internalId())).children : m_tree.top;
}

QModelIndex CListingModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column < 0 || column >= kColumns || (parent.isValid() && parent.column() != 0))
        return QModelIndex();
    const QVector<int>& children = Children(parent);
    return row >= 0 && row < children.size() ? createIndex(row, column, quintptr(children.at(row))) : QModelIndex();
}

QModelIndex CListingModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return QModelIndex();
    const int parent = m_tree.nodes.at(int(child.internalId())).parent;
    return parent < 0 ? QModelIndex() : createIndex(m_tree.nodes.at(parent).row, 0, quintptr(parent));
}

int CListingModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() && parent.column() != 0 ? 0 : Children(parent).size();
}

int CListingModel::columnCount(const QModelIndex&) const { return kColumns; }

// A folder shows only its time.
QString CListingModel::Cell(const ComData& record, int column) const
{
    if (column == 0)
        return record.name;
    if (column == 4)
        return record.time.toString(QStringLiteral("yy/MM/dd hh:mm"));
    if (record.isDir)
        return QString();
    if (column == 3)
        return record.ratio;
    return FormatByteSize(qint64(column == 1 ? record.size : record.packed));
}

QVariant CListingModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const ComData& record = m_tree.nodes.at(int(index.internalId())).record;
    switch (role) {
    case Qt::DisplayRole:
        return Cell(record, index.column());
    case Qt::DecorationRole:
        return index.column() == 0 ? (record.isDir ? m_folderIcon : m_fileIcon) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() >= 1 && index.column() <= 3 ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter))
                                                          : QVariant();
    default:
        return QVariant();
    }
}

QVariant CListingModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_headers.size())
        return m_headers.at(section);
    return QAbstractItemModel::headerData(section, orientation, role);
}
