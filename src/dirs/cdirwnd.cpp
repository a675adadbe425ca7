#include "dirs/cdirwnd.h"

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "dirs/cdirmaneger.h"
#include "dirs/cfilesystemhorizontalwnd.h"
#include "dirs/cfoldermodel.h"
#include "dirs/cfoldersortproxy.h"
#include "dirs/comdata.h"
#include "dirs/cstandarditemmodel.h"
#include "dirs/csuffixiconprovider.h"
#include "dirs/displaynamedelegate.h"
#include "dirs/listingtree.h"

#include <QAction>
#include <QActionGroup>
#include <QBoxLayout>
#include <QDir>
#include <QDebug>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QToolButton>
#include <QTreeView>

namespace {

bool IsFolder() { return CGlobalData::Instance().SubType() == ST_DIR; }

} // namespace

CDirWnd::CDirWnd(QWidget* parent)
    : CAbstractWnd(new CDirManeger, parent), m_icons(new CSuffixIconProvider),
      m_archiveModel(new CStandardItemModel(0, 5, this)), m_archiveTree(new QTreeView), m_folderTree(new QTreeView),
      m_columnView(new CFileSystemHorizontalWnd)
{
    m_folderIcon = m_icons->icon(QFileIconProvider::Folder);
    m_fileIcon = m_icons->icon(QFileIconProvider::File);
    PrepareArchiveModel(m_archiveModel);
    m_archiveTree->setModel(m_archiveModel);
    SetUpTree(m_archiveTree);
    SetUpTree(m_folderTree);
    m_pages.addWidget(m_archiveTree);
    m_pages.addWidget(m_folderTree);
    m_pages.addWidget(m_columnView);
    AddContentWidget(&m_pages);
    connect(m_columnView, &CFileSystemHorizontalWnd::SigSelectionChanged, this, &CDirWnd::EnableItemActions);
    connect(m_columnView, &CFileSystemHorizontalWnd::SigRootTooSlow, this, &CDirWnd::OnFolderTooSlow);
}

// The model asks the provider until it is gone.
CDirWnd::~CDirWnd()
{
    delete m_folderProxy;
    delete m_folderModel;
    delete m_icons;
}

// A folder left before it is read whole takes its model along: its reader hands batches of rows
// over until the model is gone, each holding the window for 0.1 to 0.4 s on a big folder. Deleted
// at once, the model takes the batches already handed over along, and a later event loop of the
// caller's cannot delay it. A folder read whole keeps its model for showing it again.
void CDirWnd::SetFolderModel(CFolderModel* model)
{
    CFolderSortProxy* proxy = model ? new CFolderSortProxy(model, this) : nullptr;
    QItemSelectionModel* selection = m_folderTree->selectionModel();
    m_folderTree->setModel(proxy);
    delete selection;
    connect(m_folderTree->selectionModel(), &QItemSelectionModel::selectionChanged, this, &CDirWnd::EnableItemActions);
    delete m_folderProxy;
    if (m_folderModel)
        m_folderModel->disconnect(this);
    if (m_folderModel && m_folderModel->MayHoldItsEnd()) {
        // Let go instead: deleted once its reader returns, never if the share never answers.
        m_folderModel->setParent(nullptr);
        connect(m_folderModel, &QFileSystemModel::directoryLoaded, m_folderModel, &QObject::deleteLater);
    } else {
        delete m_folderModel;
    }
    m_folderModel = model;
    m_folderProxy = proxy;
    if (model)
        connect(model, &CFolderModel::SigTooSlow, this, &CDirWnd::OnFolderTooSlow);
}

// An empty view would say the folder is empty: the information panel says why instead.
void CDirWnd::OnFolderTooSlow(const QString& path)
{
    if (!IsFolder() || QDir::cleanPath(CGlobalData::Instance().Path()) != path)
        return;
    qDebug() << "listing of" << path << ":" << TooLongToReadText();
    emit SigErr(TooLongToReadText());
}

void CDirWnd::PrepareArchiveModel(CStandardItemModel* model)
{
    model->setHorizontalHeaderLabels({tr("Filename"), tr("Size"), tr("Packed"), tr("Ratio"), tr("Time")});
    model->SetIcons(m_folderIcon, m_fileIcon);
}

void CDirWnd::ShowArchiveModel(CStandardItemModel* model)
{
    model->setParent(this);
    PrepareArchiveModel(model);
    QItemSelectionModel* selection = m_archiveTree->selectionModel();
    m_archiveTree->setModel(model);
    delete selection;
    qobject_cast<CDirManeger*>(Manager())->Dispose(m_archiveModel);
    m_archiveModel = model;
}

void CDirWnd::SetUpTree(QTreeView* tree)
{
    tree->setAnimated(true);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setUniformRowHeights(true);
    tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Measured over every row, the widths took most of the window's time on a big folder.
    tree->header()->setResizeContentsPrecision(64);
    tree->header()->setMinimumSectionSize(100);
    tree->header()->setSectionsClickable(false);
    tree->setItemDelegateForColumn(0, new DisplayNameDelegate(tree));
}

QAction* CDirWnd::AddButton(QBoxLayout* layout, const QString& normal, const QString& active, const QString& tip,
                            const QString& shortcut)
{
    QToolButton* button = CreateToolButton(normal, active, tip, shortcut);
    addAction(button->defaultAction());
    layout->addWidget(button);
    m_buttons.append(button);
    return button->defaultAction();
}

