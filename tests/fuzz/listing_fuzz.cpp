// Feeds arbitrary bytes to a listing parser as a lister's output, then on through the sort and
// the tree, as the listing viewer takes them. Built twice: ziplisting_fuzz and rarlisting_fuzz.
// The first byte picks the locale, so that the Chinese line fallback is fuzzed as well.
#include "dirs/cstandarditemmodel.h"
#include "dirs/listerdecode.h"
#include "dirs/listingparser.h"
#include "dirs/listingtree.h"

#include <QStandardItem>
#include <QTextCodec>

namespace {

void Check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

// Every row has its five cells, and every name cell holds one path step.
int CountAndCheck(const QStandardItem* parent, QChar separator)
{
    int nodes = 0;
    for (int row = 0; row < parent->rowCount(); ++row) {
        Check(parent->columnCount() == 5);
        const QStandardItem* item = parent->child(row, 0);
        Check(item != nullptr);
        Check(!item->text().contains(separator));
        nodes += 1 + CountAndCheck(item, separator);
    }
    return nodes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QLocale locale(data[0] & 1 ? QLocale::Chinese : QLocale::English);
    const QByteArray bytes(reinterpret_cast<const char*>(data) + 1, int(size - 1));
    const QString output = DecodeListerOutput(bytes, QTextCodec::codecForName("UTF-8"), locale);
    Databox box = LISTING_PARSER(output);
    for (const ComData& entry : box)
        Check(!entry.name.contains(QLatin1Char('\n')));
    const int entries = box.size();
    SortListing(box);
    Check(box.size() == entries);
    for (int i = 1; i < box.size(); ++i)
        Check(box[i - 1].name.size() <= box[i].name.size());
    CStandardItemModel model(0, 5);
    model.AppendRows(BuildListingRows(box));
    // Made-up folders add rows, never take any away: each entry has a row of its own.
    Check(CountAndCheck(model.invisibleRootItem(), QLatin1Char('/')) >= entries);
    return 0;
}
