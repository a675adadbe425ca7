#include "picture/qpsdhandler.h"

#include "picture/psddecode.h"

#include <QDataStream>
#include <QDebug>
#include <QImage>
#include <QSize>

namespace {

constexpr char Signature[] = "8BPS";

QByteArray FormatName(int version) { return version == 2 ? "psb" : "psd"; }

bool ReadHeader(QDataStream& in, psd::Header* h)
{
    char signature[4];
    if (in.readRawData(signature, 4) != 4 || memcmp(signature, Signature, 4) != 0)
        return false;
    quint16 version = 0, channels = 0, depth = 0, mode = 0;
    quint32 height = 0, width = 0;
    in >> version;
    in.skipRawData(6);
    in >> channels >> height >> width >> depth >> mode;
    if (in.status() != QDataStream::Ok || height > 300000 || width > 300000)
        return false;
    *h = {version, channels, int(height), int(width), depth, mode};
    return true;
}

qint64 Remaining(QIODevice* device) { return device->bytesAvailable(); }

// Skips a section whose length has `lengthBytes` bytes; a length past the end fails.
bool SkipSection(QDataStream& in, int lengthBytes)
{
    quint64 length = 0;
    if (lengthBytes == 8) {
        in >> length;
    } else {
        quint32 short_length = 0;
        in >> short_length;
        length = short_length;
    }
    if (in.status() != QDataStream::Ok || length > quint64(Remaining(in.device())))
        return false;
    return length == 0 || in.device()->seek(in.device()->pos() + qint64(length));
}

bool ReadColourData(QDataStream& in, QByteArray* data)
{
    quint32 length = 0;
    in >> length;
    if (in.status() != QDataStream::Ok || length > quint64(Remaining(in.device())))
        return false;
    data->resize(int(length));
    return length == 0 || in.readRawData(data->data(), int(length)) == int(length);
}

// Unpacks the rest of the device piece by piece: no copy of the whole packed data, and a stopped
// read ends it.
bool UnpackPlanes(QIODevice* device, qint64 wanted, QByteArray* planes)
{
    constexpr qint64 PieceBytes = 1 << 20;
    planes->resize(int(wanted));
    qint64 used = 0;
    QByteArray pending;
    for (;;) {
        const QByteArray piece = device->read(PieceBytes);
        const bool last = piece.isEmpty();
        pending.append(piece);
        const qint64 taken = psd::UnpackRuns(pending.constData(), pending.size(), last, planes->data(), wanted, &used);
        if (taken < 0)
            return false;
        if (last)
            break;
        pending.remove(0, int(taken));
    }
    planes->resize(int(used));
    return true;
}

// The planes of the merged image; the sizes the header promises are held against what the
// file can hold before anything is allocated.
bool ReadPlanes(QDataStream& in, const psd::Header& h, QByteArray* planes)
{
    quint16 compression = 0;
    in >> compression;
    const qint64 wanted = h.channels * psd::PlaneBytes(h);
    if (in.status() != QDataStream::Ok || wanted > QPsdHandler::MaxImageBytes)
        return false;
    QIODevice* device = in.device();
    if (compression == 0) {
        if (wanted > Remaining(device))
            return false;
        planes->resize(int(wanted));
        return in.readRawData(planes->data(), int(wanted)) == wanted;
    }
    if (compression != 1)
        return false;
    const qint64 table = qint64(h.channels) * h.height * (h.version == 2 ? 4 : 2);
    if (table > Remaining(device) || !device->seek(device->pos() + table))
        return false;
    // Two packed bytes make at most 128.
    if (wanted > Remaining(device) * 64 + 128)
        return false;
    return UnpackPlanes(device, wanted, planes);
}

} // namespace

bool QPsdHandler::canRead(QIODevice* device) { return device && device->peek(4) == QByteArray(Signature, 4); }

bool QPsdHandler::canRead() const
{
    if (!canRead(device()))
        return false;
    const QByteArray head = device()->peek(6);
    const int version = head.size() == 6 ? (uchar(head[4]) << 8 | uchar(head[5])) : 0;
    if (version != 1 && version != 2)
        return false;
    const_cast<QPsdHandler*>(this)->setFormat(FormatName(version));
    return true;
}

bool QPsdHandler::read(QImage* image)
{
    QDataStream in(device());
    in.setByteOrder(QDataStream::BigEndian);
    psd::Header h;
    if (!ReadHeader(in, &h) || psd::CheckHeader(h))
        return false;
    if (format() != FormatName(h.version))
        setFormat(FormatName(h.version));
    if (qint64(h.width) * h.height * 4 > MaxImageBytes)
        return false;
    QByteArray colourData, planes;
    if (!ReadColourData(in, &colourData) || !SkipSection(in, 4) || !SkipSection(in, h.version == 2 ? 8 : 4) ||
        !ReadPlanes(in, h, &planes) || in.status() != QDataStream::Ok)
        return false;
    const QImage result = psd::PlanesToImage(h, planes, colourData);
    if (result.isNull())
        return false;
    *image = result;
    return true;
}

QVariant QPsdHandler::option(ImageOption option) const
{
    if (option != Size || !device())
        return {};
    const QByteArray head = device()->peek(26);
    QDataStream in(head);
    in.setByteOrder(QDataStream::BigEndian);
    psd::Header h;
    if (head.size() < 26 || !ReadHeader(in, &h) || (h.version != 1 && h.version != 2))
        return {};
    return QSize(h.width, h.height);
}

bool QPsdHandler::supportsOption(ImageOption option) const { return option == Size; }
