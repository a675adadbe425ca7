#include "code/xmlformatter.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>

namespace {

bool IsSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t');
}

bool IsNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char(':') || c.unicode() >= 0x80;
}

bool IsNameChar(QChar c) { return IsNameStart(c) || c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('.'); }

bool IsBlank(QStringView s) { return std::all_of(s.begin(), s.end(), IsSpace); }

// Past this many attributes in one tag, repeats are found by hashing rather than by comparing all.
constexpr size_t kAttributesComparedDirectly = 16;

} // namespace

codeformat::Result XmlFormatter::Run()
{
    while (!m_state.Stopped()) {
        if (Depth() == 0)
            m_state.SkipSpace();
        if (m_state.AtEnd())
            break;
        Step();
    }
    if (!m_state.Stopped()) {
        if (Depth() > 0)
            m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "premature end of document"), m_state.pos);
        else if (!m_rootSeen)
            m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "start tag expected"), m_state.pos);
    }
    return m_state.Finish();
}

void XmlFormatter::Step()
{
    if (m_state.Current() == QLatin1Char('<'))
        return Markup();
    if (Depth() == 0)
        return m_state.Fail(m_rootSeen ? QT_TRANSLATE_NOOP("CCodeWnd", "extra content at end of document")
                                       : QT_TRANSLATE_NOOP("CCodeWnd", "start tag expected"),
                            m_state.pos);
    Text();
}

void XmlFormatter::Markup()
{
    if (m_state.LooksAt(QLatin1String("<?")))
        return ProcessingInstruction();
    if (m_state.LooksAt(QLatin1String("<!--")))
        return Block(QLatin1String("-->"), QT_TRANSLATE_NOOP("CCodeWnd", "unterminated comment"));
    if (m_state.LooksAt(QLatin1String("<![CDATA[")) && Depth() > 0)
        return Block(QLatin1String("]]>"), QT_TRANSLATE_NOOP("CCodeWnd", "unterminated CDATA section"));
    if (m_state.LooksAt(QLatin1String("<!DOCTYPE")) && !m_rootSeen)
        return Doctype();
    if (m_state.LooksAt(QLatin1String("</")))
        return EndTag(false);
    if (Depth() == 0 && m_rootSeen)
        return m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "extra content at end of document"), m_state.pos);
    StartTag();
}

void XmlFormatter::Block(QLatin1String end, const char* unterminated)
{
    const int start = m_state.pos;
    const int found = m_state.Text().indexOf(end, start + 2);
    if (found < 0)
        return m_state.Fail(unterminated, start);
    m_state.NewLine(Depth());
    m_state.pos = found + end.size();
    m_state.Copy(start, m_state.pos);
}

void XmlFormatter::ProcessingInstruction()
{
    const int start = m_state.pos;
    m_state.pos += 2;
    const int name = m_state.pos;
    if (Name() < 0)
        return;
    const QStringView target = QStringView(m_state.Text()).mid(name, m_state.pos - name);
    const bool declaration = target.compare(QLatin1String("xml"), Qt::CaseInsensitive) == 0;
    if (declaration && (!m_state.OutputEmpty() || start > 1 || (start == 1 && m_state.Text().at(0) != QChar(0xfeff))))
        return m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "XML declaration not at start of document"), start);
    m_state.pos = start;
    Block(QLatin1String("?>"), QT_TRANSLATE_NOOP("CCodeWnd", "unterminated processing instruction"));
}

// As written, its internal subset too: a quoted '>' or one in a comment does not end it.
void XmlFormatter::Doctype()
{
    const QString& text = m_state.Text();
    const int start = m_state.pos;
    bool subset = false;
    QChar quote;
    for (int i = start + 2; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (subset && QStringView(text).mid(i).startsWith(QLatin1String("<!--"))) {
            const int end = text.indexOf(QLatin1String("-->"), i + 4);
            if (end < 0)
                break;
            i = end + 2;
        } else if (c == QLatin1Char('[') || c == QLatin1Char(']')) {
            subset = c == QLatin1Char('[');
        } else if (c == QLatin1Char('>') && !subset) {
            m_state.NewLine(0);
            m_state.pos = i + 1;
            return m_state.Copy(start, m_state.pos);
        }
    }
    m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "unterminated DOCTYPE"), start);
}

