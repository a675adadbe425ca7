#include "dirs/cfoldersortproxy.h"

#include "dirs/gallopmerge.h"

#include <QElapsedTimer>
#include <QFileSystemModel>
#include <QFutureWatcher>
#include <QtConcurrent>

#include <algorithm>
#include <climits>
#include <memory>

namespace {

const void* MappingKey(const QModelIndex& sourceParent)
{
    return sourceParent.isValid() ? sourceParent.internalPointer() : nullptr;
}

// A few rows, such as a file made while the folder is shown, go in one by one and at once; a
// batch of up to a step is sorted and merged here, a bigger one is sorted on another thread.
// Either takes a few milliseconds per turn of the window's event loop.
constexpr int kRowsInsertedOneByOne = 16;
constexpr int kRowsPerStep = 4000;
constexpr qint64 kTurnMs = 40;
constexpr int kRowsBetweenClockLooks = 256;
// A big folder's batches are sorted on all cores at once.
constexpr size_t kRowsPerBatch = 25000;

void ShiftInserted(std::vector<int>& rows, int first, int count)
{
    for (int& row : rows)
        row += row >= first ? count : 0;
}

} // namespace

CFolderSortProxy::CFolderSortProxy(QFileSystemModel* source, QObject* parent)
    : QAbstractProxyModel(parent), m_source(source), m_collator(FolderCollator(m_locale)),
      m_blank(MakeFolderSortKey(m_collator, false, QString()))
{
    m_showTimer.setSingleShot(true);
    m_showTimer.setInterval(0);
    connect(&m_showTimer, &QTimer::timeout, this, &CFolderSortProxy::ShowPendingRowsForATurn);
    setSourceModel(source);
    connect(source, &QAbstractItemModel::rowsInserted, this, &CFolderSortProxy::OnRowsInserted);
    connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this, &CFolderSortProxy::OnRowsAboutToBeRemoved);
    connect(source, &QAbstractItemModel::rowsRemoved, this, &CFolderSortProxy::OnRowsRemoved);
    connect(source, &QAbstractItemModel::dataChanged, this, &CFolderSortProxy::OnDataChanged);
    connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this, &CFolderSortProxy::OnLayoutAboutToBeChanged);
    connect(source, &QAbstractItemModel::layoutChanged, this, &CFolderSortProxy::OnLayoutChanged);
    connect(source, &QAbstractItemModel::modelAboutToBeReset, this, &CFolderSortProxy::OnAboutToBeReset);
    connect(source, &QAbstractItemModel::modelReset, this, &CFolderSortProxy::OnReset);
}

CFolderSortProxy::~CFolderSortProxy() { qDeleteAll(m_mappings); }

CFolderSortProxy::Mapping* CFolderSortProxy::MappingOf(const QModelIndex& sourceParent) const
{
    Mapping*& m = m_mappings[MappingKey(sourceParent)];
    if (m)
        return m;
    m = new Mapping;
    m->sourceParent = sourceParent;
    const int rows = m_source->rowCount(sourceParent);
    if (rows > kRowsPerStep) {
        m->keys.assign(rows, m_blank);
        m->flags.assign(rows, Qt::NoItemFlags);
        for (int row = 0; row < rows; ++row)
            m->pending.push_back(row);
        IndexSourceRows(m);
        m_showTimer.start();
        return m;
    }
    m->keys.resize(rows, m_blank);
    m->flags.resize(rows);
    for (int row = 0; row < rows; ++row) {
        ReadRow(m, row);
        m->proxyToSource.push_back(row);
    }
    SortRows(m, m->proxyToSource.begin(), m->proxyToSource.end());
    IndexSourceRows(m);
    return m;
}

void CFolderSortProxy::ReadRow(Mapping* m, int row) const
{
    const QModelIndex index = m_source->index(row, 0, m->sourceParent);
    m->keys[row] = MakeFolderSortKey(m_collator, m_source->isDir(index), m_source->fileName(index));
    m->flags[row] = m_source->flags(index);
}

