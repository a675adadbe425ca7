#include "dirs/cfoldermodel.h"

#include "platform/byteformat.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLocale>
#include <QtConcurrent>

#include <algorithm>

namespace {

constexpr int kColumns = 4;

} // namespace

CFolderModel::CFolderModel(QObject* parent) : QAbstractItemModel(parent)
{
    m_pool.setMaxThreadCount(1);
    // The file system model's own headers, in the language it was translated to.
    const QFileSystemModel headers;
    for (int column = 0; column < kColumns; ++column)
        m_headers << headers.headerData(column, Qt::Horizontal).toString();
    m_nodes.append(Node());
}

// The jobs post back to this object: none may outlive it.
CFolderModel::~CFolderModel()
{
    m_generation.fetchAndAddOrdered(1);
    for (QFuture<void>& job : m_jobs)
        job.waitForFinished();
}

void CFolderModel::SetRootPath(const QString& path)
{
    m_generation.fetchAndAddOrdered(1);
    beginResetModel();
    // A hundred thousand rows take 30 ms to free: the pool frees them.
    Run([old = std::move(m_nodes)]() mutable { old.clear(); });
    m_nodes = QVector<Node>();
    Node root;
    root.entry.name = path;
    root.entry.isDir = true;
    m_nodes.append(root);
    endResetModel();
    if (!path.isEmpty())
        List(0);
}

QString CFolderModel::FilePath(const QModelIndex& index) const
{
    QStringList parts;
    for (int node = NodeOf(index); node >= 0; node = m_nodes.at(node).parent)
        parts.prepend(m_nodes.at(node).entry.name);
    return QDir::cleanPath(parts.join(QLatin1Char('/')));
}

void CFolderModel::List(int node)
{
    m_nodes[node].listing = true;
    const QString path = FilePath(IndexOf(node));
    const int generation = m_generation.loadAcquire();
    Run([this, path, node, generation] {
        const auto stopped = [this, generation] { return m_generation.loadAcquire() != generation; };
        QVector<FolderEntry> entries = ListFolder(path, stopped);
        if (stopped())
            return;
        QMetaObject::invokeMethod(
            this,
            [this, node, generation, entries = std::move(entries)]() mutable {
                if (generation == m_generation.loadAcquire())
                    Insert(node, std::move(entries));
            },
            Qt::QueuedConnection);
    });
}

void CFolderModel::Run(std::function<void()> job)
{
    m_jobs.erase(std::remove_if(m_jobs.begin(), m_jobs.end(), [](const QFuture<void>& job) { return job.isFinished(); }),
                 m_jobs.end());
    m_jobs.append(QtConcurrent::run(&m_pool, std::move(job)));
}

void CFolderModel::Insert(int node, QVector<FolderEntry> entries)
{
    m_nodes[node].listing = false;
    m_nodes[node].listed = true;
    if (!entries.isEmpty()) {
        beginInsertRows(IndexOf(node), 0, entries.size() - 1);
        m_nodes.reserve(m_nodes.size() + entries.size());
        QVector<int>& children = m_nodes[node].children;
        children.reserve(entries.size());
        for (int row = 0; row < entries.size(); ++row) {
            children.append(m_nodes.size());
            Node child;
            child.entry = std::move(entries[row]);
            child.parent = node;
            child.row = row;
            m_nodes.append(std::move(child));
        }
        endInsertRows();
    } else {
        // The expander of an empty folder goes.
        const QModelIndex index = IndexOf(node);
        emit dataChanged(index, index);
    }
    emit SigListed(FilePath(IndexOf(node)));
}

QModelIndex CFolderModel::IndexOf(int node) const
{
    return node == 0 ? QModelIndex() : createIndex(m_nodes.at(node).row, 0, quintptr(node));
}

QModelIndex CFolderModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column < 0 || column >= kColumns || (parent.isValid() && parent.column() != 0))
        return QModelIndex();
    const QVector<int>& children = m_nodes.at(NodeOf(parent)).children;
    return row >= 0 && row < children.size() ? createIndex(row, column, quintptr(children.at(row))) : QModelIndex();
}

QModelIndex CFolderModel::parent(const QModelIndex& child) const
{
    return child.isValid() ? IndexOf(std::max(0, m_nodes.at(NodeOf(child)).parent)) : QModelIndex();
}

int CFolderModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() && parent.column() != 0 ? 0 : m_nodes.at(NodeOf(parent)).children.size();
}

int CFolderModel::columnCount(const QModelIndex&) const { return kColumns; }

// A folder not read yet shows its expander.
bool CFolderModel::hasChildren(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return false;
    const Node& node = m_nodes.at(NodeOf(parent));
    return node.entry.isDir && (!node.listed || !node.children.isEmpty());
}

bool CFolderModel::canFetchMore(const QModelIndex& parent) const
{
    const Node& node = m_nodes.at(NodeOf(parent));
    return node.entry.isDir && !node.listed && !node.listing;
}

void CFolderModel::fetchMore(const QModelIndex& parent)
{
    if (canFetchMore(parent))
        List(NodeOf(parent));
}

QString CFolderModel::SuffixKey(int node) const
{
    const FolderEntry& entry = m_nodes.at(node).entry;
    return entry.isDir ? QStringLiteral("/") : QFileInfo(entry.name).suffix().toLower();
}

// The first item of each suffix stands for the rest.
QIcon CFolderModel::Icon(int node) const
{
    const QString key = SuffixKey(node);
    auto found = m_icons.constFind(key);
    if (found == m_icons.constEnd())
        found = m_icons.insert(key, m_iconProvider.icon(QFileInfo(FilePath(IndexOf(node)))));
    return found.value();
}

QString CFolderModel::Type(int node) const
{
    const QString key = SuffixKey(node);
    auto found = m_types.constFind(key);
    if (found == m_types.constEnd())
        found = m_types.insert(key, m_iconProvider.type(QFileInfo(FilePath(IndexOf(node)))));
    return found.value();
}

QVariant CFolderModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const int at = NodeOf(index);
    const Node& node = m_nodes.at(at);
    if (role == Qt::DecorationRole && index.column() == 0)
        return Icon(at);
    if (role == Qt::TextAlignmentRole && index.column() == 1)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case 0:
        return node.entry.name;
    case 1:
        return node.entry.isDir ? QString() : FormatByteSize(node.entry.size);
    case 2:
        return Type(at);
    default:
        return QLocale::system().toString(node.entry.modified.toLocalTime(), QLocale::ShortFormat);
    }
}

QVariant CFolderModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_headers.size())
        return m_headers.at(section);
    return QAbstractItemModel::headerData(section, orientation, role);
}
