#pragma once

#include "code/formatstate.h"

#include <QStringView>

#include <vector>

// Checks that XML is well formed and indents its markup by four spaces. Tags, attributes in
// their order, text, entity and character references, comments, CDATA, processing instructions
// and the doctype are copied as written; nothing is expanded. An element holding only text stays
// on one line. One pass with a stack of the open elements' names.
class XmlFormatter
{
public:
    XmlFormatter(const QString& text, const std::atomic_bool* cancel, const codeformat::Limits& limits)
        : m_state(text, cancel, limits)
    {}

    codeformat::Result Run();

private:
    void Step();
    void Markup();
    void Text();
    void StartTag();
    bool Attributes();
    bool Attribute(QStringView* name);
    void InlineText();
    void EndTag(bool sameLine);
    void ProcessingInstruction();
    void Doctype();
    // Copies from here through `end` onto a line of its own.
    void Block(QLatin1String end, const char* unterminated);
    int Name();
    bool References(int from, int to);
    int Depth() const { return int(m_open.size()); }

    FormatState m_state;
    std::vector<QStringView> m_open; // names of the elements not yet closed
    bool m_rootSeen = false;
};
