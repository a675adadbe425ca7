#include "dirs/listingtree.h"

#include <QDir>
#include <QHash>
#include <QStringView>

namespace {

constexpr int kEntriesBetweenStopChecks = 4096;

class TreeBuilder
{
public:
    explicit TreeBuilder(int entries)
    {
        m_tree.nodes.reserve(entries);
        m_items.reserve(entries);
    }

    void Add(const ComData& record)
    {
        const QStringView name(record.name);
        // Walked up without recursion: a name of a few thousand separators nests that deep.
        m_missing.clear();
        int parent = -1;
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

    ListingTree Take() { return std::move(m_tree); }

private:
    // The keys are views into the caller's names, which outlive the build; a made-up folder's
    // path is a prefix of the entry that revealed it.
    int Place(QStringView path, const ComData& record, int parent)
    {
        const int index = m_tree.nodes.size();
        ListingNode node;
        node.record = record;
        node.parent = parent;
        QVector<int>& siblings = parent < 0 ? m_tree.top : m_tree.nodes[parent].children;
        node.row = siblings.size();
        siblings.append(index);
        node.record.name = (parent < 0 ? path : path.mid(path.lastIndexOf(m_separator) + 1)).toString();
        m_tree.nodes.append(std::move(node));
        // A later duplicate takes over, so what follows nests under the last one listed.
        m_items.insert(path, index);
        return index;
    }

    const QChar m_separator = QDir::separator();
    ListingTree m_tree;
    QHash<QStringView, int> m_items;
    QVector<qsizetype> m_missing;
};

} // namespace

ListingTree BuildListingTree(const Databox& sorted, const std::function<bool()>& stopped)
{
    TreeBuilder builder(sorted.size());
    for (int i = 0; i < sorted.size(); ++i) {
        if (stopped && i % kEntriesBetweenStopChecks == 0 && stopped())
            return ListingTree();
        builder.Add(sorted.at(i));
    }
    return builder.Take();
}
