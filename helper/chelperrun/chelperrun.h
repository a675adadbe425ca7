#pragma once

#include <QObject>
#include <QProcess>
#include <QTimer>

class CPlayProcess;

// Runs one helper program at a time for its owner and reports the run's end once: finished with
// what the program printed, or failed and why. Stopping, starting again or going ends the
// program and all it started, without waiting; a run stopped reports nothing.
class CHelperRun : public QObject
{
    Q_OBJECT
public:
    enum class Failure { NotStarted, Crashed, ExitCode, TimedOut, TooMuchOutput };
    Q_ENUM(Failure)

    explicit CHelperRun(QObject* parent = nullptr);
    ~CHelperRun() override;

    void SetTimeLimit(int milliseconds) { m_timeLimit = milliseconds; } // 0: none
    void SetOutputLimit(qint64 bytes) { m_outputLimit = bytes; }        // 0: the output is thrown away
    void Start(const QString& program, const QStringList& arguments,
               const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
    void Stop();
    bool IsRunning() const { return m_process != nullptr; }
    const QByteArray& OutputSoFar() const { return m_output; }

signals:
    void SigOutput(); // more output came, for a program that prints its result in parts
    void SigFinished(const QByteArray& output);
    // `reason` is for the log; `output` is what the program printed before the end.
    void SigFailed(CHelperRun::Failure failure, const QString& reason, const QByteArray& output);

private:
    static bool CanRun(const QString& program);
    void ReadOutput();
    void ReadErrors();
    void OnFinished(int exitCode, QProcess::ExitStatus status);
    void Fail(Failure failure, const QString& reason);
    void Detach();

    CPlayProcess* m_process = nullptr;
    QByteArray m_output;
    QByteArray m_errors; // the start of standard error, for the log
    QTimer m_limit;
    int m_timeLimit = 0;
    qint64 m_outputLimit = 256LL << 20;
};
