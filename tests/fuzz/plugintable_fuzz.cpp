// Any "plugins.settings": rows of the wrong shape are dropped, never a crash; what is kept
// writes back to a table that reads the same.
#include "cglobaldata/plugintable.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<PluginRecord> records = ParsePluginTable(QByteArray(reinterpret_cast<const char*>(data), int(size)));
    QList<PluginRow> rows;
    for (const PluginRecord& r : records)
        rows << PluginRowOf(r);
    const QList<PluginRecord> again = ParsePluginTable(FormatPluginTable(rows));
    if (again.size() != records.size())
        abort();
    for (int i = 0; i < records.size(); ++i) {
        if (again[i].name != records[i].name || again[i].suffixes != records[i].suffixes ||
            again[i].command != records[i].command)
            abort();
    }
    return 0;
}
