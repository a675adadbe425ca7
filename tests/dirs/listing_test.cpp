// The listing's parsers on what 7za and unrar print, and the tree built from their entries.
#include "dirs/comdata.h"
#include "dirs/cstandarditemmodel.h"
#include "dirs/listingparser.h"
#include "dirs/listingtree.h"

#include "../samples.h"

#include <gtest/gtest.h>

namespace {

const QDateTime kListed(QDate(2026, 12, 7), QTime(6, 15, 5));

const char kZipHead[] = "   Date      Time    Attr         Size   Compressed  Name\n"
                        "------------------- ----- ------------ ------------  ------------------------\n";
const char kZipFoot[] = "------------------- ----- ------------ ------------  ------------------------\n"
                        "2026-12-07 06:15:05                  1            1  1 files\n";

// "unrar v" in the layout of unrar 3.x: the name, then the nine fields.
const char kRarHead[] = "\nUNRAR 3.93 freeware      Copyright (c) 1993-2010 Alexander Roshal\n\n"
                        "Archive docs.rar\n\nPathname/Comment\n"
                        "                  Size   Packed Ratio  Date   Time     Attr      CRC   Meth Ver\n"
                        "-------------------------------------------------------------------------------\n";
const char kRarFoot[] = "-------------------------------------------------------------------------------\n"
                        "    2             1204      512  42%\n";

QString ZipOutput(const QString& rows) { return kZipHead + rows + '\n' + kZipFoot; }
QString RarOutput(const QString& rows) { return kRarHead + rows + '\n' + kRarFoot; }

// One row laid out by 7za's column template: 19 + 1 + 5 + 1 + 12 + 1 + 12 + 2, then the name.
QString ZipRow(const QString& stamp, const QString& attr, const QString& size, const QString& packed,
               const QString& name)
{
    return QStringLiteral("%1 %2 %3 %4  %5").arg(stamp, -19).arg(attr, -5).arg(size, 12).arg(packed, 12).arg(name);
}

Databox Entries(std::initializer_list<const char*> names, const QDateTime& time = kListed)
{
    Databox box;
    for (const char* name : names)
        box.append({QString::fromUtf8(name), 1500, 700, QStringLiteral("46.66%"), time, false});
    return box;
}

// Every row as "name|size|packed|ratio|time", indented two blanks a level.
void Dump(const QStandardItemModel& model, const QModelIndex& parent, int depth, QStringList& out)
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        QStringList cells;
        for (int column = 0; column < 5; ++column)
            cells << model.index(row, column, parent).data().toString();
        out << QString(depth * 2, QLatin1Char(' ')) + cells.join(QLatin1Char('|'));
        Dump(model, model.index(row, 0, parent), depth + 1, out);
    }
}

// Sorted and built as the archive viewer does.
void Build(Databox box, CStandardItemModel& model)
{
    SortListing(box);
    model.AppendRows(BuildListingRows(box));
}

QStringList Tree(const Databox& box)
{
    CStandardItemModel model(0, 5);
    Build(box, model);
    QStringList out;
    Dump(model, QModelIndex(), 0, out);
    return out;
}

// The parsed output holds exactly this entry.
void ExpectEntry(const Databox& box, const ComData& expected)
{
    ASSERT_EQ(box.size(), 1);
    EXPECT_EQ(box[0].name, expected.name);
    EXPECT_EQ(box[0].size, expected.size);
    EXPECT_EQ(box[0].packed, expected.packed);
    EXPECT_EQ(box[0].ratio, expected.ratio);
    EXPECT_EQ(box[0].time, expected.time);
    EXPECT_EQ(box[0].isDir, expected.isDir);
}

} // namespace