// The name at the position, which it passes; -1 when there is none.
int XmlFormatter::Name()
{
    const QString& text = m_state.Text();
    const int start = m_state.pos;
    if (m_state.AtEnd() || !IsNameStart(m_state.Current())) {
        m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "invalid XML name"), start);
        return -1;
    }
    while (m_state.pos < text.size() && IsNameChar(text.at(m_state.pos)))
        ++m_state.pos;
    return start;
}

void XmlFormatter::StartTag()
{
    if (Depth() >= m_state.MaxDepth())
        return m_state.FailTranslated(
            QCoreApplication::translate("CCodeWnd", "nested deeper than %1 levels").arg(m_state.MaxDepth()),
            m_state.pos);
    m_state.NewLine(Depth());
    m_state.Write(QLatin1Char('<'));
    ++m_state.pos;
    const int name = Name();
    if (name < 0)
        return;
    m_state.Copy(name, m_state.pos);
    const QStringView tag = QStringView(m_state.Text()).mid(name, m_state.pos - name);
    if (!Attributes())
        return;
    m_rootSeen = true;
    if (m_state.LooksAt(QLatin1String("/>"))) {
        m_state.pos += 2;
        return m_state.Write(QLatin1String("/>"));
    }
    ++m_state.pos;
    m_state.Write(QLatin1Char('>'));
    m_open.push_back(tag);
    InlineText();
}

// Each as name="value" with its own quotes, one space apart; true at the tag's '>' or "/>".
bool XmlFormatter::Attributes()
{
    std::vector<QStringView> names;
    QSet<QStringView> many;
    while (!m_state.Stopped()) {
        const int before = m_state.pos;
        m_state.SkipSpace();
        if (m_state.AtEnd())
            break;
        if (m_state.Current() == QLatin1Char('>') || m_state.LooksAt(QLatin1String("/>")))
            return true;
        if (m_state.pos == before) {
            m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "expected whitespace, '>' or '/>' in a tag"), m_state.pos);
            return false;
        }
        const int name = m_state.pos;
        QStringView attribute;
        if (!Attribute(&attribute))
            return false;
        if (names.size() == kAttributesComparedDirectly)
            many = QSet<QStringView>(names.begin(), names.end());
        const bool repeated = names.size() < kAttributesComparedDirectly
                                  ? std::find(names.begin(), names.end(), attribute) != names.end()
                                  : many.contains(attribute);
        if (repeated) {
            m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "attribute redefined"), name);
            return false;
        }
        names.push_back(attribute);
        if (names.size() > kAttributesComparedDirectly)
            many.insert(attribute);
    }
    m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "premature end of document"), m_state.pos);
    return false;
}

bool XmlFormatter::Attribute(QStringView* attribute)
{
    const QString& text = m_state.Text();
    const int name = Name();
    if (name < 0)
        return false;
    const int nameEnd = m_state.pos;
    *attribute = QStringView(text).mid(name, nameEnd - name);
    m_state.SkipSpace();
    if (m_state.AtEnd() || m_state.Current() != QLatin1Char('=')) {
        m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "expected '=' after an attribute name"), m_state.pos);
        return false;
    }
    ++m_state.pos;
    m_state.SkipSpace();
    const QChar quote = m_state.AtEnd() ? QChar() : m_state.Current();
    if (quote != QLatin1Char('"') && quote != QLatin1Char('\'')) {
        m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "expected a quoted attribute value"), m_state.pos);
        return false;
    }
    const int value = m_state.pos;
    int end = value + 1;
    for (; end < text.size() && text.at(end) != quote; ++end) {
        if (text.at(end) == QLatin1Char('<')) {
            m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "'<' in an attribute value"), end);
            return false;
        }
    }
    if (end >= text.size()) {
        m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "unterminated attribute value"), value);
        return false;
    }
    if (!References(value + 1, end))
        return false;
    m_state.Write(QLatin1Char(' '));
    m_state.Copy(name, nameEnd);
    m_state.Write(QLatin1Char('='));
    m_state.pos = end + 1;
    m_state.Copy(value, m_state.pos);
    return true;
}

