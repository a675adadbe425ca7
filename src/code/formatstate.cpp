#include "code/formatstate.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

constexpr int kPollEvery = 1 << 16;

qint64 OutputBound(qint64 inputSize, qint64 asked)
{
    if (asked > 0)
        return asked;
    return qBound(qint64(1) << 20, 16 * inputSize, qint64(64) << 20);
}

} // namespace

FormatState::FormatState(const QString& text, const std::atomic_bool* cancel, const codeformat::Limits& limits)
    : m_text(text), m_cancel(cancel), m_maxDepth(limits.maxDepth),
      m_maxOutput(OutputBound(text.size(), limits.maxOutput))
{
    if (!m_text.isEmpty() && m_text.at(0) == QChar(0xfeff))
        pos = 1;
}

bool FormatState::LooksAt(QLatin1String word) const { return QStringView(m_text).mid(pos).startsWith(word); }

void FormatState::SkipSpace()
{
    for (; pos < m_text.size(); ++pos) {
        const ushort c = m_text.at(pos).unicode();
        if (c != ' ' && c != '\n' && c != '\r' && c != '\t')
            break;
    }
}

void FormatState::Write(QChar c) { m_out += c; }

void FormatState::Write(QLatin1String s) { m_out += s; }

void FormatState::Copy(int from, int to)
{
    m_out.append(m_text.constData() + from, to - from);
    CheckOutputSize(from);
}

void FormatState::NewLine(int depth)
{
    if (!m_out.isEmpty())
        m_out += QLatin1Char('\n');
    const int at = m_out.size();
    m_out.resize(at + 4 * depth);
    std::fill(m_out.begin() + at, m_out.end(), QLatin1Char(' '));
    CheckOutputSize(pos);
}

void FormatState::CheckOutputSize(int at)
{
    if (m_out.size() > m_maxOutput)
        FailTranslated(QCoreApplication::translate("CCodeWnd", "the formatted text would be longer than %1 MB")
                           .arg(m_maxOutput >> 20),
                       at);
}

bool FormatState::Stopped()
{
    if (!m_failed && m_cancel && pos - m_lastPoll >= kPollEvery) {
        m_lastPoll = pos;
        if (m_cancel->load(std::memory_order_relaxed))
            FailTranslated(QStringLiteral("cancelled"), pos);
    }
    return m_failed;
}

void FormatState::Fail(const char* reason, int at)
{
    FailTranslated(QCoreApplication::translate("CCodeWnd", reason), at);
}

void FormatState::FailTranslated(const QString& reason, int at)
{
    if (m_failed)
        return;
    m_failed = true;
    const codeformat::Position where = codeformat::PositionOf(m_text, at);
    m_result.reason = reason;
    m_result.line = where.line;
    m_result.column = where.column;
    m_result.utf8Offset = where.utf8Offset;
}

codeformat::Result FormatState::Finish()
{
    if (!m_failed) {
        m_out += QLatin1Char('\n');
        m_result.ok = true;
        m_result.text = std::move(m_out);
    }
    m_out.clear();
    return std::move(m_result);
}
