#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>

class QLocalSocket;

// Collects what one second start sends, without ever waiting on it: the message ends when the
// sender closes. A peer that takes too long or sends more than any command line is dropped.
class ForwardedMessageReader : public QObject
{
    Q_OBJECT
public:
    ForwardedMessageReader(QLocalSocket* socket, int timeLimitMs, int maxBytes, QObject* parent);

signals:
    void SigMessage(QByteArray message);

private:
    void Read();
    void Finish();
    void Drop(const char* why);

    QLocalSocket* m_socket;
    QByteArray m_message;
    QTimer m_limit;
    int m_maxBytes;
    bool m_done = false;
};
