#pragma once

#include "dirs/listingtree.h"

#include <QIcon>
#include <QStandardItemModel>

// The archive listing's model: the size, packed and ratio columns read right-aligned, and
// names carry the desktop's folder or file icon, as in the folder view.
class CStandardItemModel : public QStandardItemModel
{
    Q_OBJECT
public:
    CStandardItemModel(int rows, int columns, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Whole listings come and go as one change to the views: row by row, a listing of 100 000
    // top-level entries would tell them 100 000 times.
    void AppendRows(const ListingRows& rows);
    ListingRows TakeAllRows();

private:
    QIcon m_folderIcon;
    QIcon m_fileIcon;
};
