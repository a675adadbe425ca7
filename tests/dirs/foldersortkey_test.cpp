// The order a folder's entries are shown in, as a user expects it: folders first, numbers by
// value, case aside, accented and other scripts' letters where the locale puts them.
#include "dirs/foldersortkey.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

TEST(FolderSortKeyTest, EntriesSortAsAUserExpects)
{
    const QCollator collator = FolderCollator(QLocale(QLocale::English, QLocale::UnitedStates));
    // Each row in the expected order; a leading "/" marks a folder.
    const QStringList cases[] = {
        {"file1.txt", "file2.txt", "file9.txt", "file10.txt", "file100.txt"},
        {"v1.2.txt", "v1.10.txt", "v2.txt"},
        {"apple", "Banana", "cherry", "DATE"},
        {"A", "a", "B"},
        {"/Alpha2", "/alpha10", "/zeta", "alpha", "beta"},
        {"/docs", "/Pictures", "1.txt", "README", "zz"},
        {"ångström", "banana", "dog", "Éclair", "eclairs", "fig", "zebra", "яблоко"},
        {"photo 2.jpg", "photo 10.jpg", "photo10b.jpg", "photo11.jpg"},
        {"_under", ".hidden", "0start", "plain"},
    };
    for (const QStringList& expected : cases) {
        std::vector<FolderSortKey> keys;
        for (int i = expected.size() - 1; i >= 0; --i) {
            const bool folder = expected.at(i).startsWith(QLatin1Char('/'));
            keys.push_back(MakeFolderSortKey(collator, folder, folder ? expected.at(i).mid(1) : expected.at(i)));
        }
        std::sort(keys.begin(), keys.end(), FolderSortLess);
        QStringList sorted;
        for (const FolderSortKey& key : keys)
            sorted.append(key.folder ? QLatin1Char('/') + key.name : key.name);
        EXPECT_EQ(sorted.join(QLatin1Char(' ')).toStdString(), expected.join(QLatin1Char(' ')).toStdString());
    }
}

} // namespace
