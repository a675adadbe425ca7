#include "picture/qpsdhandler.h"

#include "picture/psddecode.h"

#include <QDataStream>
#include <QDebug>
#include <QImage>
#include <QSize>

#include <vector>

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

// Bytes of one entry of the table of packed rows' byte counts that comes before packed planes.
int RowCountBytes(const psd::Header& h) { return h.version == 2 ? 4 : 2; }

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
    const qint64 table = qint64(h.channels) * h.height * RowCountBytes(h);
    if (table > Remaining(device) || !device->seek(device->pos() + table))
        return false;
    // Two packed bytes make at most 128.
    if (wanted > Remaining(device) * 64 + 128)
        return false;
    return UnpackPlanes(device, wanted, planes);
}

// Rows and columns taken for a picture of `scaled`: as many as leave it no smaller than that. Only
// whole bytes a sample can be taken alone.
int SampleStep(const psd::Header& h, const QSize& scaled)
{
    if (!scaled.isValid() || scaled.isEmpty() || (h.depth != 8 && h.depth != 16))
        return 1;
    return qMax(1, qMin(h.width / scaled.width(), h.height / scaled.height()));
}

// The picture of every `step`-th row and column; planes past the fifth are never shown.
psd::Header SampledHeader(const psd::Header& h, int step)
{
    psd::Header small = h;
    small.channels = qMin(h.channels, 5);
    small.width = (h.width + step - 1) / step;
    small.height = (h.height + step - 1) / step;
    return small;
}

// Row y of channel k unpacked into `row`, from the packed data starting at `packed` whose rows
// have the byte counts `counts` (channel after channel).
bool ReadPackedRow(QIODevice* device, qint64 packed, const std::vector<qint64>& counts, qint64 index,
                   const std::vector<qint64>& offsets, QByteArray* row)
{
    const qint64 rowBytes = row->size();
    const qint64 count = counts[size_t(index)];
    // PackBits spends at most one byte on every 128 it carries.
    if (count > rowBytes + rowBytes / 64 + 2 || !device->seek(packed + offsets[size_t(index)]))
        return false;
    const QByteArray bytes = device->read(count);
    qint64 used = 0;
    return bytes.size() == count &&
           psd::UnpackRuns(bytes.constData(), count, true, row->data(), rowBytes, &used) >= 0 && used == rowBytes;
}

// The byte counts of the rows of the first `channels` planes and where each row starts; the packed
// rows of all planes follow the table of all of them.
bool ReadRowCounts(QDataStream& in, const psd::Header& h, int channels, std::vector<qint64>* counts,
                   std::vector<qint64>* offsets)
{
    const int entry = RowCountBytes(h);
    const qint64 tableBytes = qint64(h.channels) * h.height * entry;
    QIODevice* device = in.device();
    const qint64 rows = qint64(channels) * h.height;
    const qint64 start = device->pos();
    if (tableBytes > Remaining(device))
        return false;
    const QByteArray table = device->read(rows * entry);
    if (table.size() != rows * entry || !device->seek(start + tableBytes))
        return false;
    const auto* t = reinterpret_cast<const uchar*>(table.constData());
    counts->resize(size_t(rows));
    offsets->resize(size_t(rows));
    qint64 at = 0;
    for (qint64 i = 0; i < rows; ++i) {
        const uchar* e = t + i * entry;
        (*offsets)[size_t(i)] = at;
        (*counts)[size_t(i)] =
            entry == 4 ? qint64(quint32(e[0]) << 24 | e[1] << 16 | e[2] << 8 | e[3]) : e[0] << 8 | e[1];
        at += (*counts)[size_t(i)];
    }
    return at <= Remaining(device);
}

// Copies every `step`-th of the `count` samples of `row` to `out`; returns the end of what it wrote.
char* TakeEveryNth(const char* row, int count, int step, int sampleBytes, char* out)
{
    if (sampleBytes == 1) {
        for (int x = 0; x < count; x += step)
            *out++ = row[x];
        return out;
    }
    for (qint64 x = 0; x < count; x += step) {
        *out++ = row[2 * x];
        *out++ = row[2 * x + 1];
    }
    return out;
}

// Every `step`-th sample of every `step`-th row of the first `channels` planes, as planes of the
// smaller picture `small` describes.
bool ReadSampledPlanes(QDataStream& in, const psd::Header& h, int step, const psd::Header& small, QByteArray* planes)
{
    quint16 compression = 0;
    in >> compression;
    QIODevice* device = in.device();
    if (in.status() != QDataStream::Ok || (compression != 0 && compression != 1))
        return false;
    std::vector<qint64> counts, offsets;
    if (compression == 1 && !ReadRowCounts(in, h, small.channels, &counts, &offsets))
        return false;
    const qint64 start = device->pos();
    const int sampleBytes = h.depth / 8;
    const qint64 rowBytes = qint64(h.width) * sampleBytes;
    if (compression == 0 && h.channels * psd::PlaneBytes(h) > Remaining(device))
        return false;
    planes->resize(int(small.channels * psd::PlaneBytes(small)));
    QByteArray row(int(rowBytes), Qt::Uninitialized);
    char* out = planes->data();
    for (int k = 0; k < small.channels; ++k) {
        for (int y = 0; y < h.height; y += step) {
            const qint64 index = qint64(k) * h.height + y;
            const bool read = compression == 1 ? ReadPackedRow(device, start, counts, index, offsets, &row)
                                               : device->seek(start + index * rowBytes) &&
                                                     device->read(row.data(), rowBytes) == rowBytes;
            if (!read)
                return false;
            out = TakeEveryNth(row.constData(), h.width, step, sampleBytes, out);
        }
    }
    return out == planes->constData() + planes->size();
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
    if (!ReadColourData(in, &colourData) || !SkipSection(in, 4) || !SkipSection(in, h.version == 2 ? 8 : 4))
        return false;
    const int step = SampleStep(h, m_scaledSize);
    if (step > 1) {
        const psd::Header small = SampledHeader(h, step);
        if (!ReadSampledPlanes(in, h, step, small, &planes) || in.status() != QDataStream::Ok)
            return false;
        const QImage sampled = psd::PlanesToImage(small, planes, colourData);
        if (sampled.isNull())
            return false;
        *image = sampled.scaled(m_scaledSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return true;
    }
    if (!ReadPlanes(in, h, &planes) || in.status() != QDataStream::Ok)
        return false;
    const QImage result = psd::PlanesToImage(h, planes, colourData);
    if (result.isNull())
        return false;
    *image = m_scaledSize.isValid() && m_scaledSize != result.size()
                 ? result.scaled(m_scaledSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                 : result;
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

bool QPsdHandler::supportsOption(ImageOption option) const { return option == Size || option == ScaledSize; }

void QPsdHandler::setOption(ImageOption option, const QVariant& value)
{
    if (option == ScaledSize)
        m_scaledSize = value.toSize();
}
