// Feeds arbitrary bytes to the markdown conversion, as a hostile .md file would reach it, and
// traps on any page that carries a tag, attribute, link or picture the viewer must never get.
#include "md/mdconvert.h"

#include "../md/safepage.h"

#include <cstdint>

namespace {

const char kFolder[] = "/docs/a folder";
const char kImages[] = "file:///docs/a%20folder/";

void CheckPage(const std::string& html)
{
    if (!safepage::UnsafePart(html, kImages).empty())
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckPage(mdconvert::ConvertMarkdownToHtml(text, kFolder));
    CheckPage(mdconvert::PlainTextAsHtml(text));
    return 0;
}
