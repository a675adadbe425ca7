#pragma once

#include <cstddef>

// Scintilla's document loader as SCI_CREATELOADER returns it, declared here under its own name
// because Debian's QScintilla does not install it: a document filled on another thread and then
// shown at once with SCI_SETDOCPOINTER, where appending megabytes on the GUI thread would hold the
// window for seconds.
class ILoader
{
public:
    virtual int Release() = 0;
    virtual int AddData(const char* data, std::ptrdiff_t length) = 0;
    virtual void* ConvertToDocument() = 0;

protected:
    ~ILoader() = default;
};
