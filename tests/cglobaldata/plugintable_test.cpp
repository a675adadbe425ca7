#include "cglobaldata/plugintable.h"

#include <QFile>
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
