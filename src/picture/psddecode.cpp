#include "picture/psddecode.h"

#include <QColor>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

namespace psd {

namespace {

// Reads sample i of plane k as an 8-bit value.
class Samples
{
public:
    Samples(const Header& h, const QByteArray& planes)
        : m_data(reinterpret_cast<const uchar*>(planes.constData())), m_plane(PlaneBytes(h)), m_wide(h.depth == 16)
    {}
    int operator()(int k, qint64 i) const
    {
        const uchar* p = m_data + k * m_plane;
        if (!m_wide)
            return p[i];
        // 65535 / 255 = 257: sixteen bits truncated to eight.
        return ((p[2 * i] << 8) | p[2 * i + 1]) / 257;
    }

private:
    const uchar* m_data;
    qint64 m_plane;
    bool m_wide;
};

// Runs rows(from, to) over bands of `height` rows, a band a thread when the picture is large enough
// to be worth them.
void ForRowBands(int height, qint64 pixels, const std::function<void(int, int)>& rows)
{
    const int bands = pixels < (1 << 20) ? 1 : std::clamp(QThread::idealThreadCount(), 1, 4);
    std::vector<std::thread> helpers;
    for (int b = 1; b < bands; ++b)
        helpers.emplace_back(rows, int(qint64(height) * b / bands), int(qint64(height) * (b + 1) / bands));
    rows(0, height / bands);
    for (std::thread& t : helpers)
        t.join();
}

int Clamp8(int v) { return std::clamp(v, 0, 255); }

// Photoshop merges over white: this takes the white back out.
int RemoveMatte(int c, int a) { return Clamp8(((c + a - 255) * 255) / a); }

template <typename Pixel>
QImage Fill(const Header& h, QImage::Format format, Pixel pixel)
{
    QImage image(h.width, h.height, format);
    if (image.isNull())
        return image;
    // Taken once here: scanLine() on several threads would race on the image's detach count.
    uchar* bits = image.bits();
    const qint64 stride = image.bytesPerLine();
    ForRowBands(h.height, qint64(h.width) * h.height, [&](int from, int to) {
        for (int y = from; y < to; ++y) {
            auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
            const qint64 row = qint64(y) * h.width;
            for (int x = 0; x < h.width; ++x)
                line[x] = pixel(row + x);
        }
    });
    return image;
}

QImage FromBitmap(const Header& h, const QByteArray& planes)
{
    const QByteArray pbm = QStringLiteral("P4\n%1 %2\n").arg(h.width).arg(h.height).toUtf8() + planes;
    return QImage::fromData(pbm, "PBM");
}

QImage FromIndexed(const Header& h, const QByteArray& planes, const QByteArray& colourData)
{
    QImage image(h.width, h.height, QImage::Format_Indexed8);
    if (image.isNull())
        return image;
    const int n = colourData.size() / 3;
    const auto* c = reinterpret_cast<const uchar*>(colourData.constData());
    QVector<QRgb> table(n);
    for (int i = 0; i < n; ++i)
        table[i] = qRgb(c[i], c[n + i], c[2 * n + i]);
    image.setColorTable(table);
    for (int y = 0; y < h.height; ++y)
        memcpy(image.scanLine(y), planes.constData() + qint64(y) * h.width, h.width);
    return image;
}

QImage FromGray(const Header& h, const Samples& s)
{
    if (h.channels == 1)
        return Fill(h, QImage::Format_RGB32, [&](qint64 i) {
            const int g = s(0, i);
            return qRgb(g, g, g);
        });
    return Fill(h, QImage::Format_ARGB32, [&](qint64 i) {
        const int g = s(0, i);
        return qRgba(g, g, g, s(1, i));
    });
}

QImage FromRgb(const Header& h, const Samples& s)
{
    if (h.channels == 3)
        return Fill(h, QImage::Format_RGB32, [&](qint64 i) { return qRgb(s(0, i), s(1, i), s(2, i)); });
    if (h.depth == 16)
        return Fill(h, QImage::Format_ARGB32, [&](qint64 i) { return qRgba(s(0, i), s(1, i), s(2, i), s(3, i)); });
    return Fill(h, QImage::Format_ARGB32, [&](qint64 i) {
        const int a = s(3, i);
        if (a == 0)
            return qRgba(s(0, i), s(1, i), s(2, i), 0);
        return qRgba(RemoveMatte(s(0, i), a), RemoveMatte(s(1, i), a), RemoveMatte(s(2, i), a), a);
    });
}

// The file stores ink inverted: 255 is no ink.
QImage FromCmyk(const Header& h, const Samples& s)
{
    if (h.channels == 3)
        return Fill(h, QImage::Format_RGB32,
                    [&](qint64 i) { return QColor::fromCmyk(255 - s(0, i), 255 - s(1, i), 255 - s(2, i), 0).rgb(); });
    if (h.channels == 4)
        return Fill(h, QImage::Format_RGB32, [&](qint64 i) {
            return QColor::fromCmyk(255 - s(0, i), 255 - s(1, i), 255 - s(2, i), 255 - s(3, i)).rgb();
        });
    const bool wide = h.depth == 16;
    return Fill(h, QImage::Format_ARGB32, [&](qint64 i) {
        const int a = wide ? 255 - s(4, i) : s(4, i);
        return QColor::fromCmyk(255 - s(0, i), 255 - s(1, i), 255 - s(2, i), 255 - s(3, i), a).rgba();
    });
}

QImage FromLab(const Header& h, const Samples& s)
{
    if (h.channels == 3)
        return Fill(h, QImage::Format_RGB32, [&](qint64 i) { return LabToArgb(s(0, i), s(1, i), s(2, i), 255); });
    return Fill(h, QImage::Format_ARGB32, [&](qint64 i) { return LabToArgb(s(0, i), s(1, i), s(2, i), s(3, i)); });
}

bool EightOr16(const Header& h) { return h.depth == 8 || h.depth == 16; }

} // namespace

const char* CheckHeader(const Header& h)
{
    const int limit = h.version == 2 ? 300000 : 30000;
    if (h.version != 1 && h.version != 2)
        return "version";
    if (h.channels < 1)
        return "channels";
    if (h.height < 1 || h.height > limit || h.width < 1 || h.width > limit)
        return "size";
    if (h.depth != 1 && h.depth != 8 && h.depth != 16 && h.depth != 32)
        return "depth";
    switch (h.mode) {
    case Bitmap:
    case Grayscale:
    case Indexed:
    case Rgb:
    case Cmyk:
    case Multichannel:
    case Duotone:
    case Lab:
        return nullptr;
    default:
        return "colour mode";
    }
}

qint64 PlaneBytes(const Header& h) { return qint64(h.height) * ((qint64(h.width) * h.depth + 7) / 8); }

qint64 UnpackRuns(const char* packed, qint64 size, bool last, char* out, qint64 limit, qint64* used)
{
    qint64 i = 0;
    while (i < size) {
        const int n = static_cast<signed char>(packed[i]);
        const qint64 runBytes = n >= 0 ? n + 2 : 2;
        if (!last && i + runBytes > size)
            break; // the rest of the run comes with the next piece
        ++i;
        if (n >= 0) {
            const qint64 count = qMin<qint64>(n + 1, size - i);
            if (*used + count > limit)
                return -1;
            memcpy(out + *used, packed + i, size_t(count));
            *used += count;
            i += count;
        } else if (n != -128) {
            if (i >= size)
                break;
            if (*used + 1 - n > limit)
                return -1;
            memset(out + *used, packed[i++], size_t(1 - n));
            *used += 1 - n;
        }
    }
    return i;
}

QImage PlanesToImage(const Header& h, const QByteArray& planes, const QByteArray& colourData)
{
    if (planes.size() != h.channels * PlaneBytes(h))
        return {};
    const Samples s(h, planes);
    switch (h.mode) {
    case Bitmap:
        return FromBitmap(h, planes);
    case Grayscale:
        return EightOr16(h) ? FromGray(h, s) : QImage();
    case Duotone:
        return h.depth == 8 && h.channels == 1 ? FromGray(h, s) : QImage();
    case Indexed:
        return h.depth == 8 && h.channels == 1 ? FromIndexed(h, planes, colourData) : QImage();
    case Rgb:
        return EightOr16(h) && h.channels >= 3 ? FromRgb(h, s) : QImage();
    case Cmyk:
    case Multichannel:
        if (h.depth == 8 && h.channels >= 3)
            return FromCmyk(h, s);
        return h.depth == 16 && h.channels >= 4 ? FromCmyk(h, s) : QImage();
    case Lab:
        return EightOr16(h) && h.channels >= 3 ? FromLab(h, s) : QImage();
    default:
        return {};
    }
}

QRgb LabToArgb(int L, int a, int b, int alpha)
{
    const double l = L / 2.55;
    const double fy = (l + 16) / 116;
    const double fx = (a - 128) / 500.0 + fy;
    const double fz = fy - (b - 128) / 200.0;
    const auto inverse = [](double f) {
        const double f3 = f * f * f;
        return f3 > 0 ? f3 : (116 * f - 16) / 903;
    };
    const double Y = (l > 0 ? fy * fy * fy : l / 903) * 1.0;
    const double X = inverse(fx) * 0.9642;
    const double Z = inverse(fz) * 0.8249;
    const auto gamma = [](double v) { return v <= 0 ? 0.0 : std::min(1.0, std::sqrt(v)); };
    const double R = gamma(1.9624274 * X - 0.6105343 * Y - 0.3413404 * Z);
    const double G = gamma(-0.9787684 * X + 1.9161415 * Y + 0.033454 * Z);
    const double B = gamma(0.0286869 * X - 0.1406752 * Y + 1.3487655 * Z);
    return QColor::fromRgbF(R, G, B, alpha / 255.0).rgba();
}

} // namespace psd
