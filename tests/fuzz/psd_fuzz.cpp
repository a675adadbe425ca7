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
    const QSize shown = handler.option(QImageIOHandler::Size).toSize();
    if (handler.canRead()) {
        QImage image;
        handler.read(&image);
    }
    // The fitted view's read, from every n-th row and column.
    const int step = 2 + shown.width() % 5;
    if (shown.width() >= step && shown.height() >= step && buffer.seek(0)) {
        QPsdHandler scaled;
        scaled.setDevice(&buffer);
        scaled.setOption(QImageIOHandler::ScaledSize, shown / step);
        QImage image;
        scaled.read(&image);
    }
    return 0;
}
