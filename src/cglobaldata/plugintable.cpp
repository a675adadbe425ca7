#include "cglobaldata/plugintable.h"

#include <QDebug>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

// Far beyond any hand-made table; a larger file is not a plug-in table.
constexpr qint64 kMaxTableBytes = 4 * 1024 * 1024;

QStringList SplitWords(const QJsonValue& value)
{
    return value.toString().split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

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
        if (cells.size() != 3)
            continue;
        records.append({cells.at(0).toString(), SplitWords(cells.at(1)), SplitWords(cells.at(2))});
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
