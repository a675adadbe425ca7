#include "platform/byteformat.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <limits>

TEST(FormatByteSize, ThreeSignificantDigitsCutNotRounded)
{
    QLocale::setDefault(QLocale::c());
    const qint64 KB = 1024, MB = KB * KB, GB = MB * KB, TB = GB * KB, PB = TB * KB, EB = PB * KB;
    const struct {
        qint64 bytes;
        const char* expected;
    } cases[] = {
        {-1, "0 bytes"},      {0, "0 bytes"},
        {1023, "1023 bytes"}, {1024, "1.00 KB"},
        {10239, "9.99 KB"},   {10240, "10.0 KB"},
        {121000, "118 KB"},   {1023999, "999 KB"},
        {1024000, "0.97 MB"}, // 1000 KB already moves to the next unit
        {1048575, "0.99 MB"}, {MB, "1.00 MB"},
        {1310000, "1.24 MB"}, {1000 * MB - 1, "999 MB"},
        {GB - 1, "0.99 GB"},  {TB, "1.00 TB"},
        {PB, "1.00 PB"},      {1000 * PB, "0.97 EB"},
        {EB, "1.00 EB"},      {std::numeric_limits<qint64>::max(), "7.99 EB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatByteSize(c.bytes).toStdString(), c.expected) << "bytes = " << c.bytes;
}