// Just after a start tag: text alone up to the end tag stays on the tag's line; blank, it goes.
void XmlFormatter::InlineText()
{
    const QString& text = m_state.Text();
    const int lt = text.indexOf(QLatin1Char('<'), m_state.pos);
    if (lt < 0 || !QStringView(text).mid(lt).startsWith(QLatin1String("</")))
        return;
    const int start = m_state.pos;
    if (!References(start, lt))
        return;
    if (!IsBlank(QStringView(text).mid(start, lt - start)))
        m_state.Copy(start, lt);
    m_state.pos = lt;
    EndTag(true);
}

void XmlFormatter::EndTag(bool sameLine)
{
    const int start = m_state.pos;
    m_state.pos += 2;
    const int name = Name();
    if (name < 0)
        return;
    const int nameEnd = m_state.pos;
    const QStringView tag = QStringView(m_state.Text()).mid(name, nameEnd - name);
    m_state.SkipSpace();
    if (m_state.AtEnd() || m_state.Current() != QLatin1Char('>'))
        return m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "expected '>' after an end tag's name"), m_state.pos);
    if (Depth() == 0)
        return m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "end tag without a start tag"), start);
    if (tag != m_open.back())
        return m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "opening and ending tag mismatch"), name);
    ++m_state.pos;
    m_open.pop_back();
    if (!sameLine)
        m_state.NewLine(Depth());
    m_state.Write(QLatin1String("</"));
    m_state.Copy(name, nameEnd);
    m_state.Write(QLatin1Char('>'));
}

// Text between markup, on a line of its own without the blanks around it.
void XmlFormatter::Text()
{
    const QString& text = m_state.Text();
    const int start = m_state.pos;
    int end = text.indexOf(QLatin1Char('<'), start);
    if (end < 0)
        end = text.size();
    if (!References(start, end))
        return;
    int first = start, last = end;
    while (first < last && IsSpace(text.at(first)))
        ++first;
    while (last > first && IsSpace(text.at(last - 1)))
        --last;
    if (first < last) {
        m_state.NewLine(Depth());
        m_state.Copy(first, last);
    }
    m_state.pos = end;
}

// Every '&' in [from, to) starts "&name;", "&#digits;" or "&#xhex;"; none is looked up.
bool XmlFormatter::References(int from, int to)
{
    const QString& text = m_state.Text();
    for (int i = from; i < to; ++i) {
        if (text.at(i) != QLatin1Char('&'))
            continue;
        int j = i + 1;
        if (j < to && text.at(j) == QLatin1Char('#')) {
            const bool hex = ++j < to && text.at(j) == QLatin1Char('x');
            const int digits = hex ? ++j : j;
            while (j < to && (hex ? IsHexDigit(text.at(j)) : IsAsciiDigit(text.at(j))))
                ++j;
            if (j == digits)
                j = to;
        } else if (j < to && IsNameStart(text.at(j))) {
            while (j < to && IsNameChar(text.at(j)))
                ++j;
        } else {
            j = to;
        }
        if (j >= to || text.at(j) != QLatin1Char(';')) {
            m_state.Fail(QT_TRANSLATE_NOOP("CCodeWnd", "invalid entity or character reference"), i);
            return false;
        }
        i = j;
    }
    return true;
}
