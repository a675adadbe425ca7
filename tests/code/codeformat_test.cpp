#include "code/codeformat.h"
#include "../samples.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTextCodec>

using codeformat::Kind;

namespace {

codeformat::Result Format(Kind kind, const QString& text, const codeformat::Limits& limits = {})
{
    return (kind == Kind::Json ? codeformat::FormatJson : codeformat::FormatXml)(text, nullptr, limits);
}

QString Nested(const char* open, const char* close, int depth)
{
    return QString(open).repeated(depth) + QString(close).repeated(depth);
}

} // namespace

TEST(CodeFormat, FormatsAsWrittenOrSaysWhereAndWhyItStopped)
{
    const struct {
        const char* name;
        Kind kind;
        QString input;
        QString text;       // the output when it formats; empty when it must fail
        const char* reason; // a part of the reason when it fails
        int line, column;
        qint64 utf8Offset = -1;
        int maxDepth = 10000;
    } cases[] = {
        {"keys in order, duplicates kept", Kind::Json, R"({"b":1,"a":[true,null],"b":{}})",
         "{\n    \"b\": 1,\n    \"a\": [\n        true,\n        null\n    ],\n    \"b\": {}\n}\n", "", 0, 0},
        {"numbers and escapes as written", Kind::Json,
         " [12345678901234567890, 1.0e+5,-0.5E-3,\"a\\u00e9\\n\\/\\\"\",[]]",
         "[\n    12345678901234567890,\n    1.0e+5,\n    -0.5E-3,\n    \"a\\u00e9\\n\\/\\\"\",\n    []\n]\n", "", 0, 0},
        {"a scalar, non-ASCII", Kind::Json, QString::fromUtf8("\"ü 中\"\n"), QString::fromUtf8("\"ü 中\"\n"), "", 0, 0},
        {"missing comma", Kind::Json, R"({"a":1 "b":2})", {}, "separator", 1, 8},
        {"missing colon", Kind::Json, "{\n  \"a\": 1,\n  \"b\" 2\n}", {}, "name separator", 3, 7},
        {"unterminated", Kind::Json, "[1,2", {}, "unterminated array", 1, 5},
        {"trailing garbage", Kind::Json, "[1]]", {}, "garbage", 1, 4},
        {"bad literal", Kind::Json, QString::fromUtf8("[\"é\",tru]"), {}, "illegal value", 1, 6, 6},
        {"leading zero", Kind::Json, "[01]", {}, "separator", 1, 3},
        {"bad number", Kind::Json, "[1.]", {}, "illegal number", 1, 4},
        {"comma before close", Kind::Json, R"({"a":1,})", {}, "name", 1, 8},
        {"control character", Kind::Json, "[\"a\tb\"]", {}, "control character", 1, 4},
        {"bad escape", Kind::Json, R"(["\x"])", {}, "escape", 1, 3},
        {"empty", Kind::Json, "  ", {}, "empty", 1, 3},
        {"depth bound", Kind::Json, Nested("[", "]", 101), {}, "deeper than 100", 1, 101, -1, 100},
        {"a million levels", Kind::Json, Nested("[", "]", 1000000), {}, "longer than", 1, 0},
        {"attributes, text and references as written", Kind::Xml,
         "<a><b  y = '2'\n x=\"&lt;&#x4e2d;\">t &amp; &e;</b><c/><d>  </d></a>",
         "<a>\n    <b y='2' x=\"&lt;&#x4e2d;\">t &amp; &e;</b>\n    <c/>\n    <d></d>\n</a>\n", "", 0, 0},
        {"prolog, comments, CDATA, PIs kept", Kind::Xml,
         "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY e \"x>y\"><!-- ] -->]><!--c--><r><?p d?>"
         "\n  text <i>x</i> more\n<![CDATA[<x>]]></r>",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE r [<!ENTITY e \"x>y\"><!-- ] -->]>\n<!--c-->\n<r>\n    <?p d?>\n"
         "    text\n    <i>x</i>\n    more\n    <![CDATA[<x>]]>\n</r>\n",
         "", 0, 0},
        {"mismatched tag", Kind::Xml, "<a>\n<b></c>\n</a>", {}, "mismatch", 2, 6},
        {"not XML", Kind::Xml, "hello", {}, "start tag", 1, 1},
        {"empty XML", Kind::Xml, "", {}, "start tag", 1, 1},
        {"unclosed", Kind::Xml, "<a>", {}, "premature end", 1, 4},
        {"repeated attribute", Kind::Xml, "<a x='1' x='2'/>", {}, "redefined", 1, 10},
        {"bad reference", Kind::Xml, "<a>&b c;</a>", {}, "reference", 1, 4},
        {"two roots", Kind::Xml, "<a/><b/>", {}, "extra content", 1, 5},
        {"late declaration", Kind::Xml, " <?xml version=\"1.0\"?><a/>", {}, "declaration", 1, 2},
        {"XML depth bound", Kind::Xml, Nested("<a>", "</a>", 11), {}, "deeper than 10", 1, 31, -1, 10},
        {"a million XML levels", Kind::Xml, Nested("<a>", "</a>", 1000000), {}, "longer than", 1, 0},
    };
    for (const auto& c : cases) {
        const codeformat::Result r = Format(c.kind, c.input, {c.maxDepth, 0});
        EXPECT_EQ(r.ok, !c.text.isEmpty()) << c.name << ": " << r.reason.toStdString();
        EXPECT_EQ(r.text.toStdString(), c.text.toStdString()) << c.name;
        if (c.text.isEmpty()) {
            EXPECT_TRUE(r.reason.contains(QLatin1String(c.reason))) << c.name << ": " << r.reason.toStdString();
            EXPECT_EQ(r.line, c.line) << c.name;
            EXPECT_TRUE(c.column == 0 || r.column == c.column) << c.name << ": " << r.column;
            EXPECT_TRUE(c.utf8Offset < 0 || r.utf8Offset == c.utf8Offset) << c.name << ": " << r.utf8Offset;
        }
    }
}

// Entities are copied, never expanded: a 100,000-character entity used 5,000 times stays small.
TEST(CodeFormat, EntitiesAreNotExpanded)
{
    const QString bomb = "<!DOCTYPE b [<!ENTITY e \"" + QString(100000, 'x') + "\">]><b>" +
                         QString("<i>&e;</i>").repeated(5000) + "</b>";
    const codeformat::Result r = codeformat::FormatXml(bomb);
    ASSERT_TRUE(r.ok) << r.reason.toStdString();
    EXPECT_LT(r.text.size(), 2 * bomb.size());
}

// A set flag stops the work; a file is read whole in its codec; hostile inputs the fuzzer kept end.
TEST(CodeFormat, CancelFileAndFuzzFindings)
{
    const std::atomic_bool cancelled{true};
    EXPECT_FALSE(codeformat::FormatJson(QString("[1,").repeated(100000) + "1]", &cancelled).ok);

    QTemporaryDir dir;
    QTextCodec* utf16 = QTextCodec::codecForName("UTF-16");
    const QString path = WriteFile(dir.filePath("a.json"), utf16->fromUnicode(QString::fromUtf8("{\"é\":[]}")));
    const codeformat::Result r = codeformat::FormatFile(path, utf16, Kind::Json, nullptr);
    EXPECT_EQ(r.text, QString::fromUtf8("{\n    \"é\": []\n}\n"));
    EXPECT_FALSE(codeformat::FormatFile(dir.filePath("none"), utf16, Kind::Xml, nullptr).ok);

    for (const auto& [name, bytes] : FuzzFindings("codeformat")) {
        for (const Kind kind : {Kind::Json, Kind::Xml}) {
            const codeformat::Result out = Format(kind, QString::fromUtf8(bytes));
            EXPECT_TRUE(out.ok || !out.reason.isEmpty()) << name.toStdString();
        }
    }
}
