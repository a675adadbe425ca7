// Reading a lister's output: UTF-8 names as they are, and names a Chinese Windows stored in
// its code page readable for a Chinese user.
#include "dirs/listerdecode.h"

#include <QTextCodec>

#include <gtest/gtest.h>

TEST(ListerDecode, ChineseCodePageNamesReadInAChineseLocaleOnly)
{
    QTextCodec* utf8 = QTextCodec::codecForName("UTF-8");
    const QByteArray gbk = QTextCodec::codecForName("GBK")->fromUnicode(QStringLiteral("中文目录/说明.txt"));
    const QByteArray mixed = "header\n" + QStringLiteral("文件.txt").toUtf8() + "\n" + gbk + "\nfooter";
    const struct {
        QByteArray bytes;
        QLocale locale;
        QString expected;
    } cases[] = {
        {mixed, QLocale(QLocale::Chinese, QLocale::China),
         QStringLiteral("header\n文件.txt\n中文目录/说明.txt\nfooter")},
        {gbk, QLocale(QLocale::Chinese, QLocale::Taiwan), QStringLiteral("中文目录/说明.txt")},
        {QStringLiteral("ümlaut\n").toUtf8(), QLocale(QLocale::Chinese), QStringLiteral("ümlaut\n")},
        {QByteArray(), QLocale(QLocale::Chinese), QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeListerOutput(c.bytes, utf8, c.locale), c.expected);
    // Elsewhere the bytes stay unreadable, but every line is still there.
    const QString english = DecodeListerOutput(mixed, utf8, QLocale(QLocale::English));
    EXPECT_EQ(english.count(QLatin1Char('\n')), 3);
    EXPECT_FALSE(english.contains(QStringLiteral("中文目录")));
    // Where the system's code page is not UTF-8, it alone decides.
    QTextCodec* gbkCodec = QTextCodec::codecForName("GBK");
    EXPECT_EQ(DecodeListerOutput(gbk, gbkCodec, QLocale(QLocale::English)), QStringLiteral("中文目录/说明.txt"));
}
