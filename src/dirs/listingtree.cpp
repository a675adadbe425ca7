#include "dirs/listingtree.h"

#include "platform/byteformat.h"

#include <QDir>
#include <QHash>
#include <QStandardItem>
#include <QStringView>
#include <QVector>

namespace {

class TreeBuilder
{
public:
    explicit TreeBuilder(int entries) { m_items.reserve(entries); }
    void Add(const ComData& record)
    {
        const QStringView name(record.name);
        // Walked up without recursion: a name of a few thousand separators nests that deep.
        m_missing.clear();
        QStandardItem* parent = nullptr;
        for (qsizetype cut = name.lastIndexOf(m_separator); cut >= 0;) {
            const QStringView path = name.left(cut);
            const auto found = m_items.constFind(path);
            if (found != m_items.constEnd()) {
                parent = found.value();
                break;
            }
            m_missing.append(cut);
            cut = path.lastIndexOf(m_separator);
        }
        // Missing ancestors, outermost first, each dated as the entry that revealed it.
        ComData folder;
        folder.time = record.time;
        folder.isDir = true;
        for (int i = m_missing.size() - 1; i >= 0; --i)
            parent = Place(name.left(m_missing[i]), folder, parent);
        Place(name, record, parent);
    }

    ListingRows TakeRows()
    {
        ListingRows rows;
        rows.reserve(m_topItems.size());
        for (int i = 0; i < m_topItems.size(); ++i)
            rows.append(QList<QStandardItem*>{m_topItems[i]} + DetailCells(m_topRecords[i]));
        m_topItems.clear();
        return rows;
    }

    ~TreeBuilder() { qDeleteAll(m_topItems); }

private:
    // Size, packed, ratio and time; a folder shows only its time. Big listings share a handful
    // of times, and formatting one is the slow part.
    QList<QStandardItem*> DetailCells(const ComData& record)
    {
        if (record.time != m_lastTime || m_lastTimeText.isNull()) {
            m_lastTime = record.time;
            m_lastTimeText = record.time.toString(QStringLiteral("yy/MM/dd hh:mm"));
        }
        const bool folder = record.isDir;
        return {new QStandardItem(folder ? QString() : FormatByteSize(qint64(record.size))),
                new QStandardItem(folder ? QString() : FormatByteSize(qint64(record.packed))),
                new QStandardItem(folder ? QString() : record.ratio), new QStandardItem(m_lastTimeText)};
    }

    // The keys are views into the caller's names, which outlive the build; a made-up folder's
    // path is a prefix of the entry that revealed it.
    QStandardItem* Place(QStringView path, const ComData& record, QStandardItem* parent)
    {
        QStandardItem* item;
        if (!parent) {
            item = new QStandardItem(path.toString());
            m_topItems.append(item);
            m_topRecords.append(record);
            m_topRecords.last().name = item->text();
        } else {
            item = new QStandardItem(path.mid(path.lastIndexOf(m_separator) + 1).toString());
            parent->appendRow(QList<QStandardItem*>{item} + DetailCells(record));
        }
        // A later duplicate takes over, so what follows nests under the last one listed.
        m_items.insert(path, item);
        return item;
    }

    const QChar m_separator = QDir::separator();
    QHash<QStringView, QStandardItem*> m_items;
    QList<QStandardItem*> m_topItems;
    QList<ComData> m_topRecords;
    QVector<qsizetype> m_missing;
    QDateTime m_lastTime;
    QString m_lastTimeText;
};

} // namespace

ListingRows BuildListingRows(const Databox& sorted, const std::function<bool()>& stopped)
{
    TreeBuilder builder(sorted.size());
    for (int i = 0; i < sorted.size(); ++i) {
        if (stopped && i % 1024 == 0 && stopped())
            return {};
        builder.Add(sorted.at(i));
    }
    return builder.TakeRows();
}
