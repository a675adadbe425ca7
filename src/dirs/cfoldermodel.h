#pragma once

#include <QElapsedTimer>
#include <QFileSystemModel>
#include <QTimer>

// A file system model that leaves its rows in the order they were read: it sorted all of a
// folder's rows on the window's thread each time a batch came in (seconds on a big folder).
// CFolderSortProxy orders them instead. It lists everything in a folder, hidden entries too.
class CFolderModel : public QFileSystemModel
{
    Q_OBJECT
public:
    // As long as a file's read is given: a share that stopped answering never ends a listing.
    static constexpr int ReadLimitMs = 20000;

    CFolderModel(QFileIconProvider* icons, QObject* parent);
    void sort(int, Qt::SortOrder) override {}
    // Makes `path` the root and reads it, within the bound.
    void ReadRoot(const QString& path);
    // Its root folder has been read whole: the model does no more work than watching it.
    bool RootRead() const { return m_rootRead; }
    // Whether deleting it now may wait: its reader stops between two entries, but one stuck in a
    // call to a share that stopped answering holds the deletion until the call returns.
    bool MayHoldItsEnd() const;

signals:
    // The root's listing has not ended within the bound, and its reader brings no more rows.
    void SigTooSlow(QString path);

private:
    void CheckProgress();

    bool m_rootRead = false;
    QElapsedTimer m_sinceRows;
    QTimer m_readLimit;
};
