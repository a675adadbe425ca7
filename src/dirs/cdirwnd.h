#pragma once

#include "viewers/cabstractwnd.h"

#include <QIcon>
#include <QStackedWidget>

class CFileSystemHorizontalWnd;
class CFolderModel;
class CFolderSortProxy;
class CSuffixIconProvider;
class CStandardItemModel;
class QItemSelection;
class QTreeView;

// Archives as a read-only tree of their listing; folders live from disk, as a tree or as
// columns, with their selected item opened, revealed or previewed here.
class CDirWnd : public CAbstractWnd
{
    Q_OBJECT
public:
    explicit CDirWnd(QWidget* parent = nullptr);
    ~CDirWnd() override;

    QTreeView* ArchiveTree() const { return m_archiveTree; }
    QTreeView* FolderTree() const { return m_folderTree; }
    CFileSystemHorizontalWnd* ColumnView() const { return m_columnView; }
    QString SelectedPath() const;
    static QString TooLongToReadText() { return tr("The folder took too long to read."); }

public slots:
    QSize GetSize() const override;
    MainType GetWndType() const override { return MT_DIR; }
    void InitControlBar(QBoxLayout* layout) override;
    void Clear() override;

protected slots:
    void LoadHelper() override;
    void PerformFinished(QVariant v) override;

private:
    static void SetUpTree(QTreeView* tree);
    void PrepareArchiveModel(CStandardItemModel* model);
    void ShowArchiveModel(CStandardItemModel* model);
    void SetFolderModel(CFolderModel* model);
    void OnFolderTooSlow(const QString& path);
    void ShowTree(bool checked);
    void ShowFolderInChosenView();
    void ShowColumns(bool checked);
    void EnableItemActions(const QItemSelection& selected);
    void EmitForSelection(void (CDirWnd::*signal)(QString));
    QAction* AddButton(QBoxLayout* layout, const QString& normal, const QString& active, const QString& tip,
                       const QString& shortcut);

    CSuffixIconProvider* m_icons; // outlives the models that use it
    QIcon m_folderIcon;           // kept here, so that no model takes the last copy to the thread that deletes it
    QIcon m_fileIcon;
    CStandardItemModel* m_archiveModel;
    QTreeView* m_archiveTree;
    CFolderModel* m_folderModel = nullptr; // of the folder shown as a tree
    CFolderSortProxy* m_folderProxy = nullptr;
    QTreeView* m_folderTree;
    CFileSystemHorizontalWnd* m_columnView;
    QList<QToolButton*> m_buttons; // tree, columns, open, reveal, open here
    QAction* m_treeAction = nullptr;
    QAction* m_columnAction = nullptr;
    QStackedWidget m_pages;
};
