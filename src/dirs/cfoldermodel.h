#pragma once

#include <QElapsedTimer>
#include <QFileSystemModel>

// A file system model that leaves its rows in the order they were read: it sorted all of a
// folder's rows on the window's thread each time a batch came in (seconds on a big folder).
// CFolderSortProxy orders them instead. It lists everything in a folder, hidden entries too.
class CFolderModel : public QFileSystemModel
{
    Q_OBJECT
public:
    CFolderModel(QFileIconProvider* icons, QObject* parent);
    void sort(int, Qt::SortOrder) override {}
    // Its root folder has been read whole: the model does no more work than watching it.
    bool RootRead() const { return m_rootRead; }
    // Whether deleting it now may wait: its reader stops between two entries, but one stuck in a
    // call to a share that stopped answering holds the deletion until the call returns.
    bool MayHoldItsEnd() const;

private:
    bool m_rootRead = false;
    QElapsedTimer m_sinceRows;
};
