// Breaks arbitrary text, fed in arbitrary pieces, and checks that the map leads back to the file:
// its bytes, its offsets and its line numbers, whatever the line ends and surrogate pairs.
#include "code/linesplitter.h"

#include <QByteArray>
#include <QString>

#include <cstdlib>

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

// Checks the file's line of each shown line (-1 after an added break) against the text itself,
// and gives the file's line count as an editor counts them.
qint64 CheckLines(const QByteArray& shown, const ShownLines& map)
{
    Check(map.FileLine(0) == 0);
    int fileLine = 0, shownLine = 0;
    qint64 from = 0; // into the file's UTF-8
    for (int at = 0; at < shown.size(); ++at) {
        const bool added = map.ShownPosition(from) != at;
        const char c = shown.at(at);
        if (!added)
            ++from;
        const bool crlf =
            c == '\r' && at + 1 < shown.size() && shown.at(at + 1) == '\n' && map.ShownPosition(from) == at + 1;
        if (!added && c != '\n' && (c != '\r' || crlf))
            continue;
        ++shownLine;
        fileLine += added ? 0 : 1;
        Check(map.FileLine(shownLine) == (added ? -1 : fileLine));
    }
    return fileLine + 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int limit = 1 + data[0] % 64;
    const int step = 1 + data[1] % 32;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 2), int(size - 2));
    const int neutralLimit = 1 + limit / (1 + (data[0] >> 6)); // rows without a letter break sooner
    LineSplitter splitter(limit, neutralLimit);
    ShownLines map;
    QString shown;
    for (int at = 0; at < text.size();) {
        int end = qMin(text.size(), at + step);
        if (end < text.size() && text.at(end).isLowSurrogate())
            ++end; // a decoder never ends a piece inside a pair
        shown += splitter.Feed(text.mid(at, end - at));
        map.Append(splitter.TakeBreaks());
        at = end;
    }
    const QByteArray original = text.toUtf8();
    const QByteArray shownUtf8 = shown.toUtf8();
    Check(map.OriginalBytes(shownUtf8, 0) == original);
    for (int offset = 0; offset < original.size(); ++offset)
        if ((original.at(offset) & 0xC0) != 0x80)
            Check(shownUtf8.at(int(map.ShownPosition(offset))) == original.at(offset));
    Check(CheckLines(shownUtf8, map) == splitter.FileLines());
    return 0;
}
