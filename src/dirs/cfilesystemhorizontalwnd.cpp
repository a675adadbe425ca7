#include "dirs/cfilesystemhorizontalwnd.h"

#include "dirs/cfoldermodel.h"
#include "dirs/cfoldersortproxy.h"
#include "dirs/displaynamedelegate.h"

#include <QApplication>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QListView>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpacerItem>
#include <QTimer>

namespace {

constexpr int kColumnWidth = 300;

} // namespace

CFileSystemHorizontalWnd::CFileSystemHorizontalWnd(QWidget* parent)
    : QWidget(parent), m_scrollArea(new QScrollArea(this)), m_columnLayout(new QHBoxLayout)
{
    setObjectName(QStringLiteral("CFileSystemHorizontalWnd"));
    setWindowTitle(QStringLiteral("Form"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(m_scrollArea, 0, 0);
    m_scrollArea->setWidgetResizable(true);
    auto* contents = new QWidget(m_scrollArea);
    auto* row = new QHBoxLayout(contents);
    row->setContentsMargins(0, 0, 0, 0);
    row->addLayout(m_columnLayout);
    row->addSpacerItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_scrollArea->setWidget(contents);
}

void CFileSystemHorizontalWnd::SetRootPath(const QString& path)
{
    if (!QFileInfo(path).isDir())
        return;
    ClearColumns();
    AddColumn(path);
}

CFileSystemHorizontalWnd::~CFileSystemHorizontalWnd() { ClearColumns(); }

void CFileSystemHorizontalWnd::ClearColumns()
{
    m_selected = QModelIndex();
    while (m_columnLayout->count() > 0)
        DeleteColumn(0);
}

// The list, then its proxy, then its model with the reading still under way, at once (see CDirWnd).
void CFileSystemHorizontalWnd::DeleteColumn(int position)
{
    QLayoutItem* item = m_columnLayout->takeAt(position);
    auto* list = qobject_cast<QListView*>(item->widget());
    auto* proxy = list ? qobject_cast<QAbstractProxyModel*>(list->model()) : nullptr;
    QAbstractItemModel* model = proxy ? proxy->sourceModel() : nullptr;
    delete list;
    delete proxy;
    delete model;
    delete item;
}

QFileInfo CFileSystemHorizontalWnd::SelectedFileInfo() const { return FileInfoOf(m_selected); }

QFileInfo CFileSystemHorizontalWnd::FileInfoOf(const QModelIndex& index)
{
    const auto* proxy = qobject_cast<const CFolderSortProxy*>(index.model());
    const auto* model = proxy ? qobject_cast<const QFileSystemModel*>(proxy->sourceModel()) : nullptr;
    return model ? model->fileInfo(proxy->mapToSource(index)) : QFileInfo();
}

int CFileSystemHorizontalWnd::ColumnCount() const { return m_columnLayout->count(); }

void CFileSystemHorizontalWnd::AddColumn(const QString& path)
{
    auto* list = new QListView;
    auto* model = new CFolderModel(&m_icons, this);
    auto* proxy = new CFolderSortProxy(model, this);
    list->setModel(proxy);
    if (m_columnLayout->count() == 0)
        connect(model, &CFolderModel::SigTooSlow, this, &CFileSystemHorizontalWnd::SigRootTooSlow);
    model->ReadRoot(path);
    list->setRootIndex(proxy->MapFromSourceAtOnce(model->index(path)));
    list->setFixedWidth(kColumnWidth);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setTextElideMode(Qt::ElideMiddle);
    list->setItemDelegate(new DisplayNameDelegate(list));
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) { RecordSelection(selected); });
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this, list](const QItemSelection& selected) { Cascade(list, selected); });
    m_columnLayout->addWidget(list);
    m_columnLayout->activate();
    QTimer::singleShot(0, m_scrollArea, [area = m_scrollArea] {
        area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
    });
}

void CFileSystemHorizontalWnd::RecordSelection(const QItemSelection& selected)
{
    m_selected = selected.indexes().value(0);
    emit SigSelectionChanged(selected);
}

// Everything right of the changed column belongs to the old selection.
void CFileSystemHorizontalWnd::Cascade(QListView* column, const QItemSelection& selected)
{
    const int position = m_columnLayout->indexOf(column);
    if (position < 0)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    while (m_columnLayout->count() > position + 1)
        DeleteColumn(position + 1);
    const QFileInfo info = FileInfoOf(selected.indexes().value(0));
    if (info.isDir())
        AddColumn(info.absoluteFilePath());
    QApplication::restoreOverrideCursor();
}
