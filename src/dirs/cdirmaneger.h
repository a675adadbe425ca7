#pragma once

#include "viewers/cabstractmanager.h"

#include <QElapsedTimer>
#include <QString>

#include <memory>

class CPlayProcess;
class QTextDecoder;

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
    void Fail(const QString& err);

    QString m_output;
    CPlayProcess* m_process;
    std::unique_ptr<QTextDecoder> m_decoder;
    bool m_rar = false;
    QElapsedTimer m_clock; // the lister's time and ours, for the log
};
