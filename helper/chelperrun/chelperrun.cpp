#include "chelperrun/chelperrun.h"

#include "cplayprocess/cplayprocess.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <utility>

namespace {

constexpr int kErrorBytes = 1000;

} // namespace

CHelperRun::CHelperRun(QObject* parent) : QObject(parent)
{
    m_limit.setSingleShot(true);
    connect(&m_limit, &QTimer::timeout, this,
            [this] { Fail(Failure::TimedOut, QStringLiteral("no end within %1 ms").arg(m_timeLimit)); });
}

// Runs stopped earlier are reaped as their processes go with this object.
CHelperRun::~CHelperRun() { Detach(); }

// Known before starting, so that a missing or unrunnable program is told at once.
bool CHelperRun::CanRun(const QString& program)
{
    if (!program.contains(QLatin1Char('/')))
        return !QStandardPaths::findExecutable(program).isEmpty();
    const QFileInfo file(program);
    return file.isFile() && file.isExecutable();
}

void CHelperRun::Start(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment)
{
    Detach();
    m_output.clear();
    m_errors.clear();
    if (!CanRun(program)) {
        emit SigFailed(Failure::NotStarted, program + QStringLiteral(": no program to run"), QByteArray());
        return;
    }
    m_process = new CPlayProcess(this);
    m_process->setProcessEnvironment(environment);
    // A helper that asks something (a password) must find no one there, not wait for ever.
    m_process->setStandardInputFile(QProcess::nullDevice());
    if (m_outputLimit <= 0)
        m_process->setStandardOutputFile(QProcess::nullDevice());
    connect(m_process, &QProcess::readyReadStandardOutput, this, &CHelperRun::ReadOutput);
    connect(m_process, &QProcess::readyReadStandardError, this, &CHelperRun::ReadErrors);
    connect(m_process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this, &CHelperRun::OnFinished);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            Fail(Failure::NotStarted, m_process->errorString());
    });
    m_process->start(program, arguments);
    if (m_process && m_timeLimit > 0)
        m_limit.start(m_timeLimit);
}

void CHelperRun::Stop() { Detach(); }

void CHelperRun::ReadOutput()
{
    const QByteArray more = m_process->readAllStandardOutput();
    m_output += more;
    if (m_output.size() > m_outputLimit && m_outputLimit > 0)
        Fail(Failure::TooMuchOutput, QStringLiteral("more than %1 bytes of output").arg(m_outputLimit));
    else if (!more.isEmpty())
        emit SigOutput();
}

void CHelperRun::ReadErrors()
{
    const QByteArray piece = m_process->readAllStandardError();
    m_errors += piece.left(kErrorBytes - m_errors.size());
}

void CHelperRun::OnFinished(int exitCode, QProcess::ExitStatus status)
{
    ReadErrors();
    ReadOutput();
    if (!m_process)
        return;
    if (status == QProcess::CrashExit)
        return Fail(Failure::Crashed, QStringLiteral("crashed"));
    if (exitCode != 0)
        return Fail(Failure::ExitCode, QStringLiteral("exit code %1").arg(exitCode));
    Detach();
    emit SigFinished(std::exchange(m_output, QByteArray()));
}

void CHelperRun::Fail(Failure failure, const QString& reason)
{
    Detach();
    const QString errors = QString::fromLocal8Bit(std::exchange(m_errors, QByteArray())).trimmed();
    emit SigFailed(failure, errors.isEmpty() ? reason : reason + QStringLiteral(": ") + errors,
                   std::exchange(m_output, QByteArray()));
}

// The run's process is killed, with all it started, and goes once it has ended.
void CHelperRun::Detach()
{
    m_limit.stop();
    CPlayProcess* process = std::exchange(m_process, nullptr);
    if (!process)
        return;
    process->disconnect(this);
    if (process->state() == QProcess::NotRunning) {
        process->deleteLater();
        return;
    }
    connect(process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), process, &QObject::deleteLater);
    connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            process->deleteLater();
    });
    process->Kill();
}
