// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/internal/flag_list.h"

#include <algorithm>

namespace kerf::cutcheck {

namespace {

template <class Entry>
bool earlier(const Entry& a, const Entry& b)
{
    return a.ordinal < b.ordinal;
}

} // namespace

bool FlagList::add(std::uint64_t ordinal, const FlaggedCut& cut)
{
    if (heap_.size() < limit_) {
        heap_.push_back({ordinal, cut});
        std::push_heap(heap_.begin(), heap_.end(), earlier<Entry>);
        return true;
    }
    if (heap_.empty() || ordinal >= heap_.front().ordinal)
        return false;
    std::pop_heap(heap_.begin(), heap_.end(), earlier<Entry>);
    heap_.back() = {ordinal, cut};
    std::push_heap(heap_.begin(), heap_.end(), earlier<Entry>);
    return true;
}

std::vector<FlaggedCut> FlagList::inOrder() const
{
    std::vector<Entry> entries = heap_;
    std::sort(entries.begin(), entries.end(), earlier<Entry>);
    std::vector<FlaggedCut> cuts;
    cuts.reserve(entries.size());
    for (const Entry& e : entries)
        cuts.push_back(e.cut);
    return cuts;
}

} // namespace kerf::cutcheck
