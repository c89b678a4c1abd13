// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "program/check/internal/cut_histogram.h"
#include "program/check/internal/lattice.h"
#include "program/check/internal/lattice_index.h"
#include "program/check/internal/range_counts.h"

namespace kerf::cutcheck {

/// Parallel cut lines of a square grid, found by their lattice position. A
/// line keeps its cuts as RangeCounts over its pitch-long pieces; a piece's
/// cut count is the sum of the events up to it.
class GridLines {
public:
    using Event = RangeCounts::Event;
    struct Line {
        Index from = 0; // lattice index of its first end
        int count = 0;  // pitch-long pieces
        RangeCounts counts;
        std::vector<std::int64_t> sums; // after finish: the count from each event on
        // Walking down the pieces (see countBelow).
        std::size_t cursor = 0;
        std::int64_t above = 0;
        Index end() const { return from + count; }
        std::span<const Event> events() const { return counts.events(); }
    };

    /// A line at lattice `position` from `from`, `count` pieces long.
    void add(Index position, Index from, int count);

    /// Builds the lookup once every line is in.
    void index();

    /// The line at `position`, nullptr for none.
    Line* at(Index position) { return lookup_.in(std::span(lines_), position); }

    /// A cut of pieces [lo, hi) of `line`, lo < hi, within the line.
    static void cut(Line& line, Index lo, Index hi, std::int64_t times) { line.counts.add(lo, hi, times, line.count); }

    /// After the run: merges the events and adds every piece to `histogram`.
    void finish(CutHistogram& histogram);

    /// Cut count of piece `k` of `line`, asked for pieces of falling `k` (a
    /// piece asked for twice in a row is fine).
    static std::uint64_t countBelow(Line* line, Index k)
    {
        if (!line || k < line->from || k >= line->end())
            return 0;
        // The count of piece k: minus the events above it (all events sum to 0).
        const std::span<const Event> events = line->events();
        while (line->cursor > 0 && events[line->cursor - 1].at > k)
            line->above += events[--line->cursor].delta;
        return static_cast<std::uint64_t>(std::max<std::int64_t>(-line->above, 0));
    }

    /// Walks a line's pieces left to right, once its events are merged.
    class Walk {
    public:
        explicit Walk(const Line* line) : line_(line)
        {
            if (line)
                events_ = RangeCounts::Walk(line->events());
        }
        std::uint64_t count(Index k)
        {
            if (!line_ || k < line_->from || k >= line_->end())
                return 0;
            return static_cast<std::uint64_t>(events_.countAt(k));
        }

    private:
        const Line* line_;
        RangeCounts::Walk events_;
    };

    /// The cut count of piece `k` of `line` (0 off it), once its events are merged.
    static std::uint64_t countAt(const Line* line, Index k)
    {
        if (!line || k < line->from || k >= line->end())
            return 0;
        const std::span<const Event> events = line->events();
        const auto after =
            std::upper_bound(events.begin(), events.end(), k, [](Index v, const Event& e) { return v < e.at; });
        if (after == events.begin())
            return 0;
        const std::int64_t count = line->sums[static_cast<std::size_t>(after - events.begin()) - 1];
        return static_cast<std::uint64_t>(std::max<std::int64_t>(count, 0));
    }

    /// Calls f(k) for the pieces k in (lo, hi) where the count of `line` may
    /// differ from the piece before (its ends included), once merged.
    template <class F>
    static void changesIn(const Line* line, Index lo, Index hi, F&& f)
    {
        if (!line)
            return;
        for (const Index end : {line->from, line->end()})
            if (end > lo && end < hi)
                f(end);
        const std::span<const Event> events = line->events();
        const auto first =
            std::upper_bound(events.begin(), events.end(), lo, [](Index v, const Event& e) { return v < e.at; });
        for (auto it = first; it != events.end() && it->at < hi; ++it)
            f(it->at);
    }

    std::size_t size() const { return lines_.size(); }
    Line& line(std::size_t k) { return lines_[k]; }
    Index position(std::size_t k) const { return positions_[k]; }
    Index lowest() const { return lookup_.lowest(); }
    /// How many positions the lookup covers: 0 when the lines are not indexed.
    Index span() const { return lookup_.span(); }
    /// Whether `k` is the line found at its position (the first of those that share one).
    bool found(std::size_t k) const { return lookup_.at(positions_[k]) == static_cast<std::int32_t>(k); }

    /// Starts every downward walk again from the top.
    void restartWalks();

private:
    std::vector<Line> lines_;
    std::vector<Index> positions_;
    LatticeIndex lookup_;
};

} // namespace kerf::cutcheck
