#include "code/keywordcpplexer.h"

KeywordCppLexer::KeywordCppLexer(QByteArray language, QByteArray keywords, QByteArray types)
    : m_language(std::move(language)), m_keywords(std::move(keywords)), m_types(std::move(types))
{}

const char* KeywordCppLexer::keywords(int set) const
{
    switch (set) {
    case 1:
        return m_keywords.constData();
    case 2:
        return m_types.constData();
    default:
        return nullptr;
    }
}
