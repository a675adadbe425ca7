#include "customapplication/argumentmessage.h"

#include <QDataStream>
#include <QtEndian>

QByteArray EncodeArgumentList(const QStringList& args)
{
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << args;
    return message;
}

QStringList DecodeArgumentList(const QByteArray& message)
{
    QStringList args;
    const auto* data = reinterpret_cast<const uchar*>(message.constData());
    const qsizetype size = message.size();
    if (size < 4)
        return args;
    const quint32 count = qFromBigEndian<quint32>(data);
    qsizetype pos = 4;
    for (quint32 i = 0; i < count && pos + 4 <= size; ++i) {
        const quint32 bytes = qFromBigEndian<quint32>(data + pos);
        pos += 4;
        if (bytes == 0xFFFFFFFFu) {
            args.append(QString());
            continue;
        }
        if (bytes % 2 != 0 || bytes > static_cast<quint64>(size - pos))
            break;
        QString text(static_cast<int>(bytes / 2), Qt::Uninitialized);
        qFromBigEndian<ushort>(data + pos, bytes / 2, text.data());
        args.append(text);
        pos += bytes;
    }
    return args;
}
