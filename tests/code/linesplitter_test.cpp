#include "code/linesplitter.h"

#include <gtest/gtest.h>

#include <QStringList>

TEST(LineSplitter, BreaksOnlyLinesOverTheLimitAndMapsOffsets)
{
    struct Case {
        const char* name;
        QStringList pieces; // fed one after another, as the file arrives
        QString shown;
    };
    const QString pair = QString::fromUtf8("\xF0\x9F\x98\x80"); // one character, two UTF-16 units
    const Case cases[] = {
        {"short lines stay", {"abc\ndef\n"}, "abc\ndef\n"},
        {"exactly the limit stays", {"abcd\nefgh"}, "abcd\nefgh"},
        {"a long line breaks every limit", {"abcdefghij"}, "abcd\nefgh\nij"},
        {"across pieces", {"abc", "defg", "hi"}, "abcd\nefgh\ni"},
        {"a line end resets the count", {"abc\ndefgh"}, "abc\ndefg\nh"},
        {"CR counts as a line end", {"abc\r\ndefg"}, "abc\r\ndefg"},
        {"never inside a surrogate pair", {"abc" + pair + "d"}, "abc" + pair + "\nd"},
    };
    for (const Case& c : cases) {
        LineSplitter splitter(4);
        QString shown;
        for (const QString& piece : c.pieces)
            shown += splitter.Feed(piece);
        EXPECT_EQ(shown.toStdString(), c.shown.toStdString()) << c.name;
    }

    LineSplitter splitter(4);
    const QString shown = splitter.Feed(QStringLiteral("ab\u00e9defghij")); // é is two UTF-8 bytes
    const QByteArray original = QStringLiteral("ab\u00e9defghij").toUtf8();
    const QByteArray utf8 = shown.toUtf8();
    for (int offset = 0; offset < original.size(); ++offset) {
        if ((original.at(offset) & 0xC0) == 0x80)
            continue; // the middle of a character has no place of its own
        EXPECT_EQ(utf8.at(int(splitter.ShownPosition(offset))), original.at(offset)) << offset;
    }
}
