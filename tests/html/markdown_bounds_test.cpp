// Documents built to keep the web engine busy for minutes reach it cut short, with a notice at
// the top, or as plain text; the converter ends on each of them.
#include "htmltestutil.h"
#include "md/mdmarkers.h"

#include <QWebFrame>
#include <QWebView>

#include <gtest/gtest.h>

namespace {

QByteArray Times(const QByteArray& unit, int n) { return unit.repeated(n); }

QByteArray References()
{
    QByteArray text;
    for (int i = 0; i < 50000; ++i)
        text += "[a" + QByteArray::number(i) + "]: /u\n";
    text += '\n';
    for (int i = 0; i < 50000; ++i)
        text += "[a" + QByteArray::number(i) + "] ";
    return text + "LAST\n";
}

QByteArray IndentedLists()
{
    QByteArray text;
    for (int i = 0; i < 1000; ++i)
        text += QByteArray(2 * i, ' ') + "- x\n";
    return text + "LAST\n";
}

using MarkdownBounds = HtmlWnd;

TEST_F(MarkdownBounds, HostilePagesAreCutOrShownAsText)
{
    const struct {
        const char* name;
        QByteArray text; // ends with "LAST", which a page cut short does not reach
        bool cut;        // else shown as plain text
    } documents[] = {
        {"one paragraph of bare links", Times("www.example.com ", 60000) + "LAST\n", true},
        {"one paragraph of URLs", Times("https://a.b/ ", 80000) + "LAST\n", true},
        {"100 000 list items", Times("- x\n", 100000) + "- LAST\n", true},
        {"one quote of 100 000 paragraphs", Times("> x\n>\n", 100000) + "> LAST\n", true},
        {"100 000 table rows", "| a | b |\n|---|---|\n" + Times("| 1 | 2 |\n", 100000) + "| LAST | |\n", true},
        {"10 000 table rows", "| a | b |\n|---|---|\n" + Times("| 1 | 2 |\n", 10000) + "| LAST | |\n", true},
        {"a delimiter row of 200 000 columns", "| a |\n|" + Times("-|", 200000) + "\n" + Times("| 1 ", 10) + "LAST\n",
         true},
        {"backtick pairs", Times("` ", 100000) + "LAST\n", true},
        {"a paragraph of 2 MB", Times("word ", 400000) + "LAST\n", true},
        {"50 000 references", References(), true},
        {"100 000 nested lists", Times("- ", 100000) + "LAST\n", false},
        {"100 000 nested quotes", Times("> ", 100000) + "LAST\n", false},
        {"lists indented 1 000 deep", IndentedLists(), false},
    };
    for (const auto& h : documents) {
        const QString path = dir + "/hostile.md";
        WriteFile(path, h.text);
        const Finished md = RunToEnd(MD_PROGRAM, {path});
        EXPECT_EQ(md.exitCode, 0) << h.name;
        const QByteArray& page = md.out;
        const QByteArray start = page.left(40);
        EXPECT_TRUE(start.startsWith(h.cut ? mdconvert::kCutMarker : "<pre>")) << h.name << ": " << start.constData();
        EXPECT_EQ(page.contains("LAST"), !h.cut) << h.name;
        EXPECT_LT(page.count("<pre>"), 300) << h.name; // the text in blocks the engine takes at once
    }
}

TEST_F(MarkdownBounds, ACutPageSaysSoAtTheTop)
{
    const QString path = dir + "/links.md";
    WriteFile(path, "www.first.example " + Times("www.example.com ", 60000));
    const auto wnd = Viewer(QStringLiteral(MD_PROGRAM));
    ASSERT_EQ(Show(*wnd, path).loaded, 1);
    const QString text = wnd->View()->page()->mainFrame()->toPlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("This page is too large to show whole")))
        << text.left(100).toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("www.first.example")));
}

} // namespace
