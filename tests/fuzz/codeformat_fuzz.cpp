// Feeds arbitrary bytes to both formatters, as the viewer's decoded text would reach them.
#include "code/codeformat.h"

#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), int(size));
    codeformat::FormatJson(text);
    codeformat::FormatXml(text);
    return 0;
}
