#pragma once

#include "dirs/csuffixiconprovider.h"

#include <QFileInfo>
#include <QItemSelection>
#include <QModelIndex>
#include <QWidget>

class QHBoxLayout;
class QListView;
class QScrollArea;

// A folder shown as columns, one list per level: selecting a folder opens the next column.
class CFileSystemHorizontalWnd : public QWidget
{
    Q_OBJECT
public:
    explicit CFileSystemHorizontalWnd(QWidget* parent = nullptr);
    ~CFileSystemHorizontalWnd() override;

    void SetRootPath(const QString& path);
    void ClearColumns();
    QFileInfo SelectedFileInfo() const;
    int ColumnCount() const;

signals:
    void SigSelectionChanged(QItemSelection selected);
    // The first column's listing has not ended within its bound (CFolderModel::SigTooSlow).
    void SigRootTooSlow(QString path);

private:
    static QFileInfo FileInfoOf(const QModelIndex& index);
    void AddColumn(const QString& path);
    void DeleteColumn(int position);
    void RecordSelection(const QItemSelection& selected);
    void Cascade(QListView* column, const QItemSelection& selected);

    CSuffixIconProvider m_icons; // for every column's model
    QModelIndex m_selected;
    QScrollArea* m_scrollArea;
    QHBoxLayout* m_columnLayout;
};
