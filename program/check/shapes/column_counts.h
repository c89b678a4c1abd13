// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <vector>

#include "program/check/shapes/grid_lines.h"
#include "program/check/internal/lattice.h"

namespace kerf::cutcheck {

/// The square grid's columns' cut counts at the piece of a row of cells,
/// followed downwards row by row: a column is looked at again only where its
/// count changes, so the whole costs the columns' events. Keeps the
/// positions where the count differs from the column's left neighbour.
class ColumnCounts {
public:
    /// Followed only when `usable` (rows of cells from the top down) and the
    /// columns are indexed.
    ColumnCounts(GridLines& columns, bool usable);

    /// Moves down to piece `bottom` (falling from call to call); false
    /// when the columns are not followed so.
    bool follow(Index bottom);

    /// The count of the column at `position`.
    std::uint64_t at(Index position) const
    {
        const Index p = position - columns_.lowest();
        return p < 0 || p >= static_cast<Index>(counts_.size()) ? 0 : counts_[static_cast<std::size_t>(p)];
    }

    /// Calls f(p) for the positions in (lo, hi] whose count differs from
    /// the column on their left (the ends of the columns included).
    template <class F>
    void stepsIn(Index lo, Index hi, F&& f) const
    {
        const Index base = columns_.lowest();
        const Index span = static_cast<Index>(counts_.size());
        // Past either end of the columns the count is 0.
        if (lo < base && hi >= base && counts_.front() != 0)
            f(base);
        if (lo < base + span && hi >= base + span && counts_.back() != 0)
            f(base + span);
        for (auto it = steps_.upper_bound(lo - base); it != steps_.end() && *it + base <= hi; ++it)
            f(*it + base);
    }

private:
    struct Change {
        Index below; // the column's count may differ for pieces below this
        std::size_t line;
    };
    GridLines& columns_;
    std::vector<std::uint64_t> counts_; // by position − lowest
    std::set<Index> steps_;             // positions − lowest whose count differs from the one before
    std::vector<Change> changes_;
    std::size_t next_ = 0;
    bool usable_;
};

} // namespace kerf::cutcheck
