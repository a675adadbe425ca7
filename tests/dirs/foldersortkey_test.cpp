// The order a folder's entries are shown in, as a user expects it: folders first, numbers by
// value, case aside, accented and other scripts' letters where the locale puts them.
#include "dirs/foldersortkey.h"
#include "dirs/gallopmerge.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <numeric>
#include <random>

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

// A batch of rows merged into the shown ones lands where a stable merge puts it, equal keys
// (here only a few distinct ones) keeping the shown rows first.
TEST(FolderSortKeyTest, RowsMergeAsAStableMergeDoes)
{
    const struct {
        int shown, added, distinctKeys;
    } cases[] = {{0, 5, 100},        {5, 0, 100},     {1, 1, 3},     {1000, 40, 100000},
                 {40, 1000, 100000}, {3000, 3000, 7}, {500, 500, 1}, {2000, 10, 100000}};
    std::mt19937 random(7);
    for (const auto& c : cases) {
        std::vector<int> keys(c.shown + c.added);
        for (int& key : keys)
            key = static_cast<int>(random() % c.distinctKeys);
        const auto less = [&keys](int a, int b) { return keys[a] < keys[b]; };
        std::vector<int> order(keys.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.begin() + c.shown, less);
        std::stable_sort(order.begin() + c.shown, order.end(), less);
        std::vector<int> expected = order;
        std::inplace_merge(expected.begin(), expected.begin() + c.shown, expected.end(), less);
        GallopMerge(order, c.shown, less);
        EXPECT_EQ(order, expected) << c.shown << " shown, " << c.added << " added";
    }
}

} // namespace
