#include "customapplication/argumentmessage.h"

#include <QDataStream>

#include <gtest/gtest.h>

namespace {

QByteArray Be32(quint32 v)
{
    QByteArray b;
    QDataStream(&b, QIODevice::WriteOnly) << v;
    return b;
}

} // namespace

TEST(ArgumentMessage, RoundTripInQDataStreamLayout)
{
    const QList<QStringList> lists = {
        {}, {"/tmp/a b.txt"}, {QString::fromUtf8("/tmp/ü—日本.txt"), "", "x"}, {QString(), "after null"}};
    for (const QStringList& args : lists) {
        QByteArray expected;
        QDataStream stream(&expected, QIODevice::WriteOnly);
        stream << args;
        const QByteArray message = EncodeArgumentList(args);
        EXPECT_EQ(message, expected) << args.join('|').toStdString();
        const QStringList back = DecodeArgumentList(message);
        ASSERT_EQ(back, args);
        for (int i = 0; i < args.size(); ++i)
            EXPECT_EQ(back[i].isNull(), args[i].isNull()) << i;
    }
}

TEST(ArgumentMessage, HostileInputStops)
{
    const QByteArray two = EncodeArgumentList({"ab", "cd"});
    const struct {
        const char* what;
        QByteArray message;
        QStringList expected;
    } cases[] = {
        {"empty", QByteArray(), {}},
        {"short count", QByteArray("\0\0\1", 3), {}},
        {"huge count, no data", Be32(0x7fffffff), {}},
        {"huge count, nulls", Be32(0x7fffffff) + Be32(0xffffffff) + Be32(0xffffffff), {QString(), QString()}},
        {"length past the end",
         Be32(2) + Be32(4) + QByteArray("\0a\0b", 4) + Be32(0x7ffffffe) + QByteArray("\0c", 2),
         {"ab"}},
        {"odd length", Be32(1) + Be32(3) + QByteArray("\0a\0", 3), {}},
        {"truncated in second string", two.left(two.size() - 1), {"ab"}},
        {"truncated in second length", two.left(4 + 4 + 4 + 2), {"ab"}},
        {"count smaller than data", Be32(1) + two.mid(4), {"ab"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeArgumentList(c.message), c.expected) << c.what;
}
