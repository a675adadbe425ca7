#include "html/htmlchunks.h"

#include <gtest/gtest.h>

TEST(HtmlChunks, CutsOnlyBetweenWholeTopLevelBlocks)
{
    const struct {
        const char* name;
        QString body;
        int minChars;
        QStringList pieces;
    } cases[] = {
        {"short page stays whole", "<p>a</p>\n<p>b</p>\n", 1000, {"<p>a</p>\n<p>b</p>\n"}},
        {"each block once long enough",
         "<p>a</p>\n<p>b</p>\n<p>c</p>\n",
         5,
         {"<p>a</p>", "\n<p>b</p>", "\n<p>c</p>\n"}},
        {"nested blocks stay together",
         "<ul>\n<li><p>x</p></li>\n<li>y</li>\n</ul>\n<p>z</p>",
         5,
         {"<ul>\n<li><p>x</p></li>\n<li>y</li>\n</ul>", "\n<p>z</p>"}},
        {"void and self-closed elements open nothing",
         "<p>a<br />b<img src=\"x\" alt=\"\" /><br></p><hr /><p>c</p>",
         5,
         {"<p>a<br />b<img src=\"x\" alt=\"\" /><br></p>", "<hr />", "<p>c</p>"}},
        {"escaped text is no tag",
         "<pre><code>&lt;div&gt;</code></pre><p>q</p>",
         5,
         {"<pre><code>&lt;div&gt;</code></pre>", "<p>q</p>"}},
        {"never closed: one piece", "<div><p>a</p><p>b</p>", 2, {"<div><p>a</p><p>b</p>"}},
        {"empty", "", 10, {""}},
    };
    for (const auto& c : cases) {
        const QStringList pieces = SplitTopLevelBlocks(c.body, c.minChars);
        EXPECT_EQ(pieces, c.pieces) << c.name;
        EXPECT_EQ(pieces.join(QString()), c.body) << c.name;
    }
}
