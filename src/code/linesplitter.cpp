#include "code/linesplitter.h"

#include <algorithm>

namespace {

int Utf8Length(QChar c)
{
    if (c.unicode() < 0x80)
        return 1;
    if (c.unicode() < 0x800)
        return 2;
    return c.isSurrogate() ? 2 : 3; // a surrogate pair makes four
}

} // namespace

QString LineSplitter::Feed(const QString& text)
{
    QString shown;
    shown.reserve(text.size() + text.size() / m_limit + 1);
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // Never between the halves of a surrogate pair.
        if (m_lineLength >= m_limit && c != QLatin1Char('\n') && c != QLatin1Char('\r') && !c.isLowSurrogate()) {
            shown += QLatin1Char('\n');
            m_breaks.append(m_originalBytes);
            m_lineLength = 0;
        }
        shown += c;
        m_originalBytes += Utf8Length(c);
        m_lineLength = (c == QLatin1Char('\n') || c == QLatin1Char('\r')) ? 0 : m_lineLength + 1;
    }
    return shown;
}

qint64 LineSplitter::ShownPosition(qint64 originalUtf8Offset) const
{
    const auto after = std::upper_bound(m_breaks.begin(), m_breaks.end(), originalUtf8Offset);
    return originalUtf8Offset + (after - m_breaks.begin());
}
