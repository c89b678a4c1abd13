// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory_resource>
#include <optional>
#include <vector>

#include "layout/wafer_layout.h"
#include "memory/large_pages.h"
#include "program/check/internal/check_state.h"
#include "program/check/internal/die_grid.h"
#include "program/check/internal/die_tally.h"
#include "program/check/internal/lattice.h"
#include "program/check/internal/part_cuts.h"
#include "program/check/internal/range_counts.h"

namespace kerf::cutcheck {

/// The check of a hexagon layout's cuts (a ShapeCheck).
///
/// A lattice of half die widths across and half sides up. About a die centre
/// its corners are k = 0..5: (−1,−1), (−1,1), (0,2), (1,1), (1,−1), (0,−2);
/// edge k runs from corner k to corner k+1. Every edge is kept once, at its
/// lower end, as one of three kinds: up (to (x, y+2)), up right (to
/// (x+1, y+1)) and up left (to (x−1, y+1)). The cuts of each kind of edge
/// along a row of corners are counted by RangeCounts over the corners'
/// columns: a row of equal edges costs O(1), the check needs no memory per die.
class HexagonCuts {
public:
    HexagonCuts(const WaferLayout& layout, CheckState& state);

    Index dies() const { return grid_.dies(); }
    double allowance() const { return 0; }

    /// `copies` copies of the straight cut `first`, each `step` further on:
    /// true when the copies are the edges of one kind of consecutive dies of
    /// a row, inside the circle, counted at once; false leaves them to be
    /// matched one by one.
    bool cutRun(const Motion& first, ProgramPoint step, std::uint64_t copies);

    void cut(const Motion& m)
    {
        if (m.kind != MotionKind::Straight)
            return state_.stray(m);
        Index x0, y0, x1, y1;
        if (snapEnds(m, x0, y0, x1, y1)) {
            // The common case: one edge, inside the circle when all are.
            EdgeLine* line = nullptr;
            Index q = 0;
            if (edgeAt(x0, y0, x1, y1, line, q) && covers(*line, q)) {
                line->counts.add(q, q + 1, added(), line->n);
                if (!edgesInside_)
                    state_.straight(m);
                return;
            }
        }
        state_.straight(m);
        alongEdges(m);
    }

    void finish(int passes, DieTally& tally);

private:
    /// An edge's cut count stops here, and so does the pass count it is held
    /// to: far past any pass count a program gives.
    static constexpr std::uint64_t MostEdgeCuts = 254;
    /// Copies of one edge that one run may count at once: far past any row,
    /// so that a row's span of lattice columns never overflows.
    static constexpr std::uint64_t MostRunCopies = std::uint64_t(1) << 40;

    enum EdgeKind : int { Up = 0, UpRight = 1, UpLeft = 2 };
    static constexpr int EdgeKinds = 3;

    /// The lattice columns of the layout's corners, and their places along a
    /// line, fit 32 bits: a layout that reaches past MostColumn is off its lattice.
    using Column = std::int32_t;
    static constexpr Index MostColumn = Index(1) << 30;

    struct Interval {
        Column from = 0;
        Column to = 0; // past the last
    };

    // The edges of one kind whose lower ends lie on one row of corners, by
    // their column q (every other lattice column, from the row's first).
    struct EdgeLine {
        explicit EdgeLine(std::pmr::memory_resource* memory) : counts(memory) {}
        Index n = 0;
        std::uint32_t validFrom = 0, validTo = 0; // its stretch of valid_: the dies' edges, sorted and merged
        RangeCounts counts;
    };

    bool covers(const EdgeLine& line, Index q) const { return coversAll(line, q, q + 1); }
    bool coversAll(const EdgeLine& line, Index lo, Index hi) const
    {
        const Interval* begin = valid_.data() + line.validFrom;
        const Interval* end = valid_.data() + line.validTo;
        const Interval* it = std::upper_bound(begin, end, lo, [](Index v, const Interval& i) { return v < i.from; });
        return it != begin && std::prev(it)->to >= hi;
    }

    // The corners on one lattice row: every other column from x0 to x1, and
    // the lines of the kinds of edges that start there.
    struct CornerRow {
        Column x0 = 0;
        Column x1 = -1; // last corner column; none while x1 < x0
        std::int32_t line[EdgeKinds] = {-1, -1, -1}; // by EdgeKind: index into lines_, −1 for none
    };

    /// The cuts of the edge at `q` of a line being walked, at most MostEdgeCuts.
    static std::uint64_t edgeCuts(RangeCounts::Walk& walk, Index q)
    {
        return std::min<std::uint64_t>(static_cast<std::uint64_t>(walk.countAt(q)), MostEdgeCuts);
    }

    std::int64_t added() const
    {
        return static_cast<std::int64_t>(std::min<std::uint64_t>(state_.times, MostEdgeCuts));
    }

