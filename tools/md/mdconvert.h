#pragma once

#include "md/mdmarkers.h"

#include <string>

// Markdown (GitHub flavour) to the HTML body of the markdown viewer's page. Plain C++ on
// cmark-gfm, so that the helper program starts quickly and the tests and the fuzzer take it bare.
//
// Hostile documents are normal here, and the page has no base URL:
// - raw HTML, block or inline, is shown as literal text (a block as a code block), never run;
// - a link keeps its target only for http:, https:, mailto: and relative or #fragment
//   references; any other link is left as its text, with no <a>;
// - a picture is shown only from a relative path that stays inside `documentFolder`, as an
//   absolute, percent-encoded file:// URL; any other picture is replaced by its alt text, as
//   plain text, so that the page never asks the network or a file elsewhere;
// - invalid UTF-8 becomes U+FFFD;
// - a document built to make the table or autolink extension superlinear is read without it;
// - a document nested deeper than 64 levels is shown as plain text;
// - a page too large for the engine to lay out at once is cut, and starts with kCutMarker;
// - a word longer than 256 characters gets a break opportunity (<wbr>) and a left-to-right
//   mark every 16.
namespace mdconvert {

// `documentFolder` is the absolute path of the folder the markdown file is in; when it is
// empty or relative, no image is shown.
std::string ConvertMarkdownToHtml(const std::string& markdown, const std::string& documentFolder);

// The page's first blocks, converted from about the first `bytes` of the document alone, as they
// most likely start the whole page; "" when the document is short or has no break there.
std::string ConvertLeadingBlocks(const std::string& markdown, const std::string& documentFolder, size_t bytes);

// The text itself, escaped, in one <pre>, invalid UTF-8 as U+FFFD: the page for a document too
// large or too complex to format, in blocks the engine lays out quickly, cut when very long.
std::string PlainTextAsHtml(const std::string& text);

} // namespace mdconvert