void CFolderSortProxy::SortRows(Mapping* m, std::vector<int>::iterator first, std::vector<int>::iterator last) const
{
    std::sort(first, last, [m](int a, int b) { return FolderSortLess(m->keys[a], m->keys[b]); });
}

void CFolderSortProxy::IndexSourceRows(Mapping* m)
{
    m->sourceToProxy.assign(m->keys.size(), -1);
    for (size_t row = 0; row < m->proxyToSource.size(); ++row)
        m->sourceToProxy[m->proxyToSource[row]] = static_cast<int>(row);
}

QModelIndex CFolderSortProxy::ProxyParentOf(const Mapping* m) const
{
    return m->sourceParent.isValid() ? mapFromSource(m->sourceParent) : QModelIndex();
}

QModelIndex CFolderSortProxy::mapToSource(const QModelIndex& proxyIndex) const
{
    if (!proxyIndex.isValid())
        return QModelIndex();
    const auto* m = static_cast<const Mapping*>(proxyIndex.internalPointer());
    if (proxyIndex.row() >= static_cast<int>(m->proxyToSource.size()))
        return QModelIndex();
    return m_source->index(m->proxyToSource[proxyIndex.row()], proxyIndex.column(), m->sourceParent);
}

QModelIndex CFolderSortProxy::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid() || sourceIndex.model() != m_source)
        return QModelIndex();
    Mapping* m = MappingOf(sourceIndex.parent());
    if (sourceIndex.row() >= static_cast<int>(m->sourceToProxy.size()))
        return QModelIndex();
    const int row = m->sourceToProxy[sourceIndex.row()];
    return row < 0 ? QModelIndex() : createIndex(row, sourceIndex.column(), m);
}

QModelIndex CFolderSortProxy::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || column < 0 || parent.column() > 0)
        return QModelIndex();
    const QModelIndex sourceParent = mapToSource(parent);
    if (parent.isValid() && !sourceParent.isValid())
        return QModelIndex();
    Mapping* m = MappingOf(sourceParent);
    if (row >= static_cast<int>(m->proxyToSource.size()) || column >= m_source->columnCount(sourceParent))
        return QModelIndex();
    return createIndex(row, column, m);
}

QModelIndex CFolderSortProxy::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return QModelIndex();
    return ProxyParentOf(static_cast<const Mapping*>(child.internalPointer()));
}

int CFolderSortProxy::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    const QModelIndex sourceParent = mapToSource(parent);
    if (parent.isValid() && !sourceParent.isValid())
        return 0;
    return static_cast<int>(MappingOf(sourceParent)->proxyToSource.size());
}

int CFolderSortProxy::columnCount(const QModelIndex& parent) const
{
    return m_source->columnCount(mapToSource(parent));
}

// A file system model's row has children when it is a folder.
bool CFolderSortProxy::hasChildren(const QModelIndex& parent) const
{
    if (!parent.isValid() || parent.column() > 0)
        return m_source->hasChildren(mapToSource(parent));
    const auto* m = static_cast<const Mapping*>(parent.internalPointer());
    return m->keys[m->proxyToSource[parent.row()]].folder;
}

Qt::ItemFlags CFolderSortProxy::flags(const QModelIndex& index) const
{
    if (!index.isValid() || index.column() > 0)
        return m_source->flags(mapToSource(index));
    const auto* m = static_cast<const Mapping*>(index.internalPointer());
    return m->flags[m->proxyToSource[index.row()]];
}

// Moves the rows of one folder, keeping the indexes the views hold on the same entries.
void CFolderSortProxy::Reorder(Mapping* m, const std::function<void()>& change)
{
    const QList<QPersistentModelIndex> parents{ProxyParentOf(m)};
    emit layoutAboutToBeChanged(parents, QAbstractItemModel::VerticalSortHint);
    QModelIndexList held;
    std::vector<int> heldSourceRows;
    for (const QModelIndex& index : persistentIndexList()) {
        if (index.internalPointer() == m) {
            held.append(index);
            heldSourceRows.push_back(m->proxyToSource[index.row()]);
        }
    }
    change();
    for (int i = 0; i < held.size(); ++i)
        changePersistentIndex(held.at(i), createIndex(m->sourceToProxy[heldSourceRows[i]], held.at(i).column(), m));
    emit layoutChanged(parents, QAbstractItemModel::VerticalSortHint);
}

