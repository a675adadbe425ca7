#pragma once

#include <QByteArray>
#include <QImage>

// The pieces of the Photoshop decoder that need no device, so that they are tested directly.
namespace psd {

enum ColourMode { Bitmap = 0, Grayscale = 1, Indexed = 2, Rgb = 3, Cmyk = 4, Multichannel = 7, Duotone = 8, Lab = 9 };

struct Header {
    int version = 0; // 1 PSD, 2 PSB
    int channels = 0;
    int height = 0;
    int width = 0;
    int depth = 0;
    int mode = 0;
};

// Why a header is refused, or null when it is accepted.
const char* CheckHeader(const Header& h);

// Bytes of one channel plane: rows padded to whole bytes.
qint64 PlaneBytes(const Header& h);

// Unpacks the PackBits runs at the start of `packed` into `out`, which holds `*used` of its `limit`
// bytes; returns the bytes of `packed` taken, or -1 as soon as the output would pass `limit`. A run
// that `packed` holds only part of is left for the next piece unless this is the `last` one.
qint64 UnpackRuns(const char* packed, qint64 size, bool last, char* out, qint64 limit, qint64* used);

// The merged image from its planes (channel after channel); null when the mode, depth and
// channel count have no picture.
QImage PlanesToImage(const Header& h, const QByteArray& planes, const QByteArray& colourData);

// One Lab pixel (8-bit L, a, b and alpha) as ARGB.
QRgb LabToArgb(int L, int a, int b, int alpha);

} // namespace psd
