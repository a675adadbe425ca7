#include "cplayprocess/cplayprocess.h"

#include "platform/processgroup.h"

#include <QDebug>

CPlayProcess::CPlayProcess(QObject* parent) : QProcess(parent)
{
    connect(this, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this, [this] {
        if (m_killed)
            emit SigFinishedByKilled();
        else
            emit SigFinishedNaturally();
    });
}

// The base class may still report the end once this part is gone: nothing may reach our slots then.
CPlayProcess::~CPlayProcess()
{
    QuitProcess();
    disconnect(this, nullptr, this, nullptr);
}

// Its own process group, so that ending a helper also ends whatever it started.
void CPlayProcess::setupChildProcess() { PlaceInOwnProcessGroup(); }

bool CPlayProcess::Start(const QString& program, const QStringList& arguments)
{
    m_killed = false;
    start(program, arguments, QIODevice::ReadWrite);
    if (waitForStarted(1000))
        return true;
    qDebug() << "start process failed" << errorString() << "[" << program << arguments << "]";
    m_killed = true;
    kill();
    return false;
}

void CPlayProcess::QuitProcess()
{
    if (state() != QProcess::Running)
        return;
    Kill();
    // A killed program held in a read that never returns (a network share gone away) ends only
    // with the read: it is left to end on its own, unwaited.
    if (!waitForFinished(1000))
        setProcessState(QProcess::NotRunning);
}

void CPlayProcess::Kill()
{
    if (state() == QProcess::NotRunning)
        return;
    m_killed = true;
    KillProcessGroup(processId());
    kill();
}

void CPlayProcess::Command(const QString& str) { write(str.toLocal8Bit() + '\n'); }
