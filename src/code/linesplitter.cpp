#include "code/linesplitter.h"

namespace {

// Branch-free, so that the compiler can vectorise it: a surrogate half counts two, a pair four.
qint64 Utf8Length(const QChar* data, int size)
{
    qint64 bytes = 0;
    for (int i = 0; i < size; ++i) {
        const ushort u = data[i].unicode();
        bytes += 1 + (u >= 0x80) + (u >= 0x800) - (u >= 0xD800 && u <= 0xDFFF);
    }
    return bytes;
}

bool IsLineEnd(ushort u) { return u == '\n' || u == '\r'; }

// What settles a text's direction for Qt: a letter of a left-to-right or right-to-left script.
bool HasStrongDirection(ushort u)
{
    if (u < 0x80)
        return ushort((u | 0x20) - 'a') < 26;
    const QChar::Direction direction = QChar::direction(char32_t(u));
    return direction == QChar::DirL || direction == QChar::DirR || direction == QChar::DirAL;
}

} // namespace

// Runs of characters are scanned for line ends only; the text is copied only when it has a line
// to break, and UTF-8 lengths are counted where a break needs its offset.
QString LineSplitter::Feed(const QString& text)
{
    const QChar* data = text.constData();
    const int size = text.size();
    QString shown;
    int copied = 0;  // characters of `text` already in `shown`
    int counted = 0; // characters of `text` already in m_originalBytes
    for (int i = 0; i < size;) {
        const ushort u = data[i].unicode();
        if (IsLineEnd(u)) {
            if (!(u == '\n' && m_lastWasCR)) { // CRLF ends one line
                ++m_fileLines;
                ++m_shownLines;
            }
            m_lastWasCR = u == '\r';
            m_lineLength = 0;
            m_rowHasLetter = false;
            ++i;
            continue;
        }
        m_lastWasCR = false;
        if (m_lineLength >= (m_rowHasLetter ? m_limit : m_neutralLimit)) {
            if (data[i].isLowSurrogate()) { // never inside a surrogate pair
                ++m_lineLength;
                ++i;
                continue;
            }
            m_originalBytes += Utf8Length(data + counted, i - counted);
            counted = i;
            if (shown.isEmpty())
                shown.reserve(size + size / m_neutralLimit + 1);
            shown.append(data + copied, i - copied).append(QLatin1Char('\n'));
            copied = i;
            m_breaks.AddBreak(m_originalBytes, ++m_shownLines);
            m_lineLength = 0;
            m_rowHasLetter = false;
        }
        if (!m_rowHasLetter) { // only a row's start is looked at for letters
            const int stop = qMin(size, i + (m_neutralLimit - m_lineLength));
            int end = i;
            while (end < stop && !IsLineEnd(data[end].unicode()) && !HasStrongDirection(data[end].unicode()))
                ++end;
            m_rowHasLetter = end < stop && !IsLineEnd(data[end].unicode());
            m_lineLength += end - i;
            i = end;
            if (!m_rowHasLetter)
                continue;
        }
        const int stop = qMin(size, i + (m_limit - m_lineLength));
        int end = i + 1;
        while (end < stop && !IsLineEnd(data[end].unicode()))
            ++end;
        m_lineLength += end - i;
        i = end;
    }
    m_originalBytes += Utf8Length(data + counted, size - counted);
    if (shown.isEmpty())
        return text;
    return shown.append(data + copied, size - copied);
}

ShownLines LineSplitter::TakeBreaks()
{
    ShownLines taken;
    std::swap(taken, m_breaks);
    return taken;
}
