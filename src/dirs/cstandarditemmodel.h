#pragma once

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

private:
    QIcon m_folderIcon;
    QIcon m_fileIcon;
};
