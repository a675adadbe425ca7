#include "mdconvert.h"

#include <cmark-gfm-core-extensions.h>
#include <cmark-gfm-extension_api.h>
#include <cmark-gfm.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace mdconvert {
namespace {

// No CMARK_OPT_UNSAFE: whatever raw HTML the rewrite below might miss is still left out.
constexpr int kOptions = CMARK_OPT_VALIDATE_UTF8;

bool IsAlpha(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsSlash(char c) { return c == '/' || c == '\\'; }

int HexValue(unsigned char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Browsers drop leading and trailing controls and spaces, and tabs and newlines anywhere, before
// they look for a scheme: "\tjava\nscript:" must be judged as "javascript:".
std::string AsBrowserReadsIt(const std::string& url)
{
    size_t begin = 0, end = url.size();
    while (begin < end && static_cast<unsigned char>(url[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(url[end - 1]) <= 0x20)
        --end;
    std::string out;
    out.reserve(end - begin);
    for (size_t i = begin; i < end; ++i) {
        if (url[i] != '\t' && url[i] != '\n' && url[i] != '\r')
            out += url[i];
    }
    return out;
}

// The lower-case scheme; "" for a relative reference; "?" when a colon comes before any
// separator but what precedes it is no well-formed scheme (never trusted either).
std::string SchemeOf(const std::string& url)
{
    const size_t colon = url.find_first_of(":/\\?#");
    if (colon == std::string::npos || url[colon] != ':')
        return {};
    std::string scheme;
    for (size_t i = 0; i < colon; ++i) {
        const unsigned char c = url[i];
        if (!(IsAlpha(c) || (i > 0 && (IsDigit(c) || c == '+' || c == '-' || c == '.'))))
            return "?";
        scheme += static_cast<char>(c | 0x20);
    }
    return scheme.empty() ? "?" : scheme;
}

bool IsAllowedLink(const std::string& url)
{
    const std::string scheme = SchemeOf(url);
    if (scheme.empty()) // "//host/…" takes the network with whatever scheme the page has
        return !(url.size() >= 2 && IsSlash(url[0]) && IsSlash(url[1]));
    return scheme == "http" || scheme == "https" || scheme == "mailto";
}

void AppendEncoded(std::string& out, const std::string& bytes)
{
    static const char hex[] = "0123456789ABCDEF";
    for (const char ch : bytes) {
        const unsigned char c = ch;
        if (IsAlpha(c) || IsDigit(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += ch;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
}

// The file:// URL for an image reference that is a relative path inside `folder`, or "" for
// anything else. The reference is read as a path with %XX escapes; '#' and '?' are part of the
// file name (a fragment or query means nothing to a local picture).
std::string LocalImageUrl(const std::string& rawUrl, const std::string& folder)
{
    if (folder.empty() || folder[0] != '/')
        return {};
    const std::string url = AsBrowserReadsIt(rawUrl);
    if (url.empty() || IsSlash(url[0]) || !SchemeOf(url).empty())
        return {};

    // Decoded before the ".." check, so that "%2e%2e/" is caught too.
    std::vector<std::string> segments;
    std::string segment;
    const auto endSegment = [&]() -> bool {
        if (segment == "..")
            return false;
        if (!segment.empty() && segment != ".")
            segments.push_back(segment);
        segment.clear();
        return true;
    };
    for (size_t i = 0; i < url.size(); ++i) {
        unsigned char c = url[i];
        if (c == '%' && i + 2 < url.size() && HexValue(url[i + 1]) >= 0 && HexValue(url[i + 2]) >= 0) {
            c = static_cast<unsigned char>(HexValue(url[i + 1]) * 16 + HexValue(url[i + 2]));
            i += 2;
        }
        if (c == 0)
            return {};
        if (IsSlash(static_cast<char>(c))) {
            if (!endSegment())
                return {};
        } else {
            segment += static_cast<char>(c);
        }
    }
    if (!endSegment() || segments.empty())
        return {};

    std::string out = "file://";
    size_t folderEnd = folder.size();
    while (folderEnd > 1 && folder[folderEnd - 1] == '/')
        --folderEnd;
    size_t start = 0;
    for (size_t i = 0; i <= folderEnd; ++i) {
        if (i == folderEnd || folder[i] == '/') {
            if (i > start)
                AppendEncoded(out += '/', folder.substr(start, i - start));
            start = i + 1;
        }
    }
    for (const std::string& s : segments)
        AppendEncoded(out += '/', s);
    return out;
}

// Puts the node's children in its place and frees it. False, with the node kept, if the
// parent cannot take them.
bool Unwrap(cmark_node* node)
{
    while (cmark_node* child = cmark_node_first_child(node)) {
        if (!cmark_node_insert_before(node, child))
            return false;
    }
    cmark_node_free(node);
    return true;
}

// True when `as`, holding `literal`, took the node's place (and the node is freed).
bool ReplaceWithText(cmark_node* node, cmark_node_type as, const char* literal)
{
    cmark_node* text = cmark_node_new(as);
    if (cmark_node_set_literal(text, literal) && cmark_node_replace(node, text)) {
        cmark_node_free(node);
        return true;
    }
    cmark_node_free(text);
    return false;
}

// What a picture shows when it is not loaded, as cmark writes its alt attribute.
std::string AltText(cmark_node* image)
{
    std::string alt;
    cmark_iter* iter = cmark_iter_new(image);
    for (cmark_event_type ev; (ev = cmark_iter_next(iter)) != CMARK_EVENT_DONE;) {
        cmark_node* node = cmark_iter_get_node(iter);
        if (ev != CMARK_EVENT_ENTER)
            continue;
        switch (cmark_node_get_type(node)) {
        case CMARK_NODE_TEXT:
        case CMARK_NODE_CODE:
        case CMARK_NODE_HTML_INLINE:
            alt += cmark_node_get_literal(node);
            break;
        case CMARK_NODE_SOFTBREAK:
        case CMARK_NODE_LINEBREAK:
            alt += ' ';
            break;
        default:
            break;
        }
    }
    cmark_iter_free(iter);
    return alt;
}

// Rewrites the tree so that it renders safely without CMARK_OPT_UNSAFE. Returns the file:// URLs
// of the pictures kept: each kept picture's URL is "#N", N its index there, because cmark (not
// rendering unsafe) writes no file: URL; see PutLocalImages.
std::vector<std::string> Sanitise(cmark_node* document, const std::string& folder)
{
    // Reverse document order: a node's descendants are done before the node may be freed.
    std::vector<cmark_node*> nodes;
    cmark_iter* iter = cmark_iter_new(document);
    for (cmark_event_type ev; (ev = cmark_iter_next(iter)) != CMARK_EVENT_DONE;) {
        cmark_node* node = cmark_iter_get_node(iter);
        if (ev != CMARK_EVENT_ENTER)
            continue;
        switch (cmark_node_get_type(node)) {
        case CMARK_NODE_HTML_BLOCK:
        case CMARK_NODE_HTML_INLINE:
        case CMARK_NODE_LINK:
        case CMARK_NODE_IMAGE:
            nodes.push_back(node);
            break;
        default:
            break;
        }
    }
    cmark_iter_free(iter);

    std::vector<std::string> images;
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) {
        cmark_node* node = *it;
        switch (cmark_node_get_type(node)) {
        case CMARK_NODE_HTML_BLOCK:
        case CMARK_NODE_HTML_INLINE:
            // Should that fail, the node left renders as an HTML comment only (not unsafe).
            ReplaceWithText(
                node, cmark_node_get_type(node) == CMARK_NODE_HTML_BLOCK ? CMARK_NODE_CODE_BLOCK : CMARK_NODE_TEXT,
                cmark_node_get_literal(node));
            break;
        case CMARK_NODE_LINK: {
            const std::string url = cmark_node_get_url(node), read = AsBrowserReadsIt(url);
            if (IsAllowedLink(read)) {
                if (read != url) // what was judged is what the page gets
                    cmark_node_set_url(node, read.c_str());
            } else if (!Unwrap(node)) {
                cmark_node_set_url(node, "");
            }
            break;
        }
        case CMARK_NODE_IMAGE: {
            std::string local = LocalImageUrl(cmark_node_get_url(node), folder);
            if (!local.empty()) {
                cmark_node_set_url(node, ("#" + std::to_string(images.size())).c_str());
                images.push_back(std::move(local));
            } else if (!ReplaceWithText(node, CMARK_NODE_TEXT, AltText(node).c_str())) {
                cmark_node_set_url(node, "");
            }
            break;
        }
        default:
            break;
        }
    }
    return images;
}

// Every <img> cmark wrote is a kept picture (the rest became text, and text has no raw '<'):
// gives each its file:// URL back.
std::string PutLocalImages(const char* html, const std::vector<std::string>& images)
{
    static const char kImg[] = "<img src=\"#";
    std::string out;
    const char* p = html;
    for (const char* img; (img = std::strstr(p, kImg));) {
        const char* digits = img + sizeof kImg - 1;
        char* end = nullptr;
        const unsigned long index = std::strtoul(digits, &end, 10);
        out.append(p, digits - 1);
        if (end != digits && *end == '"' && index < images.size()) {
            out += images[index];
            p = end;
        } else {
            p = digits - 1;
            out += *p++;
        }
    }
    return out += p;
}

// This cmark-gfm (Debian 12's 0.29.0.gfm.6) has superlinear corners in two extensions; the
// guards below bound each from above in one pass over the text, and leave the extension out of
// a document that would cost far more than its size. Both accept ordinary documents.
//
// Tables: every row is padded to the width of the delimiter row, so a wide "|-|-|…" line over
// many short lines asks for columns × rows cells from a small file; and parsing a header,
// delimiter or body row takes time quadratic in its '|' count. A table ends at the latest on a
// blank line, and a delimiter row has a '-' run per column.
bool TablesStayLinear(const std::string& text)
{
    const uint64_t size = text.size();
    const uint64_t cellLimit = size + (1 << 17), workLimit = 32 * size + (1 << 26);
    uint64_t cells = 0, work = 0, columns = 0, previousPipes = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos)
            end = text.size();
        bool blank = true, delimiterLike = true;
        uint64_t pipes = 0, dashRuns = 0;
        for (size_t i = pos; i < end; ++i) {
            const char c = text[i];
            blank = blank && (c == ' ' || c == '\t');
            dashRuns += c == '-' && (i == pos || text[i - 1] != '-');
            pipes += c == '|';
            delimiterLike = delimiterLike && c != 0 && std::strchr(" \t\v\f|:->", c);
        }
        if (blank) {
            columns = 0;
            pipes = 0;
        } else {
            if (columns > 0) {
                cells += columns;
                work += pipes * pipes;
            }
            if (delimiterLike && pipes > 0 && dashRuns > 0) {
                columns = std::max(columns, dashRuns);
                work += pipes * pipes + previousPipes * previousPipes;
            }
            if (cells > cellLimit || work > workLimit)
                return false;
        }
        previousPipes = pipes;
        pos = end + 1;
        if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n')
            ++pos;
    }
    return true;
}

// Autolinks: for each "www.", ':' or '@' the extension may scan the whole run of non-blank
// characters around it, and some runs ("www.a_www.a_…", "http://a<http://a<…") make it do so
// for every one of them.
bool AutolinksStayLinear(const std::string& text)
{
    const uint64_t limit = 16 * uint64_t(text.size()) + (1 << 25);
    uint64_t work = 0, runLength = 0, runTriggers = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : ' ';
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            work += runLength * runTriggers;
            if (work > limit)
                return false;
            runLength = runTriggers = 0;
            continue;
        }
        ++runLength;
        const bool www = (c | 0x20) == 'w' && i + 3 < text.size() && (text[i + 1] | 0x20) == 'w' &&
                         (text[i + 2] | 0x20) == 'w' && text[i + 3] == '.';
        runTriggers += c == ':' || c == '@' || www;
    }
    return true;
}

// The engine wraps a word wider than the page letter by letter, and resolves the direction of a
// run of neutral characters ("####…", or "- - - …" spaced out) by scanning it, each at a cost that
// grows with the square of the length: 300 000 such characters in a row froze the window for
// minutes. A break opportunity in a long word, and an invisible left-to-right mark, every few
// characters keep both short. Any non-ASCII character ends a run, so right-to-left text is left be.
constexpr size_t kLongWord = 256;
constexpr size_t kBreakEvery = 16;

std::string BreakLongWords(const std::string& html)
{
    std::string out;
    out.reserve(html.size() + html.size() / 32);
    bool inTag = false, inEntity = false;
    size_t wordChars = 0, neutralChars = 0, sinceMark = 0;
    for (const char ch : html) {
        const unsigned char c = ch;
        if (inTag) {
            inTag = c != '>';
        } else if (c == '<') {
            inTag = true;
        } else if (c == ' ' || c == '\n' || c == '\t' || c == '\r') {
            wordChars = 0;
            inEntity = false;
            ++neutralChars;
            ++sinceMark;
        } else if (inEntity) {
            inEntity = c != ';';
        } else if ((c & 0xC0) != 0x80) { // a character starts here, not inside one
            // Counted from the last mark: in "- - -" only every second character is looked at here.
            if (wordChars >= kLongWord && wordChars % kBreakEvery == 0) {
                out += "<wbr>\xE2\x80\x8E"; // U+200E
                sinceMark = 0;
            } else if (neutralChars >= kLongWord && sinceMark >= kBreakEvery) {
                out += "\xE2\x80\x8E";
                sinceMark = 0;
            }
            ++wordChars;
            const bool strong = IsAlpha(c) || c >= 0x80;
            neutralChars = strong ? 0 : neutralChars + 1;
            sinceMark = strong ? 0 : sinceMark + 1;
            inEntity = c == '&';
        }
        out += ch;
    }
    return out;
}

// Each level of nesting costs the page engine's layout more: 50 000 nested quotes froze the
// window for seconds. Real documents stay far below this.
constexpr int kMaxNesting = 64;

bool NestsTooDeep(cmark_node* document)
{
    bool tooDeep = false;
    cmark_iter* iter = cmark_iter_new(document);
    for (cmark_event_type ev; !tooDeep && (ev = cmark_iter_next(iter)) != CMARK_EVENT_DONE;) {
        if (ev != CMARK_EVENT_ENTER)
            continue;
        int depth = 0; // ancestors, counted no further than the limit
        for (cmark_node* n = cmark_iter_get_node(iter); n && depth <= kMaxNesting; n = cmark_node_parent(n))
            ++depth;
        tooDeep = depth > kMaxNesting;
    }
    cmark_iter_free(iter);
    return tooDeep;
}

// The page engine lays out each top-level block in one go on the window's thread: one paragraph
// of 60 000 links, or a list of 100 000 items, froze it for minutes. A block may hold at most
// kMaxBlockCost nodes and the page kMaxPageCost, a text or code counting one node more per
// kBytesPerNode bytes; the document is cut where either runs out. A long table is written as
// tables of kRowsPerTable rows instead, each a block of its own. A table's node counts
// kTableNodeCost against the page: each table added to a page of 20 000 rows still kept the
// window busy for 200-380 ms laying it out again.
constexpr size_t kMaxBlockCost = 2000;
constexpr size_t kMaxPageCost = 100000;
constexpr size_t kBytesPerNode = 32;
constexpr size_t kRowsPerTable = 64;
constexpr size_t kTableNodeCost = 5;

bool IsType(cmark_node* node, const char* extensionType)
{
    return std::strcmp(cmark_node_get_type_string(node), extensionType) == 0;
}

// Ends the table and starts another after every kRowsPerTable body rows.
std::string SplitLongTables(const std::string& html)
{
    static const std::string kRowEnd = "</tr>\n", kBodyStart = "<tbody>\n", kBodyEnd = "</tbody>";
    std::string out;
    out.reserve(html.size());
    size_t rows = 0, pos = 0;
    for (size_t at; (at = html.find('<', pos)) != std::string::npos;) {
        const size_t next = at + 1;
        if (html.compare(at, kBodyStart.size(), kBodyStart) == 0) {
            rows = 0;
        } else if (html.compare(at, kRowEnd.size(), kRowEnd) == 0) {
            out.append(html, pos, at + kRowEnd.size() - pos);
            pos = at + kRowEnd.size();
            if (++rows % kRowsPerTable == 0 && html.compare(pos, kBodyEnd.size(), kBodyEnd) != 0)
                out += "</tbody>\n</table>\n<table>\n<tbody>\n";
            continue;
        }
        out.append(html, pos, next - pos);
        pos = next;
    }
    return out.append(html, pos, std::string::npos);
}

bool HoldsText(cmark_node* node)
{
    const cmark_node_type type = cmark_node_get_type(node);
    return type == CMARK_NODE_TEXT || type == CMARK_NODE_CODE || type == CMARK_NODE_CODE_BLOCK ||
           type == CMARK_NODE_HTML_BLOCK || type == CMARK_NODE_HTML_INLINE;
}

size_t Utf8Prefix(const char* text, size_t bytes)
{
    while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80)
        --bytes;
    return bytes;
}

// Frees everything after `node` in document order, and `node` too unless `keep`.
void RemoveFrom(cmark_node* node, bool keep)
{
    for (cmark_node* n = node; n && cmark_node_get_type(n) != CMARK_NODE_DOCUMENT;) {
        cmark_node* parent = cmark_node_parent(n);
        while (cmark_node* next = cmark_node_next(n))
            cmark_node_free(next);
        if (n == node && !keep)
            cmark_node_free(n);
        n = parent;
    }
}

// True when the document was cut.
bool CutToBudget(cmark_node* document)
{
    size_t page = 0, block = 0, rows = 0;
    bool inTable = false;
    cmark_node* cutAt = nullptr;
    size_t room = 0; // in the node cut at, when it holds text: what is left of its budget
    cmark_iter* iter = cmark_iter_new(document);
    for (cmark_event_type ev; !cutAt && (ev = cmark_iter_next(iter)) != CMARK_EVENT_DONE;) {
        cmark_node* node = cmark_iter_get_node(iter);
        if (ev != CMARK_EVENT_ENTER || node == document)
            continue;
        cmark_node* parent = cmark_node_parent(node);
        if (parent == document) {
            block = rows = 0;
            inTable = IsType(node, "table");
        } else if (IsType(node, "table_row") && cmark_node_parent(parent) == document && ++rows % kRowsPerTable == 1)
            block = 0; // the header row is the first, then each kRowsPerTable starts a table
        size_t cost = 1;
        const char* literal = HoldsText(node) ? cmark_node_get_literal(node) : nullptr;
        if (literal)
            cost += std::strlen(literal) / kBytesPerNode;
        const size_t pageCost = inTable ? cost * kTableNodeCost : cost;
        const size_t left = std::min(kMaxBlockCost - block, (kMaxPageCost - page) / (inTable ? kTableNodeCost : 1));
        if (cost > left) {
            cutAt = node;
            room = literal && left > 1 ? (left - 1) * kBytesPerNode : 0;
        }
        page += pageCost;
        block += cost;
    }
    cmark_iter_free(iter);
    if (!cutAt)
        return false;
    if (room > 0) {
        const std::string literal(cmark_node_get_literal(cutAt));
        cmark_node_set_literal(cutAt, literal.substr(0, Utf8Prefix(literal.c_str(), room)).c_str());
    }
    RemoveFrom(cutAt, room > 0);
    return true;
}

struct Parser {
    cmark_parser* p;
    explicit Parser(int options) : p(cmark_parser_new(options)) {}
    ~Parser() { cmark_parser_free(p); }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;
};

// Where the first blank line at or after `from` starts, or npos.
size_t BlankLineFrom(const std::string& text, size_t from)
{
    for (size_t line = text.find('\n', from); line != std::string::npos; line = text.find('\n', line + 1)) {
        const size_t start = line + 1, end = text.find('\n', start);
        if (end == std::string::npos)
            return std::string::npos;
        if (text.find_first_not_of(" \t\r", start) >= end)
            return start;
    }
    return std::string::npos;
}

// Lines that may define a link's target ("[name]: url"), which the first blocks may use.
std::string ReferenceLikeLines(const std::string& text, size_t from, size_t maxBytes)
{
    std::string lines;
    for (size_t start = from; start < text.size();) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        const size_t bracket = text.find_first_not_of(' ', start);
        if (bracket < end && bracket - start < 4 && text[bracket] == '[' && text.find("]:", bracket) < end) {
            if (lines.size() + end - start > maxBytes)
                break;
            lines.append(text, start, end - start);
        }
        start = end;
    }
    return lines;
}

struct Extensions {
    bool tables, autolinks;
};

// With `dropLastBlock`, the document's last top-level block is left out: in a part of the
// document it may go on past the part's end.
std::string Convert(const std::string& markdown, const std::string& documentFolder, Extensions use, bool dropLastBlock)
{
    cmark_gfm_core_extensions_ensure_registered();
    Parser parser(kOptions);
    const struct {
        const char* name;
        bool use;
    } extensions[] = {
        {"table", use.tables}, {"strikethrough", true}, {"autolink", use.autolinks},
        {"tagfilter", true},   {"tasklist", true},
    };
    for (const auto& e : extensions) {
        cmark_syntax_extension* ext = e.use ? cmark_find_syntax_extension(e.name) : nullptr;
        if (ext)
            cmark_parser_attach_syntax_extension(parser.p, ext);
    }
    cmark_parser_feed(parser.p, markdown.data(), markdown.size());
    cmark_node* document = cmark_parser_finish(parser.p);
    if (!document)
        return {};
    if (NestsTooDeep(document)) {
        cmark_node_free(document);
        return dropLastBlock ? std::string() : PlainTextAsHtml(markdown);
    }
    if (dropLastBlock && cmark_node_last_child(document))
        cmark_node_free(cmark_node_last_child(document));
    const bool cut = CutToBudget(document);
    const std::vector<std::string> images = Sanitise(document, documentFolder);

    cmark_mem* mem = cmark_get_default_mem_allocator();
    char* html = cmark_render_html_with_mem(document, kOptions, cmark_parser_get_syntax_extensions(parser.p), mem);
    cmark_node_free(document);
    std::string out = html ? BreakLongWords(SplitLongTables(PutLocalImages(html, images))) : std::string();
    if (cut && html)
        out.insert(0, kCutMarker);
    mem->free(html);
    return out;
}

Extensions ExtensionsFor(const std::string& markdown)
{
    return {TablesStayLinear(markdown), AutolinksStayLinear(markdown)};
}

} // namespace

