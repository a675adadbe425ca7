#pragma once

#include <QApplication>
#include <QStringList>

class QLocalServer;

// The application object: either the running instance (it owns the local server) or a
// process that hands its arguments to the running one and ends.
class CApplication : public QApplication
{
    Q_OBJECT
public:
    CApplication(int& argc, char** argv);
    ~CApplication() override;

    bool IsFirstInstance() const { return m_server != nullptr; }

signals:
    void SigActiveApp(QStringList duplicate_args);

private slots:
    void newLocalSocketConnection();

private:
    void ForwardArguments(class QLocalSocket& socket);
    void Listen(const QString& name);

    QLocalServer* m_server = nullptr;
};
