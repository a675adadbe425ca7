#include "customapplication/forwardedmessagereader.h"

#include <QDebug>
#include <QLocalSocket>

ForwardedMessageReader::ForwardedMessageReader(QLocalSocket* socket, int idleLimitMs, int maxBytes, QObject* parent)
    : QObject(parent), m_socket(socket), m_maxBytes(maxBytes)
{
    socket->setParent(this);
    m_idle.setSingleShot(true);
    m_idle.setInterval(idleLimitMs);
    connect(&m_idle, &QTimer::timeout, this, [this] { Drop("silent"); });
    connect(socket, &QLocalSocket::readyRead, this, &ForwardedMessageReader::Read);
    connect(socket, &QLocalSocket::disconnected, this, &ForwardedMessageReader::Finish);
    m_idle.start();
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
    else
        m_idle.start(); // silence is measured from the last byte
}

void ForwardedMessageReader::Finish()
{
    Read();
    if (m_done)
        return;
    m_done = true;
    m_idle.stop();
    emit SigMessage(m_message);
    deleteLater();
}

void ForwardedMessageReader::Drop(const char* why)
{
    if (m_done)
        return;
    m_done = true;
    m_idle.stop();
    qDebug() << "instance: dropped a" << why << "connection";
    m_socket->abort();
    deleteLater();
}
