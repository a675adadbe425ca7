#include "md/mdconvert.h"
#include "safepage.h"
#include "../samples.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include <string>
#include <vector>

using mdconvert::ConvertMarkdownToHtml;
using mdconvert::PlainTextAsHtml;

namespace {

const std::string kFolder = "/home/u/notes";
const std::string kImages = "file:///home/u/notes/";

TEST(MdConvert, GithubMarkdownAndHostileInput)
{
    const struct {
        const char* name;
        std::string markdown;
        std::vector<std::string> present, absent;
    } cases[] = {
        {"table", "| a | b |\n|---|:-:|\n| 1 | 2 |\n", {"<table>", "<th>a</th>", "<td align=\"center\">2</td>"}, {}},
        {"strikethrough", "~~gone~~ kept", {"<del>gone</del> kept"}, {}},
        {"www autolink", "see www.example.com now", {"<a href=\"http://www.example.com\">www.example.com</a>"}, {}},
        {"tasks",
         "- [x] done\n- [ ] todo\n",
         {"<input type=\"checkbox\" checked=\"\" disabled=\"\" /> done",
          "<input type=\"checkbox\" disabled=\"\" /> todo"},
         {}},
        {"script block", "<script>alert(1)</script>\n", {"&lt;script&gt;alert(1)&lt;/script&gt;"}, {"<script"}},
        {"inline img onerror",
         "a <img src=x onerror=alert(1)> b",
         {"a &lt;img src=x onerror=alert(1)&gt; b"},
         {"<img"}},
        {"iframe",
         "<iframe src=\"http://evil.example/\"></iframe>\n",
         {"&lt;iframe src=&quot;http://evil.example/&quot;&gt;"},
         {"<iframe"}},
        {"style",
         "x\n\n<style>body{display:none}</style>\n",
         {"&lt;style&gt;body{display:none}&lt;/style&gt;"},
         {"<style"}},
        {"inline tags",
         "a <b onclick=\"x()\">b</b> <!-- c -->",
         {"&lt;b onclick=&quot;x()&quot;&gt;b&lt;/b&gt; &lt;!-- c --&gt;"},
         {"<b"}},
        {"html in table", "| a |\n|---|\n| <svg onload=x> |\n", {"<td>&lt;svg onload=x&gt;</td>"}, {"<svg"}},
        {"javascript link", "[x](javascript:alert(1))", {"<p>x</p>"}, {"href"}},
        {"data link", "[x](data:text/html,hi)", {"<p>x</p>"}, {"href"}},
        {"obfuscated links",
         "[a](JaVaScRiPt:x) [b](&#106;avascript:x) [c](<\tjavascript:x>) <javascript:x> [d](vbscript:x) "
         "[e](file:///etc/passwd) [f](//evil.example/)",
         {"<p>a b c javascript:x d e f</p>"},
         {"href"}},
        {"allowed links",
         "[a](https://example.org/?q=1&r=2) [b](\bMAILTO:me@example.org) [c](#part) [d](other.md)",
         {"href=\"https://example.org/?q=1&amp;r=2\"", "href=\"MAILTO:me@example.org\"", "href=\"#part\"",
          "href=\"other.md\""},
         {}},
        {"remote and outside pictures",
         "![a](http://127.0.0.1:8000/x.png) ![b](file:///etc/passwd) ![c](../secret.png) ![d](/etc/passwd) "
         "![e](data:image/png;base64,AA) ![f](img/../../x.png) ![g](%2e%2e/x.png) ![h](C:/x.png) ![i](//host/x.png) "
         "![j][r]\n\n[r]: http://127.0.0.1:8000/r.png",
         {"<p>a b c d e f g h i j</p>"},
         {"<img", "127.0.0.1", "passwd", "secret"}},
        {"picture in the folder",
         "![a pic](<img/pic one.png> \"T\")",
         {"<img src=\"file:///home/u/notes/img/pic%20one.png\" alt=\"a pic\" title=\"T\" />"},
         {}},
        {"pictures in a table",
         "| a |\n|---|\n| ![p](pic.png) ![q](http://x.example/q.png) |\n",
         {"<td><img src=\"file:///home/u/notes/pic.png\" alt=\"p\" /> q</td>"},
         {}},
        {"picture names",
         "![x](bilder/%C3%BCber.png) ![y](img/a#b?c.png) ![*z* \"q\"](./a/./b.png)",
         {"src=\"file:///home/u/notes/bilder/%C3%BCber.png\"", "src=\"file:///home/u/notes/img/a%23b%3Fc.png\"",
          "src=\"file:///home/u/notes/a/b.png\" alt=\"z &quot;q&quot;\""},
         {}},
        {"non-ASCII", "# Grüße\n\n中文 — ÿ 😀", {"<h1>Grüße</h1>", "中文 — ÿ 😀"}, {}},
        {"invalid UTF-8 and NUL",
         std::string("a\xff\xfe b\0c", 7),
         {"a\xEF\xBF\xBD\xEF\xBF\xBD b\xEF\xBF\xBD"
          "c"},
         {"\xff"}},
    };
    for (const auto& c : cases) {
        const std::string html = ConvertMarkdownToHtml(c.markdown, kFolder);
        for (const std::string& s : c.present)
            EXPECT_NE(html.find(s), std::string::npos) << c.name << ": no " << s << " in\n" << html;
        for (const std::string& s : c.absent)
            EXPECT_EQ(html.find(s), std::string::npos) << c.name << ": " << s << " in\n" << html;
        EXPECT_EQ(safepage::UnsafePart(html, kImages), "") << c.name;
    }
}

TEST(MdConvert, PicturesNeedAnAbsoluteFolderWhichIsEncodedToo)
{
    EXPECT_NE(ConvertMarkdownToHtml("![a](x.png)", "/tmp/my docs/ü#?/")
                  .find("src=\"file:///tmp/my%20docs/%C3%BC%23%3F/x.png\""),
              std::string::npos);
    EXPECT_EQ(ConvertMarkdownToHtml("![a](x.png)", "/").find("<img src=\"file:///x.png\""), 3u);
    for (const char* folder : {"", "notes", "./notes"})
        EXPECT_EQ(ConvertMarkdownToHtml("![a](x.png)", folder), "<p>a</p>\n") << folder;
}

// This cmark-gfm pads table rows to the header's width and rescans autolink runs; the guards
// must leave such an extension out of a document built for it, and only of such a document.
TEST(MdConvert, CostlyExtensionsAreLeftOutOfDocumentsBuiltForThem)
{
    std::string header, delimiter, padded;
    for (int i = 0; i < 1000; ++i)
        header += "a|", delimiter += "-|";
    padded = header + "\n" + delimiter + "\n";
    for (int i = 0; i < 1000; ++i)
        padded += "x\n";
    EXPECT_LT(ConvertMarkdownToHtml(padded, kFolder).size(), 20000u) << "a million cells";

    std::string links;
    for (int i = 0; i < 20000; ++i)
        links += "www.a_";
    EXPECT_EQ(ConvertMarkdownToHtml(links + " www.example.com", kFolder).find("href"), std::string::npos);

    std::string ordinary = "| a | b | c | d | e | f | g | h |\n|---|---|---|---|---|---|---|---|\n";
    for (int i = 0; i < 1000; ++i)
        ordinary += "| 1 | 2 | 3 | 4 | 5 | 6 | 7 | https://example.org/a:b@c |\n";
    ordinary += "\nsee www.example.com\n";
    const std::string html = ConvertMarkdownToHtml(ordinary, kFolder);
    EXPECT_NE(html.find("<table>"), std::string::npos);
    EXPECT_NE(html.find("<a href=\"http://www.example.com\">"), std::string::npos);

    std::string quotes;
    for (int i = 0; i < 200; ++i)
        quotes += "> ";
    EXPECT_EQ(ConvertMarkdownToHtml(quotes + "x", kFolder), PlainTextAsHtml(quotes + "x")) << "200 nested quotes";
    std::string empties; // each quote empty, no paragraph in it
    for (int i = 1; i <= 200; ++i)
        empties += quotes.substr(0, 2 * i) + "\n";
    EXPECT_EQ(ConvertMarkdownToHtml(empties, kFolder).rfind("<pre>", 0), 0u) << "200 nested empty quotes";
    EXPECT_EQ(ConvertMarkdownToHtml(quotes.substr(0, 80) + "x", kFolder).rfind("<blockquote>\n<p>x</p>"), 39u * 13)
        << "40";
}

TEST(MdConvert, PlainTextIsEscapedValidUtf8)
{
    EXPECT_EQ(PlainTextAsHtml(std::string("<a href=\"x\">&\0", 14)),
              "<pre>&lt;a href=&quot;x&quot;&gt;&amp;\xEF\xBF\xBD</pre>\n");
    EXPECT_EQ(PlainTextAsHtml("ü中😀"), "<pre>ü中😀</pre>\n");
    // Stray continuation, overlong, surrogate, past U+10FFFF, cut short.
    EXPECT_EQ(PlainTextAsHtml("\x80|\xC0\x80|\xED\xA0\x80|\xF4\x90\x80\x80|\xE4\xB8"),
              "<pre>\uFFFD|\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD\uFFFD|\uFFFD\uFFFD</pre>\n");
}

// A word far wider than the page gets break opportunities; its text, its entities, its UTF-8
// sequences and its link target stay whole (a break inside a tag fails the safe-tag check).
TEST(MdConvert, LongWordsGetBreakOpportunitiesWithoutChangingTheirText)
{
    const auto without = [](std::string html) {
        for (size_t at; (at = html.find("<wbr>\u200E")) != std::string::npos;)
            html.erase(at, 8);
        return html;
    };
    std::string ordinary(255, 'a'), letters, umlauts, ampersands, escaped, link = "http://x.example/";
    for (int i = 0; i < 1000; ++i)
        letters += 'b', umlauts += "\xC3\xBC", ampersands += '&', escaped += "&amp;", link += 'c';
    const struct {
        std::string markdown, expected;
        bool broken;
    } cases[] = {
        {ordinary + " " + ordinary, "<p>" + ordinary + " " + ordinary + "</p>\n", false},
        {letters, "<p>" + letters + "</p>\n", true},
        {umlauts, "<p>" + umlauts + "</p>\n", true},
        {"*" + ampersands + "*", "<p><em>" + escaped + "</em></p>\n", true},
        {"<" + link + ">", "<p><a href=\"" + link + "\">" + link + "</a></p>\n", true},
    };
    for (const auto& c : cases) {
        const std::string html = ConvertMarkdownToHtml(c.markdown, kFolder);
        EXPECT_EQ(without(html), c.expected);
        EXPECT_EQ(html != c.expected, c.broken) << c.expected.substr(0, 40);
        EXPECT_EQ(safepage::UnsafePart(html, kImages), "") << c.expected.substr(0, 40);
    }
    const std::string plain = PlainTextAsHtml(letters);
    EXPECT_NE(plain.find("<wbr>\u200E"), std::string::npos);
    EXPECT_EQ(without(plain), "<pre>" + letters + "</pre>\n");
}

// A long run of spaced-out punctuation gets its marks whatever the phase of its spaces: a bit
// flipped in "- - - …" once kept every mark out and froze the page engine for 14 s.
TEST(MdConvert, SpacedPunctuationGetsMarksWhateverItsPhase)
{
    std::string run;
    for (int i = 0; i < 2000; ++i)
        run += " %";
    for (const std::string lead : {"a=", "a=="}) {
        const std::string html = ConvertMarkdownToHtml(lead + run, kFolder);
        size_t marks = 0;
        for (size_t at = 0; (at = html.find("\u200E", at)) != std::string::npos; at += 3)
            ++marks;
        EXPECT_GT(marks, (run.size() - 256) / 32) << lead;
    }
}

TEST(MdConvert, FuzzFindingsStayFixed)
{
    for (const auto& [name, bytes] : FuzzFindings("md"))
        EXPECT_EQ(safepage::UnsafePart(ConvertMarkdownToHtml(bytes.toStdString(), kFolder), kImages), "")
            << name.toStdString();
}

TEST(MdProgram, PrintsTheBodyOrFailsWithAReasonAndNoOutput)
{
    QTemporaryDir dir;
    const QString path = WriteFile(dir.filePath("read me.md"), "# Title\n\n![p](pic.png) <b>x</b>\n");
    const std::string folder = QFileInfo(dir.path()).canonicalFilePath().toStdString();

    const Finished ok = RunToEnd(MD_PROGRAM, {path});
    EXPECT_EQ(ok.exitCode, 0) << ok.err.toStdString();
    EXPECT_EQ(ok.out.toStdString(), ConvertMarkdownToHtml("# Title\n\n![p](pic.png) <b>x</b>\n", folder));
    EXPECT_TRUE(ok.err.isEmpty()) << ok.err.toStdString();

    for (const QString& bad : {dir.filePath("missing.md"), dir.path()}) {
        const Finished r = RunToEnd(MD_PROGRAM, {bad});
        EXPECT_NE(r.exitCode, 0) << bad.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << bad.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
    EXPECT_NE(RunToEnd(MD_PROGRAM, {}).exitCode, 0);
}

// A long document's first blocks come first; joined with what follows they are the whole page,
// wherever the part ends and whatever the rest changes about it.
TEST(MdProgram, FirstBlocksAndTheRestMakeTheWholePage)
{
    std::string sections;
    for (int i = 0; i < 150; ++i)
        sections += "## Part " + std::to_string(i) + "\n\nSome *text* and [a link][site].\n\n- one\n- two\n\n";
    enum Written { Continued, Replaced, AtOnce };
    const struct {
        const char* name;
        std::string markdown;
        Written written;
    } cases[] = {
        {"references at the end", sections + "[site]: https://example.org\n", Continued},
        {"a list going on past the part", std::string(4090, 'w') + "\n\n- a\n\n- b\n\n- c\n" + sections, Continued},
        {"a reference over two lines", sections + "[site]:\n  https://example.org\n", Replaced},
        {"a fence over the part's end", "```\n" + std::string(5000, 'x') + "\n\n" + sections + "```\n", AtOnce},
        {"short", "# Title\n", AtOnce},
    };
    QTemporaryDir dir;
    const std::string folder = QFileInfo(dir.path()).canonicalFilePath().toStdString();
    const std::string first = mdconvert::kFirstMarker, then = mdconvert::kThenMarker, whole = mdconvert::kWholeMarker;
    for (const auto& c : cases) {
        const Finished r =
            RunToEnd(MD_PROGRAM, {WriteFile(dir.filePath("doc.md"), QByteArray::fromStdString(c.markdown))});
        ASSERT_EQ(r.exitCode, 0) << c.name;
        std::string page = r.out.toStdString();
        const size_t at = page.find(then);
        Written written = AtOnce;
        if (page.rfind(first, 0) == 0 && at != std::string::npos) {
            const std::string blocks = page.substr(first.size(), at - first.size()),
                              rest = page.substr(at + then.size());
            EXPECT_NE(blocks.find("</"), std::string::npos) << c.name;
            written = rest.rfind(whole, 0) == 0 ? Replaced : Continued;
            page = written == Replaced ? rest.substr(whole.size()) : blocks + rest;
        }
        EXPECT_EQ(written, c.written) << c.name;
        EXPECT_EQ(page, ConvertMarkdownToHtml(c.markdown, folder)) << c.name;
    }
}

#ifndef VUEL_SANITIZE // the sanitizers cannot start in a small address space
TEST(MdProgram, ShowsPlainTextWhenConversionRunsOutOfMemory)
{
    QTemporaryDir dir;
    const QString dense = WriteFile(dir.filePath("dense.md"), QByteArray("*a <b> ").repeated(300000));
    const Finished r = RunToEnd("sh", {"-c", "ulimit -v 100000; exec \"$0\" \"$1\"", MD_PROGRAM, dense});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("<pre>*a &lt;b&gt; *a ")) << r.out.left(200).toStdString();
    EXPECT_TRUE(r.out.endsWith("</pre>\n"));
    EXPECT_NE(r.err.indexOf("shown as plain text"), -1) << r.err.toStdString();
}
#endif

} // namespace
