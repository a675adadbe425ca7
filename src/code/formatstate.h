#pragma once

#include "code/codeformat.h"

#include <QString>

#include <atomic>

inline bool IsAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

inline bool IsHexDigit(QChar c)
{
    const ushort lower = c.unicode() | 0x20;
    return IsAsciiDigit(c) || (lower >= 'a' && lower <= 'f');
}

// What both formatters share: the text read so far, the indented output with its size bound,
// the cancel flag, and the first failure, which ends the formatting where it happened.
class FormatState
{
public:
    FormatState(const QString& text, const std::atomic_bool* cancel, const codeformat::Limits& limits);

    const QString& Text() const { return m_text; }
    int Size() const { return m_text.size(); }
    bool AtEnd() const { return pos >= m_text.size(); }
    QChar Current() const { return m_text.at(pos); }
    bool LooksAt(QLatin1String word) const;
    void SkipSpace();
    int MaxDepth() const { return m_maxDepth; }

    void Write(QChar c);
    void Write(QLatin1String s);
    void Copy(int from, int to); // the input's [from, to) as written
    void NewLine(int depth);
    bool OutputEmpty() const { return m_out.isEmpty(); }

    // Polls the cancel flag now and then; true once formatting must stop.
    bool Stopped();
    // The first failure wins; `reason` is a CCodeWnd text for translation.
    void Fail(const char* reason, int at);
    void FailTranslated(const QString& reason, int at);
    codeformat::Result Finish();

    int pos = 0;

private:
    void CheckOutputSize(int at);

    const QString& m_text;
    const std::atomic_bool* m_cancel;
    int m_maxDepth;
    qint64 m_maxOutput;
    int m_lastPoll = 0;
    bool m_failed = false;
    QString m_out;
    codeformat::Result m_result;
};
