#pragma once

#include <QFileSystemModel>

// A file system model that leaves its rows in the order they were read: it sorted all of a
// folder's rows on the window's thread each time a batch came in (seconds on a big folder).
// CFolderSortProxy orders them instead.
class CFolderModel : public QFileSystemModel
{
    Q_OBJECT
public:
    using QFileSystemModel::QFileSystemModel;
    void sort(int, Qt::SortOrder) override {}
};
