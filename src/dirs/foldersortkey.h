#pragma once

#include <QCollator>
#include <QCollatorSortKey>
#include <QString>

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
