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

// Appends the PackBits runs of `packed` to `out` until the input ends; false as soon as the
// output would pass `limit` bytes.
bool UnpackBits(const char* packed, qint64 size, qint64 limit, QByteArray* out);

// The merged image from its planes (channel after channel); null when the mode, depth and
// channel count have no picture.
QImage PlanesToImage(const Header& h, const QByteArray& planes, const QByteArray& colourData);

// One Lab pixel (8-bit L, a, b and alpha) as ARGB.
QRgb LabToArgb(int L, int a, int b, int alpha);

} // namespace psd