    const CornerRow* cornerRow(Index y) const
    {
        const Index k = y - yMin_;
        return k < 0 || k >= static_cast<Index>(rows_.size()) ? nullptr : &rows_[static_cast<std::size_t>(k)];
    }

    /// The line and column of edge k of the first die of a placed row.
    EdgeLine* edgeOf(const DieGrid::Row& row, int k, Index& q);

    void buildLines();
    /// The rows of corners and their columns; false when the layout is off its lattice.
    bool buildCornerRows();
    /// The lines of edges, each made once with its stretches of dies' edges.
    void numberLines();
    /// Whether every corner of every die lies in the effective circle.
    bool cornersInside() const;

    /// The edges' counts against the dies' edges: the histogram and the uncut edges.
    void countEdges(std::uint64_t wanted);

    /// The dies of a row in stretches whose six edges keep their counts.
    void sweepRow(const DieGrid::Row& row, std::uint64_t wanted, double pitch, DieTally& tally);

    /// The line and column of the edge from lattice point 0 to 1; false when no edge runs so.
    bool edgeAt(Index x0, Index y0, Index x1, Index y1, EdgeLine*& line, Index& q)
    {
        if (y1 < y0) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        const Index dx = x1 - x0, dy = y1 - y0;
        EdgeKind kind;
        if (dx == 0 && dy == 2)
            kind = Up;
        else if (dy == 1 && dx == 1)
            kind = UpRight;
        else if (dy == 1 && dx == -1)
            kind = UpLeft;
        else
            return false;
        const CornerRow* row = cornerRow(y0);
        if (!row || row->line[kind] < 0)
            return false;
        const Index d = x0 - row->x0;
        if (d < 0 || (d & 1) != 0 || x0 > row->x1)
            return false;
        line = &lines_[static_cast<std::size_t>(row->line[kind])];
        q = d >> 1;
        return true;
    }

    /// A cut that is not one die edge: the parts of it that lie on die edges
    /// count (pieces of an edge add up once the run is over); a cut with
    /// any part off the edges is a stray one.
    void alongEdges(const Motion& m);

    /// Adds the parts of edges to the lines' counts, once.
    void settleParts();

    /// Snaps a point to the lattice; false when it lies far outside any wafer.
    bool snapEnd(const ProgramPoint& p)
    {
        lastX_ = ax_.snap(p.x);
        lastY_ = ay_.snap(p.y);
        lastValid_ = lastX_.valid && lastY_.valid;
        lastEnd_ = p;
        return lastValid_;
    }

    bool endOnLattice() const { return lastX_.offset <= toleranceX_ && lastY_.offset <= toleranceY_; }

    /// Snaps both ends of a straight cut: false when an end lies farther from
    /// its lattice point than the tolerance.
    bool snapEnds(const Motion& m, Index& x0, Index& y0, Index& x1, Index& y1)
    {
        // A motion starts where the last one ended: its start is snapped already.
        if ((!lastValid_ || !(m.from == lastEnd_)) && !snapEnd(m.from))
            return false;
        x0 = lastX_.index;
        y0 = lastY_.index;
        const bool fromOn = endOnLattice();
        if (!snapEnd(m.to))
            return false;
        x1 = lastX_.index;
        y1 = lastY_.index;
        if (!fromOn || !endOnLattice())
            return false;
        // The worst ends, in lattice steps (reported in inches at the end).
        if (lastX_.offset > worstX_)
            worstX_ = lastX_.offset;
        if (lastY_.offset > worstY_)
            worstY_ = lastY_.offset;
        return true;
    }

    CheckState& state_;
    LatticeAxis ax_, ay_;
    DieGrid grid_;
    std::pmr::vector<CornerRow> rows_{largePageMemory()}; // by y − yMin_
    Index yMin_ = 0;
    // The lines' counts, a few events each: small blocks, reused as lists
    // grow, carved from a buffer sized for the lines (made with them).
    std::optional<std::pmr::monotonic_buffer_resource> countsArena_;
    std::optional<std::pmr::unsynchronized_pool_resource> countsMemory_;
    std::pmr::vector<EdgeLine> lines_{largePageMemory()};
    std::pmr::vector<Interval> valid_{largePageMemory()}; // the lines' stretches of dies' edges, line after line
    bool edgesInside_ = false; // every corner of every die lies in the effective circle
    double toleranceX_ = 0, toleranceY_ = 0; // in lattice steps
    double worstX_ = 0, worstY_ = 0;
    // The last cut end snapped, which the next motion starts from.
    ProgramPoint lastEnd_;
    LatticeSnap lastX_, lastY_;
    bool lastValid_ = false;
    PartCuts parts_; // parts of edges, by line and column
    bool partsSettled_ = false;
};

} // namespace kerf::cutcheck
