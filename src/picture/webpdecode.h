#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// A still WebP decoded straight at `size` by libwebp, which scales while decoding, with its ICC
// profile as colour space; null for an animation or anything libwebp refuses.
QImage DecodeWebpScaled(const QByteArray& data, const QSize& size);
