#include "code/linesplitter.h"

namespace {

int Utf8Length(QChar c)
{
    if (c.unicode() < 0x80)
        return 1;
    if (c.unicode() < 0x800)
        return 2;
    return c.isSurrogate() ? 2 : 3; // a surrogate pair makes four
}

bool IsLineEnd(QChar c) { return c == QLatin1Char('\n') || c == QLatin1Char('\r'); }

} // namespace

QString LineSplitter::Feed(const QString& text)
{
    QString shown;
    shown.reserve(text.size() + text.size() / m_limit + 1);
    for (const QChar c : text) {
        // Never between the halves of a surrogate pair.
        if (m_lineLength >= m_limit && !IsLineEnd(c) && !c.isLowSurrogate()) {
            shown += QLatin1Char('\n');
            m_breaks.AddBreak(m_originalBytes, ++m_shownLines);
            m_lineLength = 0;
        }
        shown += c;
        m_originalBytes += Utf8Length(c);
        if (IsLineEnd(c)) {
            m_lineLength = 0;
            if (!(c == QLatin1Char('\n') && m_last == QLatin1Char('\r'))) { // CRLF ends one line
                ++m_fileLines;
                ++m_shownLines;
            }
        } else {
            ++m_lineLength;
        }
        m_last = c;
    }
    return shown;
}

ShownLines LineSplitter::TakeBreaks()
{
    ShownLines taken;
    std::swap(taken, m_breaks);
    return taken;
}
