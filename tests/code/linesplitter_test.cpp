#include "code/linesplitter.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <vector>

// What the viewer shows of overlong lines, and how it finds the file's lines, offsets and bytes again.
TEST(LineSplitter, BreaksOnlyLinesOverTheLimitAndLeadsBackToTheFile)
{
    const QString pair = QString::fromUtf8("\xF0\x9F\x98\x80"); // one character, two UTF-16 units
    const struct {
        const char* name;
        QStringList pieces; // fed one after another, as the file arrives
        QString shown;
        std::vector<int> fileLines; // of each shown line, -1 where it continues a broken one
    } cases[] = {
        {"short lines stay", {"abc\ndef\n"}, "abc\ndef\n", {0, 1, 2}},
        {"exactly the limit stays", {"abcd\nefgh"}, "abcd\nefgh", {0, 1}},
        {"a long line breaks every limit", {"abcdefghij\nk"}, "abcd\nefgh\nij\nk", {0, -1, -1, 1}},
        {"across pieces", {"abc", "defg", "hi"}, "abcd\nefgh\ni", {0, -1, -1}},
        {"a break where a piece starts", {"abcd", "ef"}, "abcd\nef", {0, -1}},
        {"CR, LF and CRLF end a line", {"ab\r\ncdefg\rh\n"}, "ab\r\ncdef\ng\rh\n", {0, 1, -1, 2, 3}},
        {"a CRLF split between pieces", {"abcdef\r", "\ng"}, "abcd\nef\r\ng", {0, -1, 1}},
        {"never inside a surrogate pair", {"abc" + pair + "d"}, "abc" + pair + "\nd", {0, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LineSplitter splitter(4);
        QString shown;
        ShownLines map;
        for (const QString& piece : c.pieces) {
            shown += splitter.Feed(piece);
            map.Append(splitter.TakeBreaks());
        }
        EXPECT_EQ(shown.toStdString(), c.shown.toStdString());
        EXPECT_EQ(map.OriginalBytes(shown.toUtf8(), 0), c.pieces.join(QString()).toUtf8());
        for (int line = 0; line < int(c.fileLines.size()); ++line)
            EXPECT_EQ(map.FileLine(line), c.fileLines[size_t(line)]) << line;
        const int lastFileLine = *std::max_element(c.fileLines.begin(), c.fileLines.end());
        EXPECT_EQ(splitter.FileLines(), lastFileLine + 1);
    }

    LineSplitter splitter(4);
    const QString text = QStringLiteral("ab\u00e9defghij"); // é is two UTF-8 bytes
    const QByteArray shown = splitter.Feed(text).toUtf8();
    ShownLines map = splitter.TakeBreaks();
    const QByteArray original = text.toUtf8();
    for (int offset = 0; offset < original.size(); ++offset) {
        if ((original.at(offset) & 0xC0) == 0x80)
            continue; // the middle of a character has no place of its own
        EXPECT_EQ(shown.at(int(map.ShownPosition(offset))), original.at(offset)) << offset;
    }
    // A selection from the middle: "fgh" then the added break, then "ij".
    EXPECT_EQ(map.OriginalBytes(shown.mid(7), 7), QByteArray("fghij"));
}

// Qt looks for a row's direction from its start at every position it measures: a row without a letter
// is kept short, or a file of punctuation holds the window for the square of its rows' length.
TEST(LineSplitter, KeepsTheSearchForARowsDirectionShort)
{
    const QString text = QString(3000, '{') + "\n" + QString(50, '-') + "\n" + QString(300, '=') + "x" +
                         QString(3000, '}') + "\r\n" + QString::fromUtf8("\xD7\x90") + QString(3000, '[');
    LineSplitter splitter;
    const QString shown = splitter.Feed(text);
    const ShownLines map = splitter.TakeBreaks();
    EXPECT_EQ(map.OriginalBytes(shown.toUtf8(), 0), text.toUtf8());
    EXPECT_EQ(splitter.FileLines(), 4);
    const QStringList rows = shown.split(QRegularExpression("\r\n|\n"));
    EXPECT_TRUE(rows.contains(QString(50, '-'))); // a short line stays whole
    for (const QString& row : rows) {
        const auto letter = std::find_if(row.begin(), row.end(), [](QChar c) { return c.isLetter(); }) - row.begin();
        EXPECT_LE(letter, 200) << row.toStdString();
        EXPECT_LE(row.size(), LineSplitter::kShownLineLimit);
    }
    const auto isLong = [](const QString& row) { return row.size() == LineSplitter::kShownLineLimit; };
    const auto longRows = std::count_if(rows.begin(), rows.end(), isLong);
    EXPECT_EQ(longRows, 2); // from the "x" and from the Hebrew letter on
}