void CDirWnd::InitControlBar(QBoxLayout* layout)
{
    m_treeAction = AddButton(layout, QStringLiteral("://folder_tree_b.png"), QStringLiteral("://folder_tree.png"),
                             tr("Tree View"), QString());
    m_columnAction = AddButton(layout, QStringLiteral("://folder_column_b.png"), QStringLiteral("://folder_column.png"),
                               tr("Column View"), QString());
    layout->addStretch();
    QAction* open =
        AddButton(layout, QStringLiteral("://open_file_in_dir.png"), QStringLiteral("://open_file_in_dir.png"),
                  tr("Open Selected Item With Default Application"), QStringLiteral("O"));
    QAction* reveal =
        AddButton(layout, QStringLiteral("://reveal_file_in_dir.png"), QStringLiteral("://reveal_file_in_dir.png"),
                  tr("Reveal selected item in file manager"), QStringLiteral("R"));
    QAction* here = AddButton(layout, QStringLiteral("://eye.png"), QStringLiteral("://eye.png"),
                              tr("Open Selected Item With Vuel"), QStringLiteral("S"));
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    for (QAction* view : {m_treeAction, m_columnAction}) {
        view->setCheckable(true);
        group->addAction(view);
    }
    m_treeAction->setChecked(true);
    connect(m_treeAction, &QAction::triggered, this, &CDirWnd::ShowTree);
    connect(m_columnAction, &QAction::triggered, this, &CDirWnd::ShowColumns);
    connect(open, &QAction::triggered, this, [this] { EmitForSelection(&CDirWnd::SigOpenByDefault); });
    connect(reveal, &QAction::triggered, this, [this] { EmitForSelection(&CDirWnd::SigRevealInExplorer); });
    connect(here, &QAction::triggered, this, [this] { EmitForSelection(&CDirWnd::SigLoadNewPath); });
    Clear();
}

void CDirWnd::Clear()
{
    m_columnView->ClearColumns();
    if (m_archiveModel->rowCount() > 0)
        ShowArchiveModel(new CStandardItemModel(0, 5));
    if (m_folderModel && !m_folderModel->RootRead())
        SetFolderModel(nullptr);
    m_folderTree->clearSelection();
    const bool folder = IsFolder();
    for (int i = 0; i < m_buttons.size(); ++i) {
        m_buttons.at(i)->setVisible(folder);
        if (i >= 2)
            m_buttons.at(i)->defaultAction()->setEnabled(false);
    }
}

void CDirWnd::LoadHelper()
{
    if (!IsFolder()) {
        Manager()->Perform();
        m_pages.setCurrentWidget(m_archiveTree);
        return;
    }
    ShowFolderInChosenView();
    emit SigLoaded();
}

void CDirWnd::ShowFolderInChosenView()
{
    if (m_columnAction && m_columnAction->isChecked())
        m_columnAction->trigger();
    else if (m_treeAction)
        m_treeAction->trigger();
    else
        ShowTree(true);
}

void CDirWnd::PerformFinished(QVariant v)
{
    auto* model = v.value<CStandardItemModel*>();
    if (!model) {
        emit SigErr(QString());
        return;
    }
    QElapsedTimer clock;
    clock.start();
    ShowArchiveModel(model);
    qDebug() << "listing shown in" << clock.elapsed() << "ms";
    emit SigLoaded();
}

QSize CDirWnd::GetSize() const { return IsFolder() ? QSize(900, 675) : QSize(700, 525); }

void CDirWnd::ShowTree(bool checked)
{
    if (!checked)
        return;
    m_columnView->ClearColumns();
    const QString path = CGlobalData::Instance().Path();
    if (m_folderModel && m_folderModel->rootPath() != QDir::cleanPath(path))
        SetFolderModel(nullptr);
    if (!m_folderModel)
        SetFolderModel(new CFolderModel(m_icons, this));
    m_folderModel->ReadRoot(path);
    m_folderTree->setRootIndex(m_folderProxy->MapFromSourceAtOnce(m_folderModel->index(path)));
    m_pages.setCurrentWidget(m_folderTree);
}

void CDirWnd::ShowColumns(bool checked)
{
    if (!checked)
        return;
    if (m_folderModel)
        SetFolderModel(nullptr);
    m_columnView->SetRootPath(CGlobalData::Instance().Path());
    m_pages.setCurrentWidget(m_columnView);
}

QString CDirWnd::SelectedPath() const
{
    if (m_pages.currentWidget() != m_folderTree) {
        const QFileInfo info = m_columnView->SelectedFileInfo();
        return info.exists() ? info.absoluteFilePath() : QString();
    }
    const QModelIndex current = m_folderTree->currentIndex();
    return current.isValid() && m_folderModel
               ? m_folderModel->fileInfo(m_folderProxy->mapToSource(current)).absoluteFilePath()
               : QString();
}

void CDirWnd::EnableItemActions(const QItemSelection& selected)
{
    for (int i = 2; i < m_buttons.size(); ++i)
        m_buttons.at(i)->defaultAction()->setEnabled(!selected.isEmpty());
}

void CDirWnd::EmitForSelection(void (CDirWnd::*signal)(QString))
{
    const QString path = SelectedPath();
    if (!path.isEmpty())
        emit(this->*signal)(path);
}