TEST(ZipListing, Columns)
{
    const QString stamp = QStringLiteral("2026-12-07 06:15:05");
    const struct {
        const char* what;
        QString row, name;
        quint64 size, packed;
        QString ratio;
        bool isDir;
    } cases[] = {
        {"file", ZipRow(stamp, ".....", "8893", "4200", "sub/deep/n.txt"), "sub/deep/n.txt", 8893, 4200, "47.23%",
         false},
        {"folder with a size", ZipRow(stamp, "D....", "4096", "0", "sub"), "sub", 4096, 0, "0.00%", true},
        // 7z solid blocks: only the block's first file carries the packed size.
        {"blank packed", ZipRow(stamp, "....A", "5000", "", "sub/r.bin"), "sub/r.bin", 5000, 0, "0.00%", false},
        {"packed above size", ZipRow(stamp, "....A", "6", "5984", "a.txt"), "a.txt", 6, 5984, "99733.33%", false},
        {"past 4 GiB", ZipRow(stamp, ".....", "5000000000", "0", "./big"), "./big", 5000000000u, 0, "0.00%", false},
        {"not a number", ZipRow(stamp, ".....", "12a", "x", "odd"), "odd", 0, 0, "0%", false},
        {"leading blanks kept", ZipRow(stamp, ".....", "1", "1", "  lead"), "  lead", 1, 1, "100.00%", false},
        {"trailing blanks lost", ZipRow(stamp, ".....", "1", "1", "trail  "), "trail", 1, 1, "100.00%", false},
        {"no name", ZipRow(stamp, ".....", "1", "1", ""), "", 1, 1, "100.00%", false},
        // A member stored without a time (what gzip or xz wraps): the columns stay where they are.
        {"blank date", ZipRow("", ".....", "20480", "4718", "nested.tar"), "nested.tar", 20480, 4718, "23.04%", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QDateTime time = c.row.startsWith(stamp) ? kListed : QDateTime();
        ExpectEntry(ParseZipLine(ZipOutput(c.row)), {c.name, c.size, c.packed, c.ratio, time, c.isDir});
    }
}

TEST(ZipListing, EntryBlock)
{
    const QString row = ZipRow("2026-12-07 06:15:05", ".....", "1", "1", "a.txt");
    const QString sep = QStringLiteral("------------------- ----- ------------ ------------  ------------------------");
    const struct {
        const char* what;
        QString output;
        int entries;
    } cases[] = {
        {"nothing", "", 0},
        {"no separator", row, 0},
        {"an error instead of a listing", "ERROR: t.zip\nCan not open the file as archive\n", 0},
        {"empty archive", ZipOutput(""), 0},
        {"header and summary left out", ZipOutput(row), 1},
        {"blank lines skipped", ZipOutput("\n\n" + row + "\n   \n" + row + "\n"), 2},
        {"cut short before the summary", QString::fromLatin1(kZipHead) + row + "\n" + row.left(30), 2},
        // Only the first separator and the last one count.
        {"a separator line inside the block is an entry", ZipOutput(row + "\n" + sep + "\n" + row), 3},
        {"Windows line ends", ZipOutput(row + "\n" + row).replace("\n", "\r\n"), 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseZipLine(c.output).size(), c.entries) << c.what;
}

TEST(RarListing, Fields)
{
    const struct {
        const char* what;
        QString rows;
        QString name;
        quint64 size, packed;
        QString ratio;
        QDateTime time;
        bool isDir;
    } cases[] = {
        {"file, last year of the century",
         " docs/readme.txt\n                  1204      512  42% 31-12-99 23:59  .....A.   6E1B2C3D m3b 2.9",
         "docs/readme.txt", 1204, 512, "42%", QDateTime(QDate(1999, 12, 31), QTime(23, 59)), false},
        {"folder, two-digit year in the 1900s",
         " docs\n                     0        0   0% 01-01-05 00:00  ...D...   00000000 m0  2.0", "docs", 0, 0, "0%",
         QDateTime(QDate(1905, 1, 1), QTime(0, 0)), true},
        {"Unix attributes are no folder",
         " src\n                     0        0   0% 01-01-05 00:00  drwxr-xr-x 00000000 m0  2.0", "src", 0, 0, "0%",
         QDateTime(QDate(1905, 1, 1), QTime(0, 0)), false},
        {"past 4 GiB", " huger.iso\n 4294967296 12 100% 15-06-10 12:30 .....A. 0BADF00D m0 2.9", "huger.iso",
         4294967296u, 12, "100%", QDateTime(QDate(1910, 6, 15), QTime(12, 30)), false},
        {"spaces in the name, blank lines between",
         " my notes.txt\n\n   \n 10 9 90% 02-03-04 05:06 .....A. 12345678 m3b 2.9", "my notes.txt", 10, 9, "90%",
         QDateTime(QDate(1904, 3, 2), QTime(5, 6)), false},
        {"impossible date", " x\n 1 1 100% 31-02-99 05:06 .....A. 12345678 m3b 2.9", "x", 1, 1, "100%", QDateTime(),
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectEntry(ParseRarLine(RarOutput(c.rows)), {c.name, c.size, c.packed, c.ratio, c.time, c.isDir});
    }
}

TEST(RarListing, DetailsLineThatDoesNotFitDropsEverything)
{
    const QString good = QStringLiteral(" a.txt\n 1 1 100% 01-01-05 00:00 .....A. 12345678 m3b 2.9\n");
    const struct {
        const char* what;
        QString rows;
        int entries;
    } cases[] = {
        {"two good entries", RarOutput(good + good), 2},
        {"eight fields after good ones",
         RarOutput(good + good + " b.txt\n 1 1 100% 01-01-05 00:00 .....A. 12345678 m3b"), 0},
        {"ten fields first", RarOutput(" b.txt\n 1 1 100% 01-01-05 00:00 .....A. 12345678 m3b 2.9 x\n" + good), 0},
        // A name with no details line after it is only dropped itself.
        {"a name left over", RarOutput(good + " c.txt"), 1},
        // Out of step: a name line read as details.
        {"two names in a row", RarOutput(" a.txt\n" + good), 0},
        {"no separator", good, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseRarLine(c.rows).size(), c.entries) << c.what;
}

TEST(ListingTree, Shapes)
{
    Databox withFolder = Entries({"a/b.txt"});
    withFolder.append({"a", 4096, 10, "0.24%", QDateTime(QDate(2020, 1, 2), QTime(3, 4)), true});

    Databox laterTime = Entries({"a/c.txt"}, QDateTime(QDate(2021, 5, 6), QTime(7, 8)));
    laterTime.prepend(Entries({"a/b.txt"})[0]);

    const QString file = QStringLiteral("|1.46 KB|700 bytes|46.66%|26/12/07 06:15");
    const QString folder = QStringLiteral("||||26/12/07 06:15");
    // Built without recursion: a name of a few thousand separators nests that deep.
    const QByteArray deepName = QByteArray("d/").repeated(1999) + "ff";
    QStringList deep;
    for (int level = 0; level < 1999; ++level)
        deep << QString(level * 2, QLatin1Char(' ')) + "d" + folder;
    deep << QString(1999 * 2, QLatin1Char(' ')) + "ff" + file;
    const struct {
        const char* what;
        Databox entries;
        QStringList tree;
    } cases[] = {
        {"folder made up, dated as its first entry",
         laterTime,
         {"a" + folder, "  b.txt" + file, "  c.txt|1.46 KB|700 bytes|46.66%|21/05/06 07:08"}},
        {"listed folder keeps its own time, shows no sizes", withFolder, {"a||||20/01/02 03:04", "  b.txt" + file}},
        {"nested folders made up",
         Entries({"x/y/z/f"}),
         {"x" + folder, "  y" + folder, "    z" + folder, "      f" + file}},
        {"sorted by name length, stable among equals",
         Entries({"ccc/x", "b", "a/c", "zz", "a", "a/b", "d"}),
         {"b" + file, "a" + file, "  c" + file, "  b" + file, "d" + file, "zz" + file, "ccc" + folder, "  x" + file}},
        {"duplicates keep both rows; the later one takes the children",
         Entries({"a", "a", "a/x", "a/x", "a/x/y"}),
         {"a" + file, "a" + file, "  x" + file, "  x" + file, "    y" + file}},
        // A leading separator: the empty path before it is a made-up top-level folder.
        {"only a separator", Entries({"/"}), {"" + folder, "  " + file}},
        {"empty component", Entries({"a//b"}), {"a" + folder, "  " + folder, "    b" + file}},
        {"empty name", Entries({""}), {"" + file}},
        {"nested 1999 deep", Entries({deepName.constData()}), deep},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Tree(c.entries), c.tree) << c.what;
}

// What the fuzzers ever stopped on, and names made of separators, end with a result.
TEST(Listing, HostileInputEnds)
{
    QList<QByteArray> inputs = {QByteArray(5000, '/'), QByteArray(5000, '\n'), QByteArray(100000, '-')};
    for (const char* target : {"ziplisting", "rarlisting"})
        for (const auto& finding : FuzzFindings(target))
            inputs << finding.second;
    for (const QByteArray& input : inputs) {
        for (const QString& text : {QString::fromUtf8(input), QString::fromLatin1(input),
                                    ZipOutput(QString::fromLatin1(input)), RarOutput(QString::fromLatin1(input))}) {
            for (const Databox& box : {ParseZipLine(text), ParseRarLine(text)}) {
                CStandardItemModel model(0, 5);
                Build(box, model);
                EXPECT_LE(model.rowCount(), box.size());
            }
        }
    }
}