std::string ConvertMarkdownToHtml(const std::string& markdown, const std::string& documentFolder)
{
    return Convert(markdown, documentFolder, ExtensionsFor(markdown), false);
}

std::string ConvertLeadingBlocks(const std::string& markdown, const std::string& documentFolder, size_t bytes)
{
    const size_t end = BlankLineFrom(markdown, bytes);
    if (end == std::string::npos)
        return {};
    const std::string part = markdown.substr(0, end) + "\n" + ReferenceLikeLines(markdown, end, 1 << 16);
    const std::string html = Convert(part, documentFolder, ExtensionsFor(markdown), true);
    return html.compare(0, std::strlen(kCutMarker), kCutMarker) == 0 ? std::string() : html;
}

std::string PlainTextAsHtml(const std::string& text)
{
    // The same bounds for the engine as a formatted page: blocks of kPlainBlockBytes at most,
    // lines broken every kPlainLineChars, and no more than kMaxPlainBytes of the text.
    constexpr size_t kPlainBlockBytes = 16384, kPlainLineChars = 4096, kMaxPlainBytes = 4 << 20;
    std::string out = "<pre>";
    const size_t n = std::min(text.size(), kMaxPlainBytes);
    out.reserve(n + n / 8 + 16);
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    size_t blockBytes = 0, lineChars = 0;
    for (size_t i = 0; i < n;) {
        const unsigned char c = p[i];
        const bool lineEnds = c == '\n' || lineChars >= kPlainLineChars;
        if (lineEnds && blockBytes >= kPlainBlockBytes) {
            out += "\n</pre>\n<pre>";
            blockBytes = lineChars = 0;
            i += c == '\n';
            continue;
        }
        if (lineChars >= kPlainLineChars && c != '\n') {
            out += '\n';
            lineChars = 0;
        }
        const size_t before = out.size();
        ++lineChars;
        if (c == '\n')
            lineChars = 0;
        if (c == 0 || c >= 0x80) {
            // The length of a well-formed UTF-8 sequence starting here, or 0.
            size_t len = 0;
            unsigned char lo = 0x80, hi = 0xBF;
            if (c >= 0xC2 && c <= 0xDF) {
                len = 2;
            } else if (c >= 0xE0 && c <= 0xEF) { // no overlong forms, no surrogates
                len = 3;
                lo = c == 0xE0 ? 0xA0 : 0x80;
                hi = c == 0xED ? 0x9F : 0xBF;
            } else if (c >= 0xF0 && c <= 0xF4) { // nothing past U+10FFFF
                len = 4;
                lo = c == 0xF0 ? 0x90 : 0x80;
                hi = c == 0xF4 ? 0x8F : 0xBF;
            }
            for (size_t k = 1; k < len; ++k) {
                if (i + k >= n || p[i + k] < (k == 1 ? lo : 0x80) || p[i + k] > (k == 1 ? hi : 0xBF)) {
                    len = 0;
                    break;
                }
            }
            if (len == 0) {
                out += "\xEF\xBF\xBD";
                ++i;
            } else {
                out.append(text, i, len);
                i += len;
            }
        } else {
            switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += static_cast<char>(c);
            }
            ++i;
        }
        blockBytes += out.size() - before;
    }
    out += "</pre>\n";
    return (text.size() > n ? kCutMarker : "") + BreakLongWords(out);
}

} // namespace mdconvert
