#pragma once

#include "dirs/folderlisting.h"

#include <QAbstractItemModel>
#include <QAtomicInt>
#include <QFileIconProvider>
#include <QFuture>
#include <QHash>
#include <QIcon>
#include <QThreadPool>

// A folder as a tree of name, size, type and date columns. Each folder is read and sorted off
// the GUI thread when it is first shown or opened out, and its rows arrive in one insertion,
// so that a folder of 100 000 items never holds the window. Icons and types are looked up
// once per suffix. A new root leaves the reading under way at its next check.
class CFolderModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit CFolderModel(QObject* parent = nullptr);
    ~CFolderModel() override;

    void SetRootPath(const QString& path);
    void Clear() { SetRootPath(QString()); }
    QString FilePath(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    void SigListed(const QString& path);

private:
    struct Node {
        FolderEntry entry;
        int parent = -1;
        int row = 0;
        QVector<int> children;
        bool listing = false;
        bool listed = false;
    };

    int NodeOf(const QModelIndex& index) const { return index.isValid() ? int(index.internalId()) : 0; }
    QModelIndex IndexOf(int node) const;
    void Run(std::function<void()> job);
    void List(int node);
    void Insert(int node, QVector<FolderEntry> entries);
    QString SuffixKey(int node) const;
    QIcon Icon(int node) const;
    QString Type(int node) const;

    QVector<Node> m_nodes; // the root folder first, shown as the invisible top
    QAtomicInt m_generation;
    QThreadPool m_pool;
    QList<QFuture<void>> m_jobs;
    QFileIconProvider m_iconProvider;
    QStringList m_headers;
    mutable QHash<QString, QIcon> m_icons;
    mutable QHash<QString, QString> m_types;
};
