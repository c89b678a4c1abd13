#include "program/check/hexagon_cuts.h"

#include <cmath>
#include <limits>

#include "program/check/cut_histogram.h"
#include "program/check/lattice_index.h"
#include "program/check/run_levels.h"

namespace kerf::cutcheck {

namespace {

// A die's corners and edges.
constexpr int CornersPerDie = 6;
// The corners about a die centre, k = 0..5, in lattice steps.
constexpr int CornerX[CornersPerDie] = {-1, -1, 0, 1, 1, 0};
constexpr int CornerY[CornersPerDie] = {-1, 1, 2, 1, -1, -2};
// Edge k of the die at (cx, cy): its lower end and kind (up, up right, up left).
constexpr int EdgeX[CornersPerDie] = {-1, -1, 1, 1, 0, 0};
constexpr int EdgeY[CornersPerDie] = {-1, 1, 1, -1, -2, -2};
constexpr int EdgeKindOf[CornersPerDie] = {0, 1, 2, 0, 1, 2};
// Every edge of a die, as UncutDie::uncutEdges marks them.
constexpr std::uint8_t AllEdges = 0b111111;
// A die's edges reach two lattice rows and one column from its centre: a
// step of a long cut that starts farther than this from the dies' box
// touches no edge.
constexpr Index EdgeReach = 3;

} // namespace

HexagonCuts::HexagonCuts(const WaferLayout& layout, CheckState& state)
    : state_(state), ax_(Decimal::fromSingle(layout.HalfDieSize).toDouble()),
      ay_(layout.HexHalfSide.toDecimal().toDouble()), grid_(layout, ax_, ay_, state.report.latticeDeviation),
      toleranceX_(state.tolerance * ax_.inverse), toleranceY_(state.tolerance * ay_.inverse)
{
    buildLines();
}

bool HexagonCuts::cutRun(const Motion& first, ProgramPoint step, std::uint64_t copies)
{
    if (first.kind != MotionKind::Straight || copies < 2 || !edgesInside_ || copies > MostRunCopies)
        return false;
    const Motion last = lastCopy(first, step, copies);
    Index x0, y0, x1, y1, u0, v0, u1, v1;
    lastValid_ = false;
    const bool firstOn = snapEnds(first, x0, y0, x1, y1);
    lastValid_ = false;
    const bool lastOn = firstOn && snapEnds(last, u0, v0, u1, v1);
    lastValid_ = false;
    // The same edge a die further on per copy: two columns.
    const auto span = static_cast<Index>(copies - 1);
    if (!lastOn || v0 != y0 || v1 != y1 || u1 - u0 != x1 - x0 || std::abs(u0 - x0) != 2 * span)
        return false;
    EdgeLine* line = nullptr;
    EdgeLine* lineLast = nullptr;
    Index q = 0, qLast = 0;
    if (!edgeAt(x0, y0, x1, y1, line, q) || !edgeAt(u0, v0, u1, v1, lineLast, qLast) || line != lineLast)
        return false;
    const Index lo = std::min(q, qLast), hi = std::max(q, qLast) + 1;
    if (!line->coversAll(lo, hi))
        return false;
    line->counts.add(lo, hi, added(), line->n);
    return true;
}

void HexagonCuts::finish(int passes, DieTally& tally)
{
    CutReport& report = state_.report;
    state_.matched(std::max(worstX_ * ax_.step, worstY_ * ay_.step));
    const auto wanted = static_cast<std::uint64_t>(std::min<int>(passes, int(MostEdgeCuts)));
    CutHistogram histogram;
    // Each edge once: the ranges of counts against the union of the dies' edges.
    for (EdgeLine& line : lines_) {
        line.ranges.clear();
        line.counts.forEachRange(0, line.n, [&line](Index from, Index to, std::int64_t c) {
            line.ranges.push_back({from, to, std::min<std::uint64_t>(static_cast<std::uint64_t>(c), MostEdgeCuts)});
        });
        std::size_t r = 0;
        for (const Interval& v : line.valid) {
            for (; r < line.ranges.size() && line.ranges[r].to <= v.from; ++r) {
            }
            for (std::size_t k = r; k < line.ranges.size() && line.ranges[k].from < v.to; ++k) {
                const Index len = std::min(v.to, line.ranges[k].to) - std::max(v.from, line.ranges[k].from);
                histogram.add(line.ranges[k].count, len);
                if (line.ranges[k].count < wanted)
                    report.uncutEdges += len;
            }
        }
    }
    report.elementsByCutCount = histogram.result();
    const double pitch = 2 * ax_.step;
    for (const DieGrid::Row& row : grid_.rows()) {
        if (!row.placed || lines_.empty()) {
            tally.dies(row, 0, row.count, pitch, AllEdges, 0, false);
        } else {
            sweepRow(row, wanted, pitch, tally);
        }
        if (!tally.rowDone(row.count))
            return;
    }
}

HexagonCuts::EdgeLine* HexagonCuts::edgeOf(const DieGrid::Row& row, int k, Index& q)
{
    const CornerRow* r = cornerRow(row.iy + EdgeY[k]);
    q = (row.ix + EdgeX[k] - r->x0) >> 1;
    return &lines_[static_cast<std::size_t>(r->line[EdgeKindOf[k]])];
}

void HexagonCuts::buildLines()
{
    if (grid_.empty())
        return;
    yMin_ = grid_.iyMin() - 2;
    rows_.assign(static_cast<std::size_t>(grid_.iyMax() + 1 - yMin_ + 1), {});
    const auto take = [&](Index y, Index from, Index to) {
        CornerRow& r = rows_[static_cast<std::size_t>(y - yMin_)];
        if (r.x1 < r.x0) {
            r.x0 = from;
            r.x1 = to;
            return;
        }
        r.mixed |= ((from - r.x0) & 1) != 0;
        r.x0 = std::min(r.x0, from);
        r.x1 = std::max(r.x1, to);
    };
    for (const DieGrid::Row& row : grid_.rows()) {
        if (!row.placed)
            continue;
        take(row.iy - 2, row.ix, row.last());
        take(row.iy - 1, row.ix - 1, row.last() + 1);
        take(row.iy + 1, row.ix - 1, row.last() + 1);
    }
    Index span = 0;
    bool mixed = false;
    for (const CornerRow& r : rows_) {
        mixed |= r.mixed;
        if (r.x1 >= r.x0)
            span += ((r.x1 - r.x0) >> 1) + 1;
    }
    // Corners of both parities on one row, or rows far apart in their
    // columns: the layout is off its lattice and no edge is found.
    if (mixed || !inProportion(span, static_cast<std::size_t>(grid_.dies()) * CornersPerDie)) {
        rows_.clear();
        state_.report.latticeDeviation = std::numeric_limits<double>::infinity();
        return;
    }
    bool inside = true;
    for (const DieGrid::Row& row : grid_.rows()) {
        if (!row.placed)
            continue;
        for (int k = 0; k < CornersPerDie; ++k) {
            CornerRow& r = rows_[static_cast<std::size_t>(row.iy + EdgeY[k] - yMin_)];
            std::int32_t& l = r.line[EdgeKindOf[k]];
            if (l < 0) {
                l = static_cast<std::int32_t>(lines_.size());
                lines_.emplace_back();
                lines_.back().n = ((r.x1 - r.x0) >> 1) + 1;
            }
            const Index q = (row.ix + EdgeX[k] - r.x0) >> 1;
            lines_[static_cast<std::size_t>(l)].valid.push_back({q, q + row.count});
        }
        // The farthest corners of a row are those of its end dies.
        for (const Index cx : {row.ix, row.last()})
            for (int k = 0; k < CornersPerDie; ++k)
                inside &= std::hypot((cx + CornerX[k]) * ax_.step, (row.iy + CornerY[k]) * ay_.step) <=
                          state_.radius;
    }
    for (EdgeLine& line : lines_) {
        auto& v = line.valid;
        std::sort(v.begin(), v.end(), [](const Interval& a, const Interval& b) { return a.from < b.from; });
        std::size_t out = 0;
        for (const Interval& i : v) {
            if (out > 0 && i.from <= v[out - 1].to)
                v[out - 1].to = std::max(v[out - 1].to, i.to);
            else
                v[out++] = i;
        }
        v.resize(out);
    }
    edgesInside_ = inside;
}

void HexagonCuts::sweepRow(const DieGrid::Row& row, std::uint64_t wanted, double pitch, DieTally& tally)
{
    const std::vector<Range>* ranges[CornersPerDie];
    Index q0[CornersPerDie];
    std::size_t at[CornersPerDie];
    for (int k = 0; k < CornersPerDie; ++k) {
        ranges[k] = &edgeOf(row, k, q0[k])->ranges;
        // The range holding the first die's edge.
        const auto& r = *ranges[k];
        at[k] = static_cast<std::size_t>(
            std::upper_bound(r.begin(), r.end(), q0[k], [](Index v, const Range& x) { return v < x.to; }) -
            r.begin());
    }
    Index j = 0;
    while (j < row.count) {
        Index end = row.count;
        std::uint8_t uncut = 0;
        std::uint64_t fewest = MostEdgeCuts;
        for (int k = 0; k < CornersPerDie; ++k) {
            const auto& r = *ranges[k];
            while (at[k] < r.size() && r[at[k]].to <= q0[k] + j)
                ++at[k];
            const std::uint64_t c = at[k] < r.size() ? r[at[k]].count : 0;
            end = std::min(end, at[k] < r.size() ? r[at[k]].to - q0[k] : row.count);
            fewest = std::min(fewest, c);
            if (c < wanted)
                uncut |= static_cast<std::uint8_t>(1u << k);
        }
        tally.dies(row, static_cast<int>(j), static_cast<int>(end), pitch, uncut, fewest, uncut == 0);
        j = end;
    }
}

void HexagonCuts::across(const Motion& m, Index x0, Index y0, Index x1, Index y1)
{
    const Index dx = x1 - x0, dy = y1 - y0;
    if (dx == 0 && dy == 0) {
        if (!isCorner(x0, y0))
            state_.stray(m);
        return;
    }
    Index ux, uy, steps;
    if (dx == 0 && dy % 2 == 0) {
        ux = 0;
        uy = dy > 0 ? 2 : -2;
        steps = std::abs(dy) / 2;
    } else if (std::abs(dx) == std::abs(dy)) {
        ux = dx > 0 ? 1 : -1;
        uy = dy > 0 ? 1 : -1;
        steps = std::abs(dx);
    } else {
        return state_.stray(m); // no edge runs that way
    }
    // No two edges of the tiling continue one another, so part of such a
    // cut runs through a die or past the dies: it is a stray cut, and
    // every edge it covers is counted. Only steps near the dies are
    // looked at.
    Index first = 0, last = -1;
    grid_.stepsNearBox(x0, y0, ux, uy, steps, EdgeReach, first, last);
    if (!state_.work(static_cast<std::uint64_t>(std::max<Index>(last - first + 1, 0))))
        return state_.stray(m);
    for (Index i = first; i <= last; ++i) {
        EdgeLine* line = nullptr;
        Index q = 0;
        if (edgeAt(x0 + ux * i, y0 + uy * i, x0 + ux * (i + 1), y0 + uy * (i + 1), line, q) && line->covers(q))
            line->counts.add(q, q + 1, added(), line->n);
    }
    state_.stray(m);
}

bool HexagonCuts::isCorner(Index ix, Index iy) const
{
    for (int k = 0; k < CornersPerDie; ++k)
        if (grid_.find(ix - CornerX[k], iy - CornerY[k]) >= 0)
            return true;
    return false;
}

} // namespace kerf::cutcheck
