#include "cglobaldata/plugintable.h"

#include <QDebug>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

// Far beyond any hand-made table; a larger file is not a plug-in table.
constexpr qint64 kMaxTableBytes = 4 * 1024 * 1024;
constexpr int kCells = 3;

QStringList SplitWords(const QString& text) { return text.split(QLatin1Char(' '), Qt::SkipEmptyParts); }

} // namespace

PluginRecord PluginRecordFromRow(const PluginRow& row)
{
    return {row.value(0), SplitWords(row.value(1)), SplitWords(row.value(2))};
}

QList<PluginRecord> PluginRecordsFromRows(const QList<PluginRow>& rows)
{
    QList<PluginRecord> records;
    for (const PluginRow& row : rows)
        records.append(PluginRecordFromRow(row));
    return records;
}

QList<PluginRecord> ParsePluginTable(const QByteArray& json)
{
    QList<PluginRecord> records;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (doc.isNull()) {
        if (!json.isEmpty())
            qDebug() << "plugins.settings:" << error.errorString() << "at offset" << error.offset;
        return records;
    }
    const QJsonArray rows = doc.array();
    for (const QJsonValue& row : rows) {
        const QJsonArray cells = row.toArray();
        if (cells.size() != kCells)
            continue;
        records.append(PluginRecordFromRow({cells.at(0).toString(), cells.at(1).toString(), cells.at(2).toString()}));
    }
    return records;
}

QList<PluginRecord> ReadPluginTable(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << file.errorString();
        return {};
    }
    if (file.size() > kMaxTableBytes) {
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << path << "is too large:" << file.size() << "bytes";
        return {};
    }
    return ParsePluginTable(file.read(kMaxTableBytes));
}

QByteArray FormatPluginTable(const QList<PluginRow>& rows)
{
    QJsonArray table;
    for (const PluginRow& row : rows) {
        QJsonArray cells;
        for (int i = 0; i < kCells; ++i)
            cells.append(row.value(i));
        table.append(cells);
    }
    return QJsonDocument(table).toJson(QJsonDocument::Indented);
}

bool WritePluginTable(const QString& path, const QList<PluginRow>& rows)
{
    const QByteArray json = FormatPluginTable(rows); // UTF-8, which the reader expects
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << path << file.errorString();
        return false;
    }
    return file.write(json) == json.size() && file.flush();
}

const PluginRecord* PluginFor(const QList<PluginRecord>& plugins, const QString& suffix)
{
    if (suffix.isEmpty())
        return nullptr;
    for (const PluginRecord& plugin : plugins) {
        // A row without a program cannot run; the file is better shown by its own viewer.
        if (!plugin.command.isEmpty() && plugin.suffixes.contains(suffix, Qt::CaseInsensitive))
            return &plugin;
    }
    return nullptr;
}

PluginRow PluginRowOf(const PluginRecord& plugin)
{
    return {plugin.name, plugin.suffixes.join(QStringLiteral("   ")), plugin.command.join(QLatin1Char(' '))};
}
