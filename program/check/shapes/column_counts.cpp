// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/shapes/column_counts.h"

#include <algorithm>

namespace kerf::cutcheck {

ColumnCounts::ColumnCounts(GridLines& columns, bool usable) : columns_(columns), usable_(usable && columns.span() > 0)
{
    if (!usable_)
        return;
    counts_.assign(static_cast<std::size_t>(columns.span()), 0);
    for (std::size_t k = 0; k < columns.size(); ++k) {
        if (!columns.found(k))
            continue;
        const GridLines::Line& line = columns.line(k);
        changes_.push_back({line.end(), k});
        changes_.push_back({line.from, k});
        for (const auto& event : line.events())
            changes_.push_back({event.at, k});
    }
    std::sort(changes_.begin(), changes_.end(), [](const Change& a, const Change& b) { return a.below > b.below; });
}

bool ColumnCounts::follow(Index bottom)
{
    if (!usable_)
        return false;
    for (; next_ < changes_.size() && changes_[next_].below > bottom; ++next_) {
        const std::size_t k = changes_[next_].line;
        const auto at = static_cast<std::size_t>(columns_.position(k) - columns_.lowest());
        const std::uint64_t count = GridLines::countBelow(&columns_.line(k), bottom);
        if (count == counts_[at])
            continue;
        counts_[at] = count;
        for (const std::size_t p : {at, at + 1}) {
            if (p == 0 || p >= counts_.size())
                continue;
            if (counts_[p] != counts_[p - 1])
                steps_.insert(static_cast<Index>(p));
            else
                steps_.erase(static_cast<Index>(p));
        }
    }
    return true;
}

} // namespace kerf::cutcheck
