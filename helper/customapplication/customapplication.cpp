#include "customapplication/customapplication.h"

#include "customapplication/argumentmessage.h"
#include "customapplication/forwardedmessagereader.h"
#include "platform/fileuri.h"
#include "platform/instancesocket.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <unistd.h>

namespace {

// A command line is far smaller; a peer that sends more is not a second start.
constexpr int kMaxMessageBytes = 1 << 20;
// A second start writes at once and closes; a peer not done by then is dropped.
constexpr int kMessageTimeLimitMs = 10000;
// Connections read at the same time; more are refused until some end.
constexpr int kMaxReaders = 16;
// How long a second start waits for a running instance that does not answer at once.
constexpr int kAnswerWaitMs = 5000;
constexpr int kRetryGapMs = 50;

QStringList ForwardableArguments(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        QByteArray bytes(argv[i]);
        const QString arg = QFile::decodeName(bytes);
        if (QFile::encodeName(arg) != bytes) {
            if (!bytes.startsWith('/'))
                bytes.prepend(QFile::encodeName(QDir::currentPath()) + '/');
            args.append(FileUriOfBytes(bytes));
        } else {
            // The running instance has its own working folder: a relative path must not change meaning.
            args.append(QFileInfo::exists(arg) ? QFileInfo(arg).absoluteFilePath() : arg);
        }
    }
    return args;
}

} // namespace

CApplication::CApplication(int& argc, char** argv) : QApplication(argc, argv), m_args(ForwardableArguments(argc, argv))
{
    // The executable's base name: the metadata is not set yet, and must not decide the name.
    const QString name = InstanceServerName(QCoreApplication::applicationName());
    // The instance takes the lock before it listens and lets go of it only after it has closed:
    // while the lock is held, a server not there (yet, or any more) is not a dead one.
    const QDeadlineTimer deadline(kAnswerWaitMs);
    for (;;) {
        m_lock = TakeInstanceLock(name);
        if (m_lock != kInstanceLockHeld) {
            ForwardOrListen(name);
            return;
        }
        QLocalSocket socket;
        socket.connectToServer(name, QIODevice::ReadWrite);
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            ForwardArguments(socket);
            return;
        }
        if (deadline.hasExpired()) {
            m_forwardError = QStringLiteral("no answer within %1 s").arg(kAnswerWaitMs / 1000);
            return;
        }
        QThread::msleep(kRetryGapMs); // a process with no window of its own, about to end
    }
}

CApplication::~CApplication()
{
    delete m_server;
    m_server = nullptr;
    if (m_lock >= 0)
        ::close(m_lock);
}

// The lock is ours (or there is none to take): a server that still answers is an instance that
// predates locks, and one that is slow to answer is alive all the same.
void CApplication::ForwardOrListen(const QString& name)
{
    QLocalSocket probe;
    probe.connectToServer(name, QIODevice::ReadWrite);
    if (probe.waitForConnected(500)) {
        ForwardArguments(probe);
        return;
    }
    const auto error = probe.error();
    if (error != QLocalSocket::ServerNotFoundError && error != QLocalSocket::ConnectionRefusedError) {
        m_forwardError = QStringLiteral("its socket takes no connection: ") + probe.errorString();
        return;
    }
    Listen(name);
}

void CApplication::ForwardArguments(QLocalSocket& socket)
{
    socket.write(EncodeArgumentList(m_args));
    QDeadlineTimer deadline(kAnswerWaitMs);
    while (socket.bytesToWrite() > 0 && !deadline.hasExpired())
        socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()));
    if (socket.bytesToWrite() > 0)
        m_forwardError = QStringLiteral("the running instance does not read");
    else
        socket.disconnectFromServer();
}

// Reached only when a connection to `name` was refused: no one listens there any more.
void CApplication::Listen(const QString& name)
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &CApplication::newLocalSocketConnection);
    if (m_server->listen(name))
        return;
    if (m_server->serverError() == QAbstractSocket::AddressInUseError) {
        QLocalServer::removeServer(name);
        m_server->listen(name);
    }
}

void CApplication::newLocalSocketConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        if (m_readers >= kMaxReaders) {
            qDebug() << "instance: refused a connection, too many at once";
            delete socket;
            continue;
        }
        qDebug() << "instance: connection";
        ++m_readers;
        auto* reader = new ForwardedMessageReader(socket, kMessageTimeLimitMs, kMaxMessageBytes, this);
        connect(reader, &QObject::destroyed, this, [this] { --m_readers; });
        connect(reader, &ForwardedMessageReader::SigMessage, this,
                [this](const QByteArray& message) { emit SigActiveApp(DecodeArgumentList(message)); });
    }
}
