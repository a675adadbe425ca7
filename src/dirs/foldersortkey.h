#pragma once

#include <QCollator>
#include <QCollatorSortKey>
#include <QString>
#include <QStringList>

#include <vector>

// Where a folder's entry goes: folders before files, then names in natural order (numbers by
// value), case aside, as the locale orders letters. Made once per entry, so that sorting a big
// folder compares bytes instead of collating names again and again.
struct FolderSortKey {
    bool folder;
    QCollatorSortKey collated;
    QString name; // orders names the collator finds equal, such as "a" and "A"
};

QCollator FolderCollator(const QLocale& locale);
FolderSortKey MakeFolderSortKey(const QCollator& collator, bool folder, const QString& name);
bool FolderSortLess(const FolderSortKey& a, const FolderSortKey& b);

// The keys of a batch of entries and the batch's folder order, made on a thread of its own: a
// collator of its own, as one is not to be shared between threads.
struct SortedBatch {
    std::vector<FolderSortKey> keys; // by position in the batch
    std::vector<int> order;          // positions in the batch, in folder order
};
SortedBatch SortBatch(const QLocale& locale, const QStringList& names, const std::vector<bool>& folders);
