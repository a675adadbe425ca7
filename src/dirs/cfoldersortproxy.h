#pragma once

#include "dirs/foldersortkey.h"

#include <QAbstractProxyModel>
#include <QCollator>
#include <QHash>
#include <QLocale>
#include <QPersistentModelIndex>
#include <QTimer>

#include <functional>
#include <vector>

class QElapsedTimer;
class QFileSystemModel;

// A file system model's rows in folder order (see FolderSortKey), sorted per folder when first
// asked and kept sorted as rows come and go. A big batch of new rows has its keys made and sorted
// on another thread, then merged in at once; a small one is sorted here. A folder of 100 000 files
// coming in never holds the window for long.
class CFolderSortProxy : public QAbstractProxyModel
{
    Q_OBJECT
public:
    explicit CFolderSortProxy(QFileSystemModel* source, QObject* parent = nullptr);
    ~CFolderSortProxy() override;

    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    // As mapFromSource, but the entry and its folders are shown now if they were waiting.
    QModelIndex MapFromSourceAtOnce(const QModelIndex& sourceIndex);
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    // Source rows whose keys are being made on another thread, by position in the batch; a row
    // gone meanwhile is -1.
    struct Batch {
        int serial = 0;
        std::vector<int> rows;
    };
    // What a view asks of every row when it lays a folder out, kept here: asking the source
    // looks the row up by its name. The flags stand apart from the keys: a view asks them of all
    // 100 000 rows of a big folder for every layout, and a small array of them stays in the cache.
    struct Mapping {
        QPersistentModelIndex sourceParent;
        std::vector<FolderSortKey> keys;  // by source row
        std::vector<Qt::ItemFlags> flags; // by source row
        std::vector<int> proxyToSource;
        std::vector<int> sourceToProxy;
        std::vector<int> pending; // source rows not shown yet
        std::vector<Batch> sorting;
    };

    Mapping* MappingOf(const QModelIndex& sourceParent) const;
    void ReadRow(Mapping* m, int row) const;
    void SortRows(Mapping* m, std::vector<int>::iterator first, std::vector<int>::iterator last) const;
    static void IndexSourceRows(Mapping* m);
    QModelIndex ProxyParentOf(const Mapping* m) const;
    void Reorder(Mapping* m, const std::function<void()>& change);
    void ShowPendingRowsForATurn();
    void ShowPendingRows(Mapping* m, int limit);
    void SortAwayFromTheWindow(Mapping* m, const QElapsedTimer& turn);
    void ShowSortedBatch(int serial, SortedBatch& sorted);
    void InsertSortedRows(Mapping* m, const std::vector<int>& rows);
    bool TakeFromBatch(Mapping* m, int row);

    void OnRowsInserted(const QModelIndex& sourceParent, int first, int last);
    void OnRowsAboutToBeRemoved(const QModelIndex& sourceParent, int first, int last);
    void OnRowsRemoved(const QModelIndex& sourceParent, int first, int last);
    void OnDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);
    void OnLayoutAboutToBeChanged();
    void OnLayoutChanged();
    void OnAboutToBeReset();
    void OnReset();
    void DropMappingsOfGoneFolders();

    QFileSystemModel* m_source;
    QLocale m_locale;
    QCollator m_collator;
    FolderSortKey m_blank; // of rows not shown yet
    mutable QTimer m_showTimer;
    mutable QHash<const void*, Mapping*> m_mappings; // by the source parent's internal pointer
    QList<QPersistentModelIndex> m_layoutSources;    // the view's indexes across a source layout change
    QModelIndexList m_layoutProxies;
    int m_lastBatch = 0;
};
