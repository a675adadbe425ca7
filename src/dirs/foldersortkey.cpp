#include "dirs/foldersortkey.h"

#include <algorithm>
#include <numeric>

// Qt collates the C locale by code points: "B" before "a", "10" before "9".
QCollator FolderCollator(const QLocale& locale)
{
    QCollator collator(locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

FolderSortKey MakeFolderSortKey(const QCollator& collator, bool folder, const QString& name)
{
    return {folder, collator.sortKey(name), name};
}

bool FolderSortLess(const FolderSortKey& a, const FolderSortKey& b)
{
    if (a.folder != b.folder)
        return a.folder;
    const int collated = a.collated.compare(b.collated);
    return collated != 0 ? collated < 0 : a.name < b.name;
}

SortedBatch SortBatch(const QLocale& locale, const QStringList& names, const std::vector<bool>& folders)
{
    const QCollator collator = FolderCollator(locale);
    SortedBatch batch;
    batch.keys.reserve(names.size());
    for (int i = 0; i < names.size(); ++i)
        batch.keys.push_back(MakeFolderSortKey(collator, folders[i], names.at(i)));
    batch.order.resize(batch.keys.size());
    std::iota(batch.order.begin(), batch.order.end(), 0);
    std::sort(batch.order.begin(), batch.order.end(),
              [&batch](int a, int b) { return FolderSortLess(batch.keys[a], batch.keys[b]); });
    return batch;
}
