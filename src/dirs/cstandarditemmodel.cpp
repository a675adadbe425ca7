#include "dirs/cstandarditemmodel.h"

#include <QSignalBlocker>

CStandardItemModel::CStandardItemModel(int rows, int columns, QObject* parent)
    : QStandardItemModel(rows, columns, parent)
{}

QVariant CStandardItemModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::TextAlignmentRole && index.column() >= 1 && index.column() <= 3)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    // A folder's row is the one with no size.
    if (role == Qt::DecorationRole && index.column() == 0)
        return index.siblingAtColumn(1).data().toString().isEmpty() ? m_folderIcon : m_fileIcon;
    return QStandardItemModel::data(index, role);
}

void CStandardItemModel::SetIcons(const QIcon& folder, const QIcon& file)
{
    m_folderIcon = folder;
    m_fileIcon = file;
}

void CStandardItemModel::AppendRows(const ListingRows& rows)
{
    beginResetModel();
    {
        const QSignalBlocker quiet(this);
        for (const QList<QStandardItem*>& row : rows)
            appendRow(row);
    }
    endResetModel();
}
