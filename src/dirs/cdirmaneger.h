#pragma once

#include "chelperrun/chelperrun.h"
#include "viewers/cabstractmanager.h"

#include <QAtomicInt>
#include <QElapsedTimer>
#include <QFuture>
#include <QString>
#include <QThreadPool>

struct ListingTree;

// Lists an archive by running a lister from the plug-in folder; its output is parsed, sorted
// and made a tree off the GUI thread. Delivers the ListingTree, or an invalid value with
// m_err telling why. Stopping or starting again leaves the work under way at its next check.
class CDirManeger : public CAbstractManager
{
    Q_OBJECT
public:
    explicit CDirManeger(QObject* parent = nullptr);
    ~CDirManeger() override;

public slots:
    void Perform() override;
    void Stop() override;

private:
    void OnListerFailed(CHelperRun::Failure failure, const QString& reason, const QByteArray& output);
    void OnListed(const QByteArray& output);
    void OnBuilt(const ListingTree& tree, int generation);

    CHelperRun* m_run;
    QString m_lister; // the program's name, for the messages
    bool m_unrarLister = false;
    QElapsedTimer m_clock; // the lister's time, for the log
    QAtomicInt m_generation;
    QThreadPool m_pool;
    QFuture<void> m_job;
};
