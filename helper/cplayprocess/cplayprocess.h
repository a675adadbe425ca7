#pragma once

#include <QProcess>

// Runs one helper program and tells its owner whether it ended by itself or was killed.
class CPlayProcess : public QProcess
{
    Q_OBJECT
public:
    explicit CPlayProcess(QObject* parent = nullptr);
    ~CPlayProcess() override;

    bool Start(const QString& program, const QStringList& arguments);
    bool WasKilled() const { return m_killed; }

public slots:
    bool IsRunning() const { return state() == QProcess::Running; }
    void QuitProcess();
    void Kill(); // ends the program and all it started, without waiting
    void Command(const QString& str);

signals:
    void SigFinishedNaturally();
    void SigFinishedByKilled();

protected:
    void setupChildProcess() override;

private:
    bool m_killed = false;
};
