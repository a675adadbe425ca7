#include "customapplication/customapplication.h"

#include "customapplication/argumentmessage.h"
#include "platform/instancesocket.h"

#include <QDebug>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
// A command line is far smaller; a peer that sends more is not a second start.
constexpr int kMaxMessageBytes = 1 << 20;
} // namespace

CApplication::CApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // The executable's base name: the metadata is not set yet, and must not decide the name.
    const QString name = InstanceServerName(QCoreApplication::applicationName());
    QLocalSocket socket;
    socket.connectToServer(name, QIODevice::ReadWrite);
    if (socket.waitForConnected(500)) {
        ForwardArguments(socket);
        return;
    }
    qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << socket.errorString();
    Listen(name);
}

CApplication::~CApplication()
{
    delete m_server;
    m_server = nullptr;
}

void CApplication::ForwardArguments(QLocalSocket& socket)
{
    // The running instance has its own working folder: a relative path must not change meaning.
    QStringList args = QCoreApplication::arguments().mid(1);
    for (QString& arg : args)
        if (QFileInfo::exists(arg))
            arg = QFileInfo(arg).absoluteFilePath();
    socket.write(EncodeArgumentList(args));
    socket.waitForBytesWritten(30000);
}

void CApplication::Listen(const QString& name)
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &CApplication::newLocalSocketConnection);
    if (m_server->listen(name))
        return;
    // A socket file left by an instance that died: nobody answered on it above.
    if (m_server->serverError() == QAbstractSocket::AddressInUseError && QFile::exists(m_server->serverName())) {
        QFile::remove(m_server->serverName());
        m_server->listen(name);
    }
}

void CApplication::newLocalSocketConnection()
{
    QLocalSocket* socket = m_server->nextPendingConnection();
    if (!socket)
        return;
    // The sender closes after writing; read until then, at most a second in all.
    QByteArray message;
    QDeadlineTimer deadline(1000);
    do {
        socket->waitForReadyRead(static_cast<int>(deadline.remainingTime()));
        message += socket->readAll();
    } while (socket->state() == QLocalSocket::ConnectedState && !deadline.hasExpired() &&
             message.size() < kMaxMessageBytes);
    message += socket->readAll();
    delete socket;
    emit SigActiveApp(DecodeArgumentList(message));
}
