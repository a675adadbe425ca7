#include "dirs/cstandarditemmodel.h"

#include <QFileIconProvider>
#include <QSignalBlocker>

CStandardItemModel::CStandardItemModel(int rows, int columns, QObject* parent)
    : QStandardItemModel(rows, columns, parent)
{
    const QFileIconProvider icons;
    m_folderIcon = icons.icon(QFileIconProvider::Folder);
    m_fileIcon = icons.icon(QFileIconProvider::File);
}

QVariant CStandardItemModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::TextAlignmentRole && index.column() >= 1 && index.column() <= 3)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    // A folder's row is the one with no size.
    if (role == Qt::DecorationRole && index.column() == 0)
        return index.siblingAtColumn(1).data().toString().isEmpty() ? m_folderIcon : m_fileIcon;
    return QStandardItemModel::data(index, role);
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

// Taken from the end, so that no row moves up; in reverse order.
ListingRows CStandardItemModel::TakeAllRows()
{
    ListingRows rows;
    if (rowCount() == 0)
        return rows;
    beginResetModel();
    {
        const QSignalBlocker quiet(this);
        rows.reserve(rowCount());
        while (rowCount() > 0)
            rows.append(takeRow(rowCount() - 1));
    }
    endResetModel();
    return rows;
}
