#pragma once

#include "dirs/listingtree.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <QStringList>

// An archive's listing as five read-only columns (name, size, packed, ratio, time) over a
// tree built elsewhere: taking one is a reset, and the cells are formatted only when shown,
// so that a listing of 100 000 entries costs the GUI thread nothing up front. Sizes read
// right-aligned; names carry the folder or file icon given.
class CListingModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit CListingModel(QObject* parent = nullptr);

    void SetHeaders(const QStringList& headers) { m_headers = headers; }
    void SetIcons(const QIcon& folder, const QIcon& file);
    void SetTree(ListingTree tree);
    void Clear() { SetTree(ListingTree()); }

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const QVector<int>& Children(const QModelIndex& parent) const;
    QString Cell(const ComData& record, int column) const;

    ListingTree m_tree;
    QStringList m_headers;
    QIcon m_folderIcon;
    QIcon m_fileIcon;
};
