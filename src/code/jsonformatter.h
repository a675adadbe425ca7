#pragma once

#include "code/formatstate.h"

#include <QByteArray>

// Checks JSON as strictly as its grammar and indents it by four spaces, keys in their order and
// every name, string and number copied as written. One pass with a stack of open brackets.
class JsonFormatter
{
public:
    JsonFormatter(const QString& text, const std::atomic_bool* cancel, const codeformat::Limits& limits)
        : m_state(text, cancel, limits)
    {}

    codeformat::Result Run();

private:
    enum class Expect { FirstValueOrClose, FirstKeyOrClose, Value, Key, CommaOrClose, End };

    void Step();
    void Value();
    void Key();
    void CommaOrClose();
    void Open(QChar bracket);
    void Close();
    void String();
    void Number();
    void Literal();
    int Depth() const { return m_open.size(); }

    FormatState m_state;
    QByteArray m_open; // '{' or '[' for each bracket not yet closed
    Expect m_expect = Expect::Value;
};
