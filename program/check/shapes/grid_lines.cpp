// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/shapes/grid_lines.h"

namespace kerf::cutcheck {

void GridLines::add(Index position, Index from, int count)
{
    Line line;
    line.from = from;
    line.count = std::max(count, 0);
    lines_.push_back(std::move(line));
    positions_.push_back(position);
}

void GridLines::index()
{
    if (lines_.empty())
        return;
    const auto [lo, hi] = std::minmax_element(positions_.begin(), positions_.end());
    if (!lookup_.cover(*lo, *hi, lines_.size()))
        return; // lines far off the lattice: none is found
    for (std::size_t k = 0; k < lines_.size(); ++k)
        lookup_.keepFirst(positions_[k], k);
}

void GridLines::finish(CutHistogram& histogram)
{
    for (Line& line : lines_) {
        line.counts.forEachRange(line.from, line.end(), [&histogram](Index from, Index to, std::int64_t count) {
            histogram.add(static_cast<std::uint64_t>(count), to - from);
        });
        line.sums.clear();
        std::int64_t sum = 0;
        for (const Event& e : line.events())
            line.sums.push_back(sum += e.delta);
    }
    // A second finish (the pass count inferred first) walks down afresh.
    restartWalks();
}

void GridLines::restartWalks()
{
    for (Line& line : lines_) {
        line.cursor = line.events().size();
        line.above = 0;
    }
}

} // namespace kerf::cutcheck
