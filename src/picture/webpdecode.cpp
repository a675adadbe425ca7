#include "picture/webpdecode.h"

#include <QColorSpace>

#include <webp/decode.h>
#include <webp/demux.h>

namespace {

QColorSpace EmbeddedColourSpace(const QByteArray& data)
{
    WebPData bytes{reinterpret_cast<const uint8_t*>(data.constData()), size_t(data.size())};
    WebPDemuxer* demux = WebPDemux(&bytes);
    if (!demux)
        return {};
    QColorSpace space;
    WebPChunkIterator chunk;
    if ((WebPDemuxGetI(demux, WEBP_FF_FORMAT_FLAGS) & ICCP_FLAG) && WebPDemuxGetChunk(demux, "ICCP", 1, &chunk)) {
        space = QColorSpace::fromIccProfile(
            QByteArray(reinterpret_cast<const char*>(chunk.chunk.bytes), int(chunk.chunk.size)));
        WebPDemuxReleaseChunkIterator(&chunk);
    }
    WebPDemuxDelete(demux);
    return space;
}

} // namespace

QImage DecodeWebpScaled(const QByteArray& data, const QSize& size)
{
    WebPDecoderConfig config;
    if (size.isEmpty() || !WebPInitDecoderConfig(&config))
        return {};
    const auto* bytes = reinterpret_cast<const uint8_t*>(data.constData());
    if (WebPGetFeatures(bytes, size_t(data.size()), &config.input) != VP8_STATUS_OK || config.input.has_animation)
        return {};
    QImage image(size, config.input.has_alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull())
        return {};
    config.options.use_scaling = 1;
    config.options.scaled_width = size.width();
    config.options.scaled_height = size.height();
    config.options.use_threads = 1;
    // Both formats are 0xAARRGGBB words: bytes B, G, R, A in memory on a little-endian machine.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    config.output.colorspace = config.input.has_alpha ? MODE_bgrA : MODE_BGRA;
#else
    config.output.colorspace = config.input.has_alpha ? MODE_Argb : MODE_ARGB;
#endif
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = image.bits();
    config.output.u.RGBA.stride = image.bytesPerLine();
    config.output.u.RGBA.size = size_t(image.sizeInBytes());
    const bool decoded = WebPDecode(bytes, size_t(data.size()), &config) == VP8_STATUS_OK;
    WebPFreeDecBuffer(&config.output);
    if (!decoded)
        return {};
    const QColorSpace space = EmbeddedColourSpace(data);
    if (space.isValid())
        image.setColorSpace(space);
    return image;
}
