#pragma once

#include <QString>

// Sizes as the Windows shell writes them: "532 bytes", then three significant
// digits, truncated ("1.30 KB", "22.9 KB", "118 KB").
QString FormatByteSize(qint64 bytes);
