#include "dirs/foldersortkey.h"

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
