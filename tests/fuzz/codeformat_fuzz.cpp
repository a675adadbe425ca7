// Feeds arbitrary bytes to both formatters, as an editor's text would reach them.
#include "code/codeformat.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), int(size));
    codeformat::FormatJson(text);
    codeformat::FormatXml(text);
    return 0;
}
