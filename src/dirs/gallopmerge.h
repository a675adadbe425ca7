#pragma once

#include <algorithm>
#include <vector>

// Merges order[sorted, end), sorted, into order[0, sorted), sorted, as a stable merge does. Each
// new entry's place is searched from the last one's, in growing steps: a few thousand new rows
// spread over a big folder's shown ones look at a fraction of those, where a merge that walks them
// all spent most of its time waiting for their keys to come into the cache.
template <typename Less>
void GallopMerge(std::vector<int>& order, size_t sorted, Less less)
{
    std::vector<int> merged;
    merged.reserve(order.size());
    auto shown = order.cbegin();
    const auto shownEnd = order.cbegin() + static_cast<long>(sorted);
    for (auto added = shownEnd; added != order.cend(); ++added) {
        auto low = shown;
        auto high = shown;
        for (long step = 1; high != shownEnd && !less(*added, *high); step *= 2) {
            low = high + 1;
            high = shownEnd - high > step ? high + step : shownEnd;
        }
        const auto at = std::upper_bound(low, high, *added, less);
        merged.insert(merged.end(), shown, at);
        merged.push_back(*added);
        shown = at;
    }
    merged.insert(merged.end(), shown, shownEnd);
    order.swap(merged);
}
