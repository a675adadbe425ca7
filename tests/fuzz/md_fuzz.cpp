// Feeds arbitrary bytes to the markdown conversion, as a hostile .md file would reach it, and
// traps on any page that carries a tag, attribute, link or picture the viewer must never get.
#include "md/mdconvert.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

const char kFolder[] = "/docs/a folder";
const char kImages[] = "file:///docs/a%20folder/";

bool OneOf(const std::string& word, const char* const* list)
{
    for (; *list; ++list) {
        if (word == *list)
            return true;
    }
    return false;
}

void Check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

void CheckPage(const std::string& html)
{
    static const char* const tags[] = {"p", "em", "strong", "del", "a", "img", "code", "pre", "br", "hr", "ul",
        "ol", "li", "input", "blockquote", "table", "thead", "tbody", "tr", "th", "td", "h1", "h2", "h3", "h4",
        "h5", "h6", "wbr", nullptr};
    static const char* const attributes[] = {"href", "src", "alt", "title", "type", "checked", "disabled",
        "align", "class", "start", nullptr};
    for (size_t i = html.find('<'); i != std::string::npos; i = html.find('<', i + 1)) {
        size_t j = i + 1 + (html[i + 1] == '/');
        const size_t nameEnd = html.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789", j);
        Check(nameEnd != std::string::npos && OneOf(html.substr(j, nameEnd - j), tags));
        for (j = nameEnd; html[j] == ' ' && html.compare(j, 3, " />") != 0;) {
            const size_t eq = html.find("=\"", j);
            const size_t close = eq == std::string::npos ? eq : html.find('"', eq + 2);
            Check(close != std::string::npos);
            const std::string key = html.substr(j + 1, eq - j - 1), value = html.substr(eq + 2, close - eq - 2);
            Check(OneOf(key, attributes) && value.find_first_of("<>") == std::string::npos);
            if (key == "src")
                Check(value.compare(0, std::strlen(kImages), kImages) == 0);
            // A scheme, as a browser finds one: a letter, then letters, digits, '+', '-', '.', then ':'.
            size_t k = 0;
            while (k < value.size() && (std::isalpha(static_cast<unsigned char>(value[k])) ||
                                           (k > 0 && (std::isdigit(static_cast<unsigned char>(value[k])) ||
                                                         (value[k] && std::strchr("+-.", value[k]))))))
                ++k;
            if (key == "href" && k > 0 && k < value.size() && value[k] == ':') {
                std::string scheme = value.substr(0, k);
                for (char& c : scheme)
                    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                Check(scheme == "http" || scheme == "https" || scheme == "mailto");
            }
            j = close + 1;
        }
        Check(html.compare(j, 1, ">") == 0 || html.compare(j, 3, " />") == 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckPage(mdconvert::ConvertMarkdownToHtml(text, kFolder));
    CheckPage(mdconvert::PlainTextAsHtml(text));
    return 0;
}
