#pragma once
// What the markdown viewer may be given: text keeps no raw '<' (it is &lt;), so every '<' opens a
// tag that cmark or the converter wrote. Each must be a known one with known attributes, no link
// off the allowed schemes and no picture from outside the document's folder (`images`).
// Shared by mdconvert_test and md_fuzz.

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

namespace safepage {

// The first tag that breaks the rules, from its '<' on; empty when the page is safe.
inline std::string UnsafePart(const std::string& html, const std::string& images)
{
    static const std::set<std::string> tags = {
        "p",          "em",    "strong", "del",   "a",  "img", "code", "pre", "br", "hr", "ul", "ol", "li", "input",
        "blockquote", "table", "thead",  "tbody", "tr", "th",  "td",   "h1",  "h2", "h3", "h4", "h5", "h6", "wbr"};
    static const std::set<std::string> attributes = {"href",    "src",      "alt",   "title", "type",
                                                     "checked", "disabled", "align", "class", "start"};
    for (size_t i = html.find('<'); i != std::string::npos; i = html.find('<', i + 1)) {
        const std::string bad = html.substr(i, 80);
        size_t j = i + 1 + (html[i + 1] == '/');
        const size_t nameEnd = html.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789", j);
        if (nameEnd == std::string::npos || !tags.count(html.substr(j, nameEnd - j)))
            return bad;
        for (j = nameEnd; html[j] == ' ' && html.compare(j, 3, " />") != 0;) {
            const size_t eq = html.find("=\"", j);
            const size_t close = eq == std::string::npos ? eq : html.find('"', eq + 2);
            if (close == std::string::npos)
                return bad;
            const std::string key = html.substr(j + 1, eq - j - 1), value = html.substr(eq + 2, close - eq - 2);
            if (!attributes.count(key) || value.find_first_of("<>") != std::string::npos)
                return bad;
            if (key == "src" && value.compare(0, images.size(), images) != 0)
                return bad;
            // A scheme as a browser finds one: a letter, then letters, digits, '+', '-' or '.', then ':'.
            std::string scheme = value;
            for (char& c : scheme)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            const size_t k = scheme.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789+-.");
            scheme.resize(std::min(k, scheme.size()));
            if (key == "href" && k != std::string::npos && value[k] == ':' && k > 0 && std::isalpha(scheme[0]) &&
                scheme != "http" && scheme != "https" && scheme != "mailto")
                return bad;
            j = close + 1;
        }
        if (html.compare(j, 1, ">") != 0 && html.compare(j, 3, " />") != 0)
            return bad;
    }
    return std::string();
}

} // namespace safepage
