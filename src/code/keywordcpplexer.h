#pragma once

#include <Qsci/qscilexercpp.h>

#include <QByteArray>

// The C++ lexer with another C-family language's words: Go, Rust, TypeScript, Kotlin, Swift
// and Dart share its comments, strings and numbers, so only the keywords differ.
class KeywordCppLexer : public QsciLexerCPP
{
public:
    KeywordCppLexer(QByteArray language, QByteArray keywords, QByteArray types);

    const char* language() const override { return m_language.constData(); }
    const char* keywords(int set) const override;

private:
    QByteArray m_language;
    QByteArray m_keywords;
    QByteArray m_types;
};