void CFolderSortProxy::OnRowsInserted(const QModelIndex& sourceParent, int first, int last)
{
    Mapping* m = m_mappings.value(MappingKey(sourceParent));
    if (!m)
        return;
    const int count = last - first + 1;
    m->keys.insert(m->keys.begin() + first, count, m_blank);
    m->flags.insert(m->flags.begin() + first, count, Qt::NoItemFlags);
    ShiftInserted(m->proxyToSource, first, count);
    ShiftInserted(m->pending, first, count);
    for (Batch& batch : m->sorting)
        ShiftInserted(batch.rows, first, count);
    IndexSourceRows(m);
    for (int row = first; row <= last; ++row)
        m->pending.push_back(row);
    if (count <= kRowsInsertedOneByOne)
        ShowPendingRows(m, count);
    else
        m_showTimer.start();
}

// Up to a turn's worth of every folder's waiting rows; the rest on the next turn.
void CFolderSortProxy::ShowPendingRowsForATurn()
{
    QElapsedTimer clock;
    clock.start();
    bool left = false;
    // Showing rows may map their folders for the first time, adding to the mappings.
    const QList<Mapping*> mappings = m_mappings.values();
    for (Mapping* m : mappings) {
        while (!m->pending.empty() && clock.elapsed() < kTurnMs) {
            if (static_cast<int>(m->pending.size()) > kRowsPerStep)
                SortAwayFromTheWindow(m, clock);
            else
                ShowPendingRows(m, kRowsPerStep);
        }
        left = left || !m->pending.empty();
    }
    if (left)
        m_showTimer.start();
}

void CFolderSortProxy::ShowPendingRows(Mapping* m, int limit)
{
    const int count = std::min(limit, static_cast<int>(m->pending.size()));
    std::vector<int> rows(m->pending.end() - count, m->pending.end());
    m->pending.resize(m->pending.size() - count);
    for (int row : rows)
        ReadRow(m, row);
    const QModelIndex proxyParent = ProxyParentOf(m);
    const auto less = [m](int a, int b) { return FolderSortLess(m->keys[a], m->keys[b]); };
    if (count <= kRowsInsertedOneByOne) {
        for (int row : rows) {
            const auto at = std::upper_bound(m->proxyToSource.begin(), m->proxyToSource.end(), row, less);
            const int position = static_cast<int>(at - m->proxyToSource.begin());
            beginInsertRows(proxyParent, position, position);
            m->proxyToSource.insert(at, row);
            IndexSourceRows(m);
            endInsertRows();
        }
        return;
    }
    SortRows(m, rows.begin(), rows.end());
    InsertSortedRows(m, rows);
}

// Appended, then merged into the shown rows: one insertion and one move for the views.
void CFolderSortProxy::InsertSortedRows(Mapping* m, const std::vector<int>& rows)
{
    if (rows.empty())
        return;
    const int before = static_cast<int>(m->proxyToSource.size());
    m->proxyToSource.insert(m->proxyToSource.end(), rows.begin(), rows.end());
    beginInsertRows(ProxyParentOf(m), before, before + static_cast<int>(rows.size()) - 1);
    IndexSourceRows(m);
    endInsertRows();
    const auto less = [m](int a, int b) { return FolderSortLess(m->keys[a], m->keys[b]); };
    if (before == 0 || !less(m->proxyToSource[before], m->proxyToSource[before - 1]))
        return;
    Reorder(m, [m, before, less] {
        GallopMerge(m->proxyToSource, before, less);
        IndexSourceRows(m);
    });
}

