#include "customapplication/forwardedmessagereader.h"

#include <QDebug>
#include <QLocalSocket>

ForwardedMessageReader::ForwardedMessageReader(QLocalSocket* socket, int timeLimitMs, int maxBytes, QObject* parent)
    : QObject(parent), m_socket(socket), m_maxBytes(maxBytes)
{
    socket->setParent(this);
    m_limit.setSingleShot(true);
    m_limit.setInterval(timeLimitMs);
    connect(&m_limit, &QTimer::timeout, this, [this] { Drop(m_message.isEmpty() ? "silent" : "slow"); });
    connect(socket, &QLocalSocket::readyRead, this, &ForwardedMessageReader::Read);
    connect(socket, &QLocalSocket::disconnected, this, &ForwardedMessageReader::Finish);
    m_limit.start();
    // After the caller has connected to the signal: a sender may be done already.
    QTimer::singleShot(0, this, [this] {
        if (m_socket->state() == QLocalSocket::ConnectedState)
            Read();
        else
            Finish();
    });
}

void ForwardedMessageReader::Read()
{
    if (m_done)
        return;
    m_message += m_socket->readAll();
    if (m_message.size() > m_maxBytes)
        Drop("oversized");
}

void ForwardedMessageReader::Finish()
{
    Read();
    if (m_done)
        return;
    m_done = true;
    m_limit.stop();
    emit SigMessage(m_message);
    deleteLater();
}

void ForwardedMessageReader::Drop(const char* why)
{
    if (m_done)
        return;
    m_done = true;
    m_limit.stop();
    qDebug() << "instance: dropped a" << why << "connection";
    m_socket->abort();
    deleteLater();
}
