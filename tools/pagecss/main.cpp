// pagecss IN.css OUT.css: the rules of a style sheet that can style a converted markdown page. The
// page's elements carry no class and no id but the cut notice's, so a selector that asks for any
// other can never match; neither can animations. What is left is written as it stands, in order.
// The page engine parses the style sheet for every page: Bootstrap whole took 25-35 ms of each.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace {

// The classes the markdown viewer itself writes.
const char* const kPageClasses[] = {"alert", "alert-warning"};

std::string Trimmed(const std::string& s)
{
    const size_t begin = s.find_first_not_of(" \t\r\n"), end = s.find_last_not_of(" \t\r\n");
    return begin == std::string::npos ? std::string() : s.substr(begin, end - begin + 1);
}

std::string WithoutComments(const std::string& css)
{
    std::string out;
    size_t pos = 0;
    for (size_t open; (open = css.find("/*", pos)) != std::string::npos;) {
        out.append(css, pos, open - pos);
        const size_t close = css.find("*/", open + 2);
        pos = close == std::string::npos ? css.size() : close + 2;
    }
    return out.append(css, pos, std::string::npos);
}

// The selector list split at its top-level commas.
std::vector<std::string> Selectors(const std::string& list)
{
    std::vector<std::string> parts(1);
    int depth = 0;
    for (const char c : list) {
        depth += (c == '(' || c == '[') - (c == ')' || c == ']');
        if (c == ',' && depth == 0)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

bool CanMatchPage(std::string selector)
{
    selector = std::regex_replace(selector, std::regex(R"(:not\([^)]*\))"), ""); // met by the page's elements
    if (selector.find('#') != std::string::npos || selector.find("[class") != std::string::npos)
        return false;
    const std::regex className(R"(\.(-?[_a-zA-Z][-_a-zA-Z0-9]*))");
    for (std::sregex_iterator it(selector.begin(), selector.end(), className), end; it != end; ++it) {
        bool ours = false;
        for (const char* c : kPageClasses)
            ours = ours || (*it)[1] == c;
        if (!ours)
            return false;
    }
    return true;
}

// The rules from `pos` to the end of the enclosing block (or of the sheet), filtered.
std::string Rules(const std::string& css, size_t& pos)
{
    std::string out;
    while (pos < css.size()) {
        const size_t at = css.find_first_of("{;}", pos);
        if (at == std::string::npos || css[at] == '}') {
            pos = at == std::string::npos ? css.size() : at + 1;
            break;
        }
        const std::string prelude = Trimmed(css.substr(pos, at - pos));
        pos = at + 1;
        if (css[at] == ';') // @charset, @import
            continue;
        if (prelude.rfind("@media", 0) == 0 || prelude.rfind("@supports", 0) == 0) {
            const std::string inner = Rules(css, pos);
            if (!inner.empty())
                out += prelude + '{' + inner + '}';
        } else if (prelude.rfind('@', 0) == 0) { // @keyframes and the like
            Rules(css, pos);
        } else {
            const size_t close = css.find('}', pos);
            const size_t end = close == std::string::npos ? css.size() : close;
            std::string kept;
            for (const std::string& selector : Selectors(prelude))
                if (CanMatchPage(selector))
                    kept += (kept.empty() ? "" : ",") + Trimmed(selector);
            if (!kept.empty())
                out += kept + '{' + css.substr(pos, end - pos) + '}';
            pos = end + 1;
        }
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: pagecss IN.css OUT.css\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string css((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        std::fprintf(stderr, "pagecss: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string text = WithoutComments(css);
    size_t pos = 0;
    std::string out;
    while (pos < text.size())
        out += Rules(text, pos); // a stray '}' ends no more than itself
    std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
    file << out;
    if (!file.good()) {
        std::fprintf(stderr, "pagecss: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
