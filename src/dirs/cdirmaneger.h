#pragma once

#include "viewers/cabstractmanager.h"

#include <QElapsedTimer>
#include <QString>

class CPlayProcess;

// Lists an archive by running a lister from the plug-in folder and parsing what it prints.
// Delivers the sorted entries as a Databox, or an invalid value with m_err telling why.
class CDirManeger : public CAbstractManager
{
    Q_OBJECT
public:
    explicit CDirManeger(QObject* parent = nullptr);
    ~CDirManeger() override;

    static QString ProgramFolder();

public slots:
    void Perform() override;
    void Stop() override;

private:
    void ReadOutput();
    void OnFinishedNaturally();

    QByteArray m_output; // decoded once the lister ends, line by line
    CPlayProcess* m_process;
    bool m_unrarLister = false;
    QElapsedTimer m_clock; // the lister's time and ours, for the log
};
