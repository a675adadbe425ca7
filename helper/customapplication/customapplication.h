#pragma once

#include <QApplication>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// The application object: either the running instance (it owns the local server) or a
// process that hands its arguments to the running one and ends.
class CApplication : public QApplication
{
    Q_OBJECT
public:
    CApplication(int& argc, char** argv);
    ~CApplication() override;

    bool IsFirstInstance() const { return m_server != nullptr; }
    // Why the running instance did not get the arguments; empty when it did, or when this is it.
    QString ForwardError() const { return m_forwardError; }
    // The arguments as they are forwarded: a path that exists is absolute, and a name the
    // locale cannot decode travels as a file: URI.
    QStringList Arguments() const { return m_args; }

signals:
    void SigActiveApp(QStringList duplicate_args);

private slots:
    void newLocalSocketConnection();

private:
    void ForwardOrListen(const QString& name);
    void ForwardArguments(QLocalSocket& socket);
    void Listen(const QString& name);

    QStringList m_args;
    QString m_forwardError;
    QLocalServer* m_server = nullptr;
    int m_lock = -1;
    int m_readers = 0;
};
