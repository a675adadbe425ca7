#include "cglobaldata/plugintable.h"
#include "../writefile.h"

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
    auto file = [&](const QString& name, const QByteArray& content) { return WriteFile(tmp.filePath(name), content); };
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
        {"short row skipped, empty command", ParsePluginTable(R"([["A","x y",""],["B","b"],["C","c","d","e"]])"),
         "A|x,y|"},
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

TEST(PluginTable, WrittenTableReadsBackAndReplacesTheOldOne)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath("plugins.settings");
    const QList<PluginRow> rows = {
        {"Tif", "tif   tiff", "convert -q"},
        {QString::fromUtf8("Übersicht_转换"), QString::fromUtf8("ü   漢"), QString::fromUtf8("工具 ärg")},
        {"Short"}, // missing cells are written empty, so the row is not lost
    };
    ASSERT_TRUE(WritePluginTable(path, rows));
    EXPECT_EQ(Dump(ReadPluginTable(path)),
              QString::fromUtf8("Tif|tif,tiff|convert,-q ; Übersicht_转换|ü,漢|工具,ärg ; Short||").toStdString());
    ASSERT_TRUE(WritePluginTable(path, {{"B", "b", "run"}}));
    EXPECT_EQ(Dump(ReadPluginTable(path)), "B|b|run");

    for (const QString& bad : {tmp.filePath("missing/plugins.settings"), tmp.path()})
        EXPECT_FALSE(WritePluginTable(bad, rows)) << bad.toStdString();
}

TEST(PluginTable, PluginForFindsTheFirstRunnableOwnerOfASuffix)
{
    const QList<PluginRecord> plugins = {
        {"NoCommand", {"foo"}, {}}, {"First", {"foo", "Bar"}, {"a"}}, {"Second", {"foo", "baz"}, {"b"}}};
    const struct {
        const char* suffix;
        const char* owner;
    } cases[] = {{"foo", "First"}, {"FOO", "First"}, {"bar", "First"}, {"baz", "Second"}, {"qux", "-"}, {"", "-"}};
    for (const auto& c : cases) {
        const PluginRecord* found = PluginFor(plugins, c.suffix);
        EXPECT_EQ(found ? found->name.toStdString() : "-", c.owner) << c.suffix;
    }
}
