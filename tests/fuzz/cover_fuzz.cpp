// Feeds arbitrary bytes to the cover reader as an audio file: the first byte picks the suffix.
#include "media/coverreader.h"

#include <iterator>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const char* const suffixes[] = {"mp3", "flac", "m4a", "ogg", "opus"};
    if (size == 0)
        return 0;
    const QString suffix = QString::fromLatin1(suffixes[data[0] % std::size(suffixes)]);
    const QByteArray bytes(reinterpret_cast<const char*>(data) + 1, int(size - 1));
    DecodeCover(ReadCoverBytesFromData(bytes, suffix));
    return 0;
}
