#pragma once

#include "chelperrun/chelperrun.h"
#include "viewers/cabstractmanager.h"

#include <QElapsedTimer>
#include <QString>

// Lists an archive by running a lister from the plug-in folder and parsing what it prints.
// Delivers the sorted entries as a Databox, or an invalid value with m_err telling why.
class CDirManeger : public CAbstractManager
{
    Q_OBJECT
public:
    explicit CDirManeger(QObject* parent = nullptr);

public slots:
    void Perform() override;
    void Stop() override;

private:
    void OnListerFailed(CHelperRun::Failure failure, const QString& reason, const QByteArray& output);
    void OnListed(const QByteArray& output);

    CHelperRun* m_run;
    QString m_lister; // the program's name, for the messages
    bool m_unrarLister = false;
    QElapsedTimer m_clock; // the lister's time and ours, for the log
};
