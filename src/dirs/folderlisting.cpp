#include "dirs/folderlisting.h"

#include <QCollator>
#include <QFile>

#include <algorithm>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr int kEntriesBetweenStopChecks = 1024;

// One stat per item, relative to the open folder: QFileInfo asked twice, each time walking
// the whole path.
bool ReadEntry(int folder, const char* name, FolderEntry& entry)
{
    struct stat st;
    if (fstatat(folder, name, &st, 0) != 0 && fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    entry.name = QFile::decodeName(name);
    entry.isDir = S_ISDIR(st.st_mode);
    entry.size = entry.isDir ? 0 : qint64(st.st_size);
    // In UTC: a local time looks the zone up, three more stats of /etc/localtime an item.
    entry.modified =
        QDateTime::fromMSecsSinceEpoch(qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000, Qt::UTC);
    return true;
}

} // namespace

void SortFolderEntries(QVector<FolderEntry>& entries)
{
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // A key per name up front: comparing names converts both each time. The POSIX collator's
    // keys keep the case.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(entries.size()));
    std::vector<int> order(size_t(entries.size()));
    for (int i = 0; i < entries.size(); ++i) {
        keys.push_back(collator.sortKey(entries.at(i).name.toLower()));
        order[size_t(i)] = i;
    }
    std::sort(order.begin(), order.end(), [&entries, &keys](int a, int b) {
        const FolderEntry& left = entries.at(a);
        const FolderEntry& right = entries.at(b);
        if (left.isDir != right.isDir)
            return left.isDir;
        const int byKey = keys[size_t(a)].compare(keys[size_t(b)]);
        return byKey != 0 ? byKey < 0 : left.name < right.name;
    });
    QVector<FolderEntry> sorted;
    sorted.reserve(entries.size());
    for (const int i : order)
        sorted.append(std::move(entries[i]));
    entries = std::move(sorted);
}

QVector<FolderEntry> ListFolder(const QString& path, const std::function<bool()>& stopped)
{
    QVector<FolderEntry> entries;
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(opendir(QFile::encodeName(path).constData()), closedir);
    if (!folder)
        return entries;
    while (const dirent* item = readdir(folder.get())) {
        if (stopped && entries.size() % kEntriesBetweenStopChecks == 0 && stopped())
            return {};
        const char* name = item->d_name;
        if (qstrcmp(name, ".") == 0 || qstrcmp(name, "..") == 0)
            continue;
        FolderEntry entry;
        if (ReadEntry(dirfd(folder.get()), name, entry))
            entries.append(std::move(entry));
    }
    if (stopped && stopped())
        return {};
    SortFolderEntries(entries);
    return entries;
}
