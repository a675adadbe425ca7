// Documents built to keep the web engine busy for minutes reach it cut short, with a notice at
// the top, or as plain text; the converter ends on each of them.
#include "htmltestutil.h"
#include "md/mdmarkers.h"

#include <QProcess>
#include <QWebFrame>
#include <QWebView>

#include <gtest/gtest.h>

namespace {

enum class Shown { Cut, AsText };

struct Hostile {
    const char* name;
    QByteArray text; // ends with "LAST", which a page cut short does not reach
    Shown shown;
};

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

const std::vector<Hostile>& HostileDocuments()
{
    static const std::vector<Hostile> documents{
        {"one paragraph of bare links", Times("www.example.com ", 60000) + "LAST\n", Shown::Cut},
        {"one paragraph of URLs", Times("https://a.b/ ", 80000) + "LAST\n", Shown::Cut},
        {"100 000 list items", Times("- x\n", 100000) + "- LAST\n", Shown::Cut},
        {"one quote of 100 000 paragraphs", Times("> x\n>\n", 100000) + "> LAST\n", Shown::Cut},
        {"100 000 table rows", "| a | b |\n|---|---|\n" + Times("| 1 | 2 |\n", 100000) + "| LAST | |\n", Shown::Cut},
        {"10 000 table rows", "| a | b |\n|---|---|\n" + Times("| 1 | 2 |\n", 10000) + "| LAST | |\n", Shown::Cut},
        {"a delimiter row of 200 000 columns", "| a |\n|" + Times("-|", 200000) + "\n" + Times("| 1 ", 10) + "LAST\n",
         Shown::Cut},
        {"backtick pairs", Times("` ", 100000) + "LAST\n", Shown::Cut},
        {"a paragraph of 2 MB", Times("word ", 400000) + "LAST\n", Shown::Cut},
        {"50 000 references", References(), Shown::Cut},
        {"100 000 nested lists", Times("- ", 100000) + "LAST\n", Shown::AsText},
        {"100 000 nested quotes", Times("> ", 100000) + "LAST\n", Shown::AsText},
        {"lists indented 1 000 deep", IndentedLists(), Shown::AsText},
    };
    return documents;
}

using MarkdownBounds = HtmlWnd;

TEST_F(MarkdownBounds, HostilePagesAreCutOrShownAsText)
{
    for (const Hostile& h : HostileDocuments()) {
        const QString path = dir + "/hostile.md";
        WriteFile(path, h.text);
        QProcess md;
        md.start(QStringLiteral(MD_PROGRAM), {path});
        ASSERT_TRUE(md.waitForFinished(-1)) << h.name;
        EXPECT_EQ(md.exitStatus(), QProcess::NormalExit) << h.name;
        EXPECT_EQ(md.exitCode(), 0) << h.name;
        const QByteArray page = md.readAllStandardOutput();
        const QByteArray start = page.left(40);
        if (h.shown == Shown::Cut) {
            EXPECT_TRUE(start.startsWith(mdconvert::kCutMarker)) << h.name << ": " << start.constData();
            EXPECT_FALSE(page.contains("LAST")) << h.name;
        } else {
            EXPECT_TRUE(start.startsWith("<pre>")) << h.name << ": " << start.constData();
            EXPECT_TRUE(page.contains("LAST")) << h.name;
        }
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
