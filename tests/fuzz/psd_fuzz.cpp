// Feeds arbitrary bytes to the Photoshop decoder, as a file on disk would.
#include "picture/qpsdhandler.h"

#include <QBuffer>
#include <QImage>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char*>(data), int(size));
    buffer.open(QIODevice::ReadOnly);
    QPsdHandler handler;
    if (!QPsdHandler::canRead(&buffer))
        return 0;
    handler.setDevice(&buffer);
    handler.option(QImageIOHandler::Size);
    if (handler.canRead()) {
        QImage image;
        handler.read(&image);
    }
    return 0;
}
