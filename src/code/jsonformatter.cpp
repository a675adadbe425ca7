#include "code/jsonformatter.h"

#include <QCoreApplication>

codeformat::Result JsonFormatter::Run()
{
    m_state.SkipSpace();
    if (m_state.AtEnd())
        m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "the document is empty"), m_state.pos);
    while (!m_state.Stopped()) {
        m_state.SkipSpace();
        if (m_state.AtEnd()) {
            if (m_expect != Expect::End)
                m_state.Fail(m_open.endsWith('{') ? QT_TRANSLATE_NOOP("CCodeWnd", "unterminated object")
                                                  : QT_TRANSLATE_NOOP("CCodeWnd", "unterminated array"),
                             m_state.pos);
            break;
        }
        Step();
    }
    return m_state.Finish();
}

void JsonFormatter::Step()
{
    const QChar c = m_state.Current();
    switch (m_expect) {
    case Expect::FirstValueOrClose:
    case Expect::FirstKeyOrClose:
        if (c == QLatin1Char(m_open.back() == '{' ? '}' : ']')) {
            ++m_state.pos;
            m_state.Write(c);
            m_open.chop(1);
            m_expect = m_open.isEmpty() ? Expect::End : Expect::CommaOrClose;
            return;
        }
        m_state.NewLine(Depth());
        m_expect == Expect::FirstKeyOrClose ? Key() : Value();
        return;
    case Expect::Value:
        return Value();
    case Expect::Key:
        return Key();
    case Expect::CommaOrClose:
        return CommaOrClose();
    case Expect::End:
        return m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "garbage at the end of the document"), m_state.pos);
    }
}

void JsonFormatter::Value()
{
    const QChar c = m_state.Current();
    if (c == QLatin1Char('{') || c == QLatin1Char('['))
        return Open(c);
    if (c == QLatin1Char('"'))
        String();
    else if (c == QLatin1Char('-') || IsAsciiDigit(c))
        Number();
    else
        Literal();
    m_expect = m_open.isEmpty() ? Expect::End : Expect::CommaOrClose;
}

void JsonFormatter::Key()
{
    if (m_state.Current() != QLatin1Char('"'))
        return m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "expected a name in double quotes"), m_state.pos);
    String();
    m_state.SkipSpace();
    if (m_state.AtEnd() || m_state.Current() != QLatin1Char(':'))
        return m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "missing name separator"), m_state.pos);
    ++m_state.pos;
    m_state.Write(QLatin1String(": "));
    m_expect = Expect::Value;
}

void JsonFormatter::CommaOrClose()
{
    const QChar c = m_state.Current();
    const bool object = m_open.back() == '{';
    if (c == QLatin1Char(',')) {
        ++m_state.pos;
        m_state.Write(c);
        m_state.NewLine(Depth());
        m_expect = object ? Expect::Key : Expect::Value;
    } else if (c == QLatin1Char(object ? '}' : ']')) {
        Close();
    } else {
        m_state.Fail(object ? QT_TRANSLATE_NOOP("CCodeWnd", "missing value separator: expected ',' or '}'")
                            : QT_TRANSLATE_NOOP("CCodeWnd", "missing value separator: expected ',' or ']'"),
                     m_state.pos);
    }
}

void JsonFormatter::Open(QChar bracket)
{
    if (Depth() >= m_state.MaxDepth())
        return m_state.FailTranslated(
            QCoreApplication::translate("CCodeWnd", "nested deeper than %1 levels").arg(m_state.MaxDepth()),
            m_state.pos);
    ++m_state.pos;
    m_state.Write(bracket);
    m_open.append(char(bracket.unicode()));
    m_expect = bracket == QLatin1Char('{') ? Expect::FirstKeyOrClose : Expect::FirstValueOrClose;
}

void JsonFormatter::Close()
{
    const QChar bracket = m_state.Current();
    ++m_state.pos;
    m_open.chop(1);
    m_state.NewLine(Depth());
    m_state.Write(bracket);
    m_expect = m_open.isEmpty() ? Expect::End : Expect::CommaOrClose;
}

void JsonFormatter::String()
{
    const QString& text = m_state.Text();
    const int start = m_state.pos;
    int i = start + 1;
    for (; i < text.size() && text.at(i) != QLatin1Char('"'); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x20)
            return m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "control character in a string"), i);
        if (c != QLatin1Char('\\'))
            continue;
        const QChar e = i + 1 < text.size() ? text.at(i + 1) : QChar();
        if (e == QLatin1Char('u')) {
            for (int k = i + 2; k < i + 6; ++k)
                if (k >= text.size() || !IsHexDigit(text.at(k)))
                    return m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "illegal escape sequence"), i);
            i += 5;
        } else if (QStringView(u"\"\\/bfnrt").contains(e) && !e.isNull()) {
            ++i;
        } else {
            return m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "illegal escape sequence"), i);
        }
    }
    if (i >= text.size())
        return m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "unterminated string"), start);
    m_state.pos = i + 1;
    m_state.Copy(start, m_state.pos);
}

void JsonFormatter::Number()
{
    const QString& text = m_state.Text();
    const int start = m_state.pos;
    int i = start;
    auto digits = [&] {
        const int from = i;
        while (i < text.size() && IsAsciiDigit(text.at(i)))
            ++i;
        return i > from;
    };
    auto at = [&](char c) { return i < text.size() && text.at(i) == QLatin1Char(c); };
    if (at('-'))
        ++i;
    bool ok = true;
    if (at('0'))
        ++i;
    else
        ok = digits();
    if (ok && at('.')) {
        ++i;
        ok = digits();
    }
    if (ok && (at('e') || at('E'))) {
        ++i;
        if (at('+') || at('-'))
            ++i;
        ok = digits();
    }
    if (!ok)
        return m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "illegal number"), i);
    m_state.pos = i;
    m_state.Copy(start, i);
}

void JsonFormatter::Literal()
{
    for (const char* word : {"true", "false", "null"}) {
        const QLatin1String literal(word);
        if (m_state.LooksAt(literal)) {
            m_state.Copy(m_state.pos, m_state.pos + literal.size());
            m_state.pos += literal.size();
            return;
        }
    }
    m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "illegal value"), m_state.pos);
}