// Making the keys of 100 000 names and sorting them took the window a second; here it only
// reads the names, for the rest of the turn.
void CFolderSortProxy::SortAwayFromTheWindow(Mapping* m, const QElapsedTimer& turn)
{
    Batch batch;
    batch.serial = ++m_lastBatch;
    QStringList names;
    std::vector<bool> folders;
    while (!m->pending.empty() && batch.rows.size() < kRowsPerBatch &&
           (batch.rows.size() % kRowsBetweenClockLooks != 0 || turn.elapsed() < kTurnMs || batch.rows.empty())) {
        const int row = m->pending.back();
        m->pending.pop_back();
        const QModelIndex index = m_source->index(row, 0, m->sourceParent);
        names.append(m_source->fileName(index));
        folders.push_back(m_source->isDir(index));
        m->flags[row] = m_source->flags(index);
        batch.rows.push_back(row);
    }
    // Gone with this proxy, it leaves the sorting to finish unheard.
    auto* watcher = new QFutureWatcher<std::shared_ptr<SortedBatch>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, serial = batch.serial] {
        ShowSortedBatch(serial, *watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run([locale = m_locale, names = std::move(names), folders = std::move(folders)] {
        return std::make_shared<SortedBatch>(SortBatch(locale, names, folders));
    }));
    m->sorting.push_back(std::move(batch));
}

// Its folder may be gone by now, and so may some of its rows.
void CFolderSortProxy::ShowSortedBatch(int serial, SortedBatch& sorted)
{
    for (Mapping* m : qAsConst(m_mappings)) {
        const auto batch =
            std::find_if(m->sorting.begin(), m->sorting.end(), [serial](const Batch& b) { return b.serial == serial; });
        if (batch == m->sorting.end())
            continue;
        std::vector<int> rows;
        rows.reserve(sorted.order.size());
        for (int position : sorted.order) {
            const int row = batch->rows[position];
            if (row >= 0) {
                m->keys[row] = std::move(sorted.keys[position]);
                rows.push_back(row);
            }
        }
        m->sorting.erase(batch);
        InsertSortedRows(m, rows);
        return;
    }
}

// A row on its way out of a batch, to be shown at once instead.
bool CFolderSortProxy::TakeFromBatch(Mapping* m, int row)
{
    for (Batch& batch : m->sorting) {
        const auto at = std::find(batch.rows.begin(), batch.rows.end(), row);
        if (at != batch.rows.end()) {
            *at = -1;
            return true;
        }
    }
    return false;
}

QModelIndex CFolderSortProxy::MapFromSourceAtOnce(const QModelIndex& sourceIndex)
{
    if (!sourceIndex.isValid())
        return QModelIndex();
    MapFromSourceAtOnce(sourceIndex.parent());
    Mapping* m = MappingOf(sourceIndex.parent());
    const auto waiting = std::find(m->pending.begin(), m->pending.end(), sourceIndex.row());
    if (waiting != m->pending.end()) {
        std::iter_swap(waiting, m->pending.end() - 1);
        ShowPendingRows(m, 1);
    } else if (TakeFromBatch(m, sourceIndex.row())) {
        m->pending.push_back(sourceIndex.row());
        ShowPendingRows(m, 1);
    }
    return mapFromSource(sourceIndex);
}

// The source rows stay until they are gone; the proxy's go now, in runs of adjacent rows.
void CFolderSortProxy::OnRowsAboutToBeRemoved(const QModelIndex& sourceParent, int first, int last)
{
    Mapping* m = m_mappings.value(MappingKey(sourceParent));
    if (!m)
        return;
    std::vector<int> rows;
    for (int row = first; row <= last && row < static_cast<int>(m->sourceToProxy.size()); ++row)
        if (m->sourceToProxy[row] >= 0)
            rows.push_back(m->sourceToProxy[row]);
    std::sort(rows.begin(), rows.end());
    const QModelIndex proxyParent = ProxyParentOf(m);
    while (!rows.empty()) {
        const int end = rows.back();
        int start = end;
        for (rows.pop_back(); !rows.empty() && rows.back() == start - 1; rows.pop_back())
            --start;
        beginRemoveRows(proxyParent, start, end);
        m->proxyToSource.erase(m->proxyToSource.begin() + start, m->proxyToSource.begin() + end + 1);
        IndexSourceRows(m);
        endRemoveRows();
    }
}

