#pragma once

#include <cstddef>

// Scintilla's document loader, as SCI_CREATELOADER returns it (its ILoader, which Debian's
// QScintilla does not install): a document filled on another thread and then shown at once with
// SCI_SETDOCPOINTER, where appending megabytes on the GUI thread would hold the window for seconds.
class ScintillaLoader
{
public:
    virtual int Release() = 0;
    virtual int AddData(const char* data, std::ptrdiff_t length) = 0;
    virtual void* ConvertToDocument() = 0;

protected:
    ~ScintillaLoader() = default;
};
