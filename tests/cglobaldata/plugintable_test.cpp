#include "cglobaldata/plugintable.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

std::string Dump(const QList<PluginRecord>& records)
{
    QStringList rows;
    for (const PluginRecord& r : records)
        rows << QString("%1|%2|%3").arg(r.name, r.suffixes.join(','), r.command.join(','));
    return rows.join(" ; ").toStdString();
}

} // namespace

TEST(PluginTable, ParseAndRead)
{
    QTemporaryDir tmp;
    auto file = [&](const QString& name, const QByteArray& content) {
        QFile f(tmp.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return f.fileName();
    };
    // A valid table whose first row would still count if the size limit were not applied.
    QByteArray huge = R"([["Big","x","y"])";
    huge += QByteArray(4 * 1024 * 1024, ' ') + "]";

    const struct {
        const char* what;
        QList<PluginRecord> records;
        const char* expected;
    } cases[] = {
        {"two rows", ParsePluginTable(R"([["Tif","tif tiff","viewer -q"],["B","b","run"]])"),
         "Tif|tif,tiff|viewer,-q ; B|b|run"},
        {"short row skipped, empty command",
         ParsePluginTable(R"([["A","x y",""],["B","b"],["C","c","d","e"]])"), "A|x,y|"},
        {"runs of blanks", ParsePluginTable(R"([["A","  x   y ","p  -a   -b"]])"), "A|x,y|p,-a,-b"},
        {"not strings", ParsePluginTable(R"([[1,2,3],"row",null,[]])"), "||"},
        {"object", ParsePluginTable(R"({"a":["A","x","y"]})"), ""},
        {"empty", ParsePluginTable(""), ""},
        {"broken", ParsePluginTable(R"([["A","x","y"])"), ""},
        {"deep nesting", ParsePluginTable(QByteArray(100000, '[')), ""},
        {"file", ReadPluginTable(file("ok", R"([["A","x","y z"]])")), "A|x|y,z"},
        {"empty file", ReadPluginTable(file("empty", "")), ""},
        {"huge file", ReadPluginTable(file("huge", huge)), ""},
        {"missing file", ReadPluginTable(tmp.filePath("missing")), ""},
        {"a folder", ReadPluginTable(tmp.path()), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Dump(c.records), c.expected) << c.what;
}

TEST(PluginTable, WriterLaysOutIndentedRowsOfThreeCells)
{
    EXPECT_EQ(FormatPluginTable({{"A", "x   y", "p -a"}}).toStdString(),
              "[\n    [\n        \"A\",\n        \"x   y\",\n        \"p -a\"\n    ]\n]\n");
    EXPECT_EQ(FormatPluginTable({{"short"}}).toStdString(), "[\n    [\n        \"short\",\n        \"\",\n        \"\"\n    ]\n]\n");
    EXPECT_EQ(ParsePluginTable(FormatPluginTable({})).size(), 0);
}

TEST(PluginTable, WrittenTableReadsBackAsTheSameRecords)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath("plugins.settings");
    const QList<PluginRow> rows = {
        {"Tif", "tif   tiff", "convert -q"},
        {QString::fromUtf8("Übersicht_转换"), QString::fromUtf8("ü   漢"), QString::fromUtf8("工具 ärg")},
        {"Empty", "", ""},
    };
    ASSERT_TRUE(WritePluginTable(path, rows));
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains(QString::fromUtf8("Übersicht_转换").toUtf8())); // UTF-8, not escapes
    EXPECT_EQ(Dump(ReadPluginTable(path)), Dump(PluginRecordsFromRows(rows)));
    EXPECT_EQ(Dump(ReadPluginTable(path)),
              QString::fromUtf8("Tif|tif,tiff|convert,-q ; Übersicht_转换|ü,漢|工具,ärg ; Empty||").toStdString());

    // A shorter table replaces the longer one completely.
    ASSERT_TRUE(WritePluginTable(path, {{"B", "b", "run"}}));
    EXPECT_EQ(Dump(ReadPluginTable(path)), "B|b|run");
    ASSERT_TRUE(WritePluginTable(path, {}));
    EXPECT_EQ(Dump(ReadPluginTable(path)), "");
}

TEST(PluginTable, WriterReportsAFileItCannotOpen)
{
    QTemporaryDir tmp;
    const struct {
        const char* what;
        QString path;
    } cases[] = {
        {"missing folder", tmp.filePath("missing/plugins.settings")},
        {"a folder", tmp.path()},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(WritePluginTable(c.path, {{"A", "x", "y"}})) << c.what;
        EXPECT_FALSE(QFileInfo(c.path).isFile()) << c.what;
    }
}

TEST(PluginTable, PluginForFindsTheFirstRunnableOwnerOfASuffix)
{
    const QList<PluginRecord> plugins = {
        {"NoCommand", {"foo"}, {}},
        {"First", {"foo", "Bar"}, {"a"}},
        {"Second", {"foo", "baz"}, {"b"}},
    };
    const struct {
        const char* suffix;
        const char* owner; // nullptr: none
    } cases[] = {
        {"foo", "First"}, {"FOO", "First"}, {"bar", "First"}, {"baz", "Second"},
        {"qux", nullptr}, {"", nullptr},    {"fo", nullptr},
    };
    for (const auto& c : cases) {
        const PluginRecord* found = PluginFor(plugins, c.suffix);
        EXPECT_EQ(found ? found->name.toStdString() : std::string("-"), c.owner ? c.owner : "-") << c.suffix;
    }
    EXPECT_EQ(PluginFor({}, "foo"), nullptr);
}
