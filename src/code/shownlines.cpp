#include "code/shownlines.h"

#include <algorithm>

void ShownLines::Append(const ShownLines& more)
{
    m_offsets += more.m_offsets;
    m_lines += more.m_lines;
}

void ShownLines::AddBreak(qint64 originalUtf8Offset, int shownLine)
{
    m_offsets.append(originalUtf8Offset);
    m_lines.append(shownLine);
}

qint64 ShownLines::ShownPosition(qint64 originalUtf8Offset) const
{
    const auto after = std::upper_bound(m_offsets.begin(), m_offsets.end(), originalUtf8Offset);
    return originalUtf8Offset + (after - m_offsets.begin());
}

int ShownLines::FileLine(int shownLine) const
{
    const auto after = std::upper_bound(m_lines.begin(), m_lines.end(), shownLine);
    if (after != m_lines.begin() && *(after - 1) == shownLine)
        return -1;
    return shownLine - int(after - m_lines.begin());
}

QByteArray ShownLines::OriginalBytes(const QByteArray& shown, qint64 shownStart) const
{
    QByteArray bytes;
    bytes.reserve(shown.size());
    qint64 copied = 0; // of `shown`
    // The k-th added line end sits at shown offset m_offsets[k] + k.
    for (int k = 0; k < m_offsets.size(); ++k) {
        const qint64 at = m_offsets.at(k) + k - shownStart;
        if (at < copied)
            continue;
        if (at >= shown.size())
            break;
        bytes.append(shown.constData() + copied, int(at - copied));
        copied = at + 1;
    }
    bytes.append(shown.constData() + copied, int(shown.size() - copied));
    return bytes;
}
