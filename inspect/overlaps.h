#pragma once

#include <algorithm>
#include <vector>

namespace lumivert {

// Finds the spans that overlap: sorted by start (the order kept among equal starts), each
// span is held against the one reaching furthest among those before it, and
// `overlapping(span, earlier)` is called where it starts inside that one.
template <typename Item, typename Start, typename End, typename Report>
void findOverlaps(std::vector<const Item*> items, Start start, End end, Report overlapping) {
    std::stable_sort(items.begin(), items.end(),
                     [&](const Item* a, const Item* b) { return start(*a) < start(*b); });
    const Item* furthest = nullptr;
    for (const Item* item : items) {
        if (furthest != nullptr && start(*item) < end(*furthest)) {
            overlapping(*item, *furthest);
        }
        if (furthest == nullptr || end(*item) > end(*furthest)) {
            furthest = item;
        }
    }
}

} // namespace lumivert
