#include "code/codeformat.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>

using codeformat::FormatJson;
using codeformat::FormatXml;

TEST(CodeFormat, JsonIsIndentedOrReportsWhereItBroke)
{
    struct Case {
        const char* name;
        QByteArray input;
        bool ok;
        QString text; // when ok
        int offset;   // when not: where Qt's parser stopped
    };
    const Case cases[] = {
        {"object", R"({"a":1,"b":[true,null]})", true,
         "{\n    \"a\": 1,\n    \"b\": [\n        true,\n        null\n    ]\n}\n", -1},
        {"non-ASCII kept", "{\"n\":\"\xc3\xbc \xe4\xb8\xad\"}", true, QString::fromUtf8("{\n    \"n\": \"ü 中\"\n}\n"), -1},
        {"missing comma", R"({"a":1 "b":2})", false, {}, 8},
        {"unterminated", R"({"a":[1,2)", false, {}, 9},
        {"empty", "", false, {}, 0},
        {"NUL bytes", QByteArray("{\"a\":\0}", 7), false, {}, 5},
        {"binary", QByteArray("\xff\xfe\x00\x01garbage", 11), false, {}, 1},
    };
    for (const Case& c : cases) {
        const codeformat::Result r = FormatJson(c.input);
        EXPECT_EQ(r.ok, c.ok) << c.name;
        if (c.ok) {
            EXPECT_EQ(r.text.toStdString(), c.text.toStdString()) << c.name;
        } else {
            EXPECT_FALSE(r.reason.isEmpty()) << c.name;
            EXPECT_EQ(r.offset, c.offset) << c.name;
            EXPECT_EQ(r.line, -1) << c.name;
        }
    }
}

TEST(CodeFormat, XmlIsIndentedByFourOrReportsLineAndColumn)
{
    struct Case {
        const char* name;
        QByteArray input;
        bool ok;
        QString text; // when ok
        int line, column;
    };
    const Case cases[] = {
        {"nested", "<a><b x=\"1\">t</b><c/></a>", true, "<a>\n    <b x=\"1\">t</b>\n    <c/>\n</a>\n", -1, -1},
        {"declaration kept", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r><s>\xc3\xbc</s></r>", true,
         QString::fromUtf8("<?xml version='1.0' encoding='UTF-8'?>\n<r>\n    <s>ü</s>\n</r>\n"), -1, -1},
        {"mismatched tag", "<a>\n<b></c>\n</a>", false, {}, 2, 7},
        {"not XML", "hello", false, {}, 1, 1},
        {"empty", "", false, {}, -1, -1},
    };
    for (const Case& c : cases) {
        const codeformat::Result r = FormatXml(c.input);
        EXPECT_EQ(r.ok, c.ok) << c.name << " " << r.reason.toStdString();
        if (c.ok) {
            EXPECT_EQ(r.text.toStdString(), c.text.toStdString()) << c.name;
            continue;
        }
        EXPECT_FALSE(r.reason.isEmpty()) << c.name;
        if (c.line >= 0) {
            EXPECT_EQ(r.line, c.line) << c.name;
            EXPECT_EQ(r.column, c.column) << c.name;
        }
    }
}

TEST(CodeFormat, ErrorTextNamesReasonLineAndColumn)
{
    EXPECT_EQ(codeformat::ErrorText("unexpected end", 3, 14),
              "Format failed.\n\nReason: unexpected end\nLine: 3\tColumn: 14");
}

// Entity bombs and every input the fuzzer ever stopped on end with a result, not a hang or crash.
TEST(CodeFormat, HostileInputEnds)
{
    QByteArray bomb = "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY l0 \"lol\">";
    for (int i = 1; i < 10; ++i)
        bomb += QString("<!ENTITY l%1 \"&l%2;&l%2;&l%2;&l%2;&l%2;&l%2;&l%2;&l%2;&l%2;&l%2;\">").arg(i).arg(i - 1).toUtf8();
    bomb += "]><l>&l9;</l>";
    QList<QByteArray> inputs = {bomb, QByteArray(100000, '['), QByteArray(100000, '<')};
    const QDir dir(QStringLiteral(VUEL_SOURCE_DIR "/tests/fuzz/regressions/codeformat"));
    for (const QFileInfo& f : dir.entryInfoList(QDir::Files)) {
        QFile file(f.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << f.filePath().toStdString();
        inputs << file.readAll();
    }
    for (const QByteArray& input : inputs) {
        const codeformat::Result json = FormatJson(input), xml = FormatXml(input);
        EXPECT_TRUE(json.ok || !json.reason.isEmpty());
        EXPECT_TRUE(xml.ok || !xml.reason.isEmpty());
        EXPECT_LT(xml.text.size(), 10 * 1000 * 1000) << "entities expanded without bound";
    }
}
