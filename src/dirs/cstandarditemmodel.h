#pragma once

#include "dirs/listingtree.h"

#include <QIcon>
#include <QStandardItemModel>

// The archive listing's model: the size, packed and ratio columns read right-aligned, and
// names carry the folder or file icon set for them, as in the folder view. It may be filled on
// another thread and moved to the window's; icons are set there.
class CStandardItemModel : public QStandardItemModel
{
    Q_OBJECT
public:
    CStandardItemModel(int rows, int columns, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    void SetIcons(const QIcon& folder, const QIcon& file);

    // Row by row, a listing of 100 000 top-level entries would tell its views 100 000 times.
    void AppendRows(const ListingRows& rows);

private:
    QIcon m_folderIcon;
    QIcon m_fileIcon;
};
