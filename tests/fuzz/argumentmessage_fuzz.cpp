// Any bytes a local peer might send the running instance: the reader must stop at the data's
// end, and what it read must encode back to a prefix of the message.
#include "customapplication/argumentmessage.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray message(reinterpret_cast<const char*>(data), int(size));
    const QStringList args = DecodeArgumentList(message);
    const QByteArray again = EncodeArgumentList(args);
    // The count field may claim more strings than follow, so only the strings must match.
    if (again.size() > 4 && message.mid(4, again.size() - 4) != again.mid(4))
        abort();
    return 0;
}