void CFolderSortProxy::OnRowsRemoved(const QModelIndex& sourceParent, int first, int last)
{
    if (Mapping* m = m_mappings.value(MappingKey(sourceParent))) {
        const int count = last - first + 1;
        m->keys.erase(m->keys.begin() + first, m->keys.begin() + last + 1);
        m->flags.erase(m->flags.begin() + first, m->flags.begin() + last + 1);
        for (int& row : m->proxyToSource)
            row -= row > last ? count : 0;
        const auto gone = [first, last](int row) { return row >= first && row <= last; };
        m->pending.erase(std::remove_if(m->pending.begin(), m->pending.end(), gone), m->pending.end());
        for (int& row : m->pending)
            row -= row > last ? count : 0;
        for (Batch& batch : m->sorting)
            for (int& row : batch.rows)
                row = gone(row) ? -1 : row - (row > last ? count : 0);
        IndexSourceRows(m);
    }
    DropMappingsOfGoneFolders();
}

void CFolderSortProxy::DropMappingsOfGoneFolders()
{
    for (auto it = m_mappings.begin(); it != m_mappings.end();) {
        if (it.key() && !it.value()->sourceParent.isValid()) {
            delete it.value();
            it = m_mappings.erase(it);
        } else {
            ++it;
        }
    }
}

// An entry's name or kind may change once the reader has looked at it.
void CFolderSortProxy::OnDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    if (!topLeft.isValid())
        return;
    Mapping* m = m_mappings.value(MappingKey(topLeft.parent()));
    if (!m)
        return;
    const int last = std::min(bottomRight.row(), static_cast<int>(m->keys.size()) - 1);
    bool moved = false;
    int top = INT_MAX;
    int bottom = -1;
    for (int row = topLeft.row(); row <= last; ++row) {
        if (m->sourceToProxy[row] < 0)
            continue; // made when it is shown
        const QModelIndex index = m_source->index(row, 0, topLeft.parent());
        const FolderSortKey& key = m->keys[row];
        if (key.folder != m_source->isDir(index) || key.name != m_source->fileName(index))
            moved = true;
        ReadRow(m, row);
        top = std::min(top, m->sourceToProxy[row]);
        bottom = std::max(bottom, m->sourceToProxy[row]);
    }
    if (moved) {
        Reorder(m, [this, m] {
            SortRows(m, m->proxyToSource.begin(), m->proxyToSource.end());
            IndexSourceRows(m);
        });
        return; // the views look at the whole folder again
    }
    if (bottom >= 0)
        emit dataChanged(createIndex(top, topLeft.column(), m), createIndex(bottom, bottomRight.column(), m));
}

void CFolderSortProxy::OnLayoutAboutToBeChanged()
{
    emit layoutAboutToBeChanged();
    m_layoutProxies = persistentIndexList();
    for (const QModelIndex& index : m_layoutProxies)
        m_layoutSources.append(mapToSource(index));
}

void CFolderSortProxy::OnLayoutChanged()
{
    qDeleteAll(m_mappings);
    m_mappings.clear();
    for (int i = 0; i < m_layoutProxies.size(); ++i)
        changePersistentIndex(m_layoutProxies.at(i), mapFromSource(m_layoutSources.at(i)));
    m_layoutProxies.clear();
    m_layoutSources.clear();
    emit layoutChanged();
}

void CFolderSortProxy::OnAboutToBeReset() { beginResetModel(); }

void CFolderSortProxy::OnReset()
{
    qDeleteAll(m_mappings);
    m_mappings.clear();
    endResetModel();
}
