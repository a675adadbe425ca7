#include "dirs/listingparser.h"

#include <QDebug>
#include <QStringList>

#include <algorithm>
#include <numeric>

namespace {

const QString kZipSeparator =
    QStringLiteral("------------------- ----- ------------ ------------  ------------------------");
const QString kRarSeparator(79, QLatin1Char('-'));

// What lies between the first separator and the last one after it. Output cut short (a lister
// stopped mid-listing) has no closing separator: what was listed so far is kept.
QStringRef EntryBlock(const QString& output, const QString& separator)
{
    const int first = output.indexOf(separator);
    if (first < 0)
        return QStringRef();
    const QStringRef rest = output.midRef(first + separator.size());
    const int last = rest.lastIndexOf(separator);
    return last < 0 ? rest : rest.left(last);
}

// Members past 4 GiB are common in tarballs and 7z files; anything unreadable counts as 0.
quint64 SizeNumber(const QStringRef& field)
{
    bool ok = false;
    const qulonglong value = field.trimmed().toULongLong(&ok);
    return ok ? value : 0;
}

} // namespace

// Read through views of the output: 100 000 lines copied field by field took most of the time.
Databox ParseZipLine(const QString& output)
{
    Databox box;
    const QVector<QStringRef> lines = EntryBlock(output, kZipSeparator).split(QLatin1Char('\n'));
    box.reserve(lines.size());
    // Listings of 100000 entries share a handful of times; the format parser is the slow part.
    QString lastStamp;
    QDateTime lastTime;
    bool haveLast = false;
    for (QStringRef line : lines) {
        // Only the end is trimmed (the "\r" of Windows line ends with it): 7-Zip leaves the
        // date blank for a member stored without one, and the columns must not move.
        while (!line.isEmpty() && line.back().isSpace())
            line.chop(1);
        if (line.isEmpty())
            continue;
        const QStringRef stamp = line.left(19);
        ComData entry;
        entry.name = line.mid(53).toString();
        entry.size = SizeNumber(line.mid(26, 12));
        entry.packed = SizeNumber(line.mid(39, 12));
        if (!haveLast || stamp != lastStamp) {
            lastStamp = stamp.toString();
            lastTime = QDateTime::fromString(lastStamp, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
            haveLast = true;
        }
        entry.time = lastTime;
        entry.isDir = line.mid(20, 5).startsWith(QLatin1Char('D'));
        if (entry.size == 0)
            entry.ratio = QStringLiteral("0%");
        else
            entry.ratio.setNum(double(entry.packed) / double(entry.size) * 100, 'f', 2).append(QLatin1Char('%'));
        box.append(entry);
    }
    return box;
}

Databox ParseRarLine(const QString& output)
{
    Databox box;
    const QVector<QStringRef> lines = EntryBlock(output, kRarSeparator).split(QLatin1Char('\n'));
    bool expectName = true;
    QString name;
    for (const QStringRef& raw : lines) {
        const QString line = raw.trimmed().toString();
        if (line.isEmpty())
            continue;
        if (expectName) {
            name = line;
            expectName = false;
            continue;
        }
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() != 9) {
            // A listing that lost step is wrong from here on, and may be before: show none of it.
            qDebug() << __FILE__ << __LINE__ << "unrar details line with" << fields.size() << "fields";
            return Databox();
        }
        ComData entry;
        entry.name = name;
        entry.size = SizeNumber(QStringRef(&fields[0]));
        entry.packed = SizeNumber(QStringRef(&fields[1]));
        entry.ratio = fields[2];
        entry.time = QDateTime(QDate::fromString(fields[3], QStringLiteral("dd-MM-yy")),
                               QTime::fromString(fields[4], QStringLiteral("hh:mm")));
        entry.isDir = fields[5].contains(QLatin1String(".D."));
        box.append(entry);
        expectName = true;
    }
    return box;
}

bool IsCompressedTarball(const QString& fileName)
{
    static const QStringList endings{".tar.gz",  ".tgz",  ".tar.bz2",  ".tbz2", ".tbz",    ".tar.xz", ".txz",
                                     ".tar.zst", ".tzst", ".tar.lzma", ".tlz",  ".tar.lz", ".tar.z",  ".taz"};
    const QString name = fileName.toLower();
    return std::any_of(endings.cbegin(), endings.cend(), [&](const QString& end) { return name.endsWith(end); });
}

// A counting sort on the length: linear, where a merge sort of 100 000 entries took 100 ms.
void SortListing(Databox& box)
{
    int longest = 0;
    for (const ComData& entry : box)
        longest = std::max(longest, int(entry.name.size()));
    QVector<int> next(longest + 2, 0);
    for (const ComData& entry : box)
        ++next[entry.name.size() + 1];
    std::partial_sum(next.begin(), next.end(), next.begin());
    QVector<int> order(box.size());
    for (int i = 0; i < box.size(); ++i)
        order[next[box.at(i).name.size()]++] = i;
    Databox sorted;
    sorted.reserve(box.size());
    for (const int i : order)
        sorted.append(box.at(i));
    box.swap(sorted);
}
