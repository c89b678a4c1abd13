// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/shapes/hexagon_cuts.h"

#include <cmath>
#include <limits>

#include "program/check/internal/cut_histogram.h"
#include "program/check/internal/lattice_index.h"
#include "program/check/internal/run_levels.h"

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
    if (!coversAll(*line, lo, hi))
        return false;
    line->counts.add(lo, hi, added(), line->n);
    return true;
}

void HexagonCuts::finish(int passes, DieTally& tally)
{
    settleParts();
    state_.matched(std::max(worstX_ * ax_.step, worstY_ * ay_.step));
    const auto wanted = static_cast<std::uint64_t>(std::min<int>(passes, int(MostEdgeCuts)));
    countEdges(wanted);
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

void HexagonCuts::countEdges(std::uint64_t wanted)
{
    CutHistogram histogram;
    // Each edge once: the counts along a line against its stretches of dies' edges.
    for (EdgeLine& line : lines_) {
        line.counts.merge();
        RangeCounts::Walk walk(line.counts.events());
        for (std::uint32_t v = line.validFrom; v < line.validTo; ++v) {
            for (Index at = valid_[v].from; at < valid_[v].to;) {
                const std::uint64_t count = edgeCuts(walk, at);
                const Index next = walk.changeBefore(valid_[v].to);
                histogram.add(count, next - at);
                if (count < wanted)
                    state_.report.uncutEdges += next - at;
                at = next;
            }
        }
    }
    state_.report.elementsByCutCount = histogram.result();
}

HexagonCuts::EdgeLine* HexagonCuts::edgeOf(const DieGrid::Row& row, int k, Index& q)
{
    const CornerRow* r = cornerRow(row.iy + EdgeY[k]);
    q = (row.ix + EdgeX[k] - r->x0) >> 1;
    return &lines_[static_cast<std::size_t>(r->line[EdgeKindOf[k]])];
}

void HexagonCuts::buildLines()
{
    if (grid_.empty() || !buildCornerRows())
        return;
    numberLines();
    edgesInside_ = cornersInside();
}

bool HexagonCuts::buildCornerRows()
{
    yMin_ = grid_.iyMin() - 2;
    const auto far = [](Index v) { return v < -MostColumn || v > MostColumn; };
    bool offLattice = far(yMin_) || far(grid_.iyMax() + 1) || far(grid_.ixMin() - 1) || far(grid_.ixMax() + 1);
    if (!offLattice)
        rows_.assign(static_cast<std::size_t>(grid_.iyMax() + 1 - yMin_ + 1), {});
    const auto take = [&](Index y, Index from, Index to) {
        CornerRow& r = rows_[static_cast<std::size_t>(y - yMin_)];
        if (r.x1 < r.x0) {
            r.x0 = static_cast<Column>(from);
            r.x1 = static_cast<Column>(to);
            return;
        }
        offLattice |= ((from - r.x0) & 1) != 0; // corners of both parities on one row
        r.x0 = std::min(r.x0, static_cast<Column>(from));
        r.x1 = std::max(r.x1, static_cast<Column>(to));
    };
    for (const DieGrid::Row& row : grid_.rows()) {
        if (offLattice)
            break;
        if (!row.placed)
            continue;
        take(row.iy - 2, row.ix, row.last());
        take(row.iy - 1, row.ix - 1, row.last() + 1);
        take(row.iy + 1, row.ix - 1, row.last() + 1);
    }
    Index span = 0;
    for (const CornerRow& r : rows_)
        if (r.x1 >= r.x0)
            span += ((r.x1 - r.x0) >> 1) + 1;
    // Corners of both parities on one row, rows far apart in their columns
    // or far out: the layout is off its lattice and no edge is found.
    if (offLattice || !inProportion(span, static_cast<std::size_t>(grid_.dies()) * CornersPerDie)) {
        rows_.clear();
        state_.report.latticeDeviation = std::numeric_limits<double>::infinity();
        return false;
    }
    return true;
}

void HexagonCuts::numberLines()
{
    // Three walks over the dies' edges: the lines, numbered as first met; the
    // stretches of dies' edges on each (one per die row that holds edges
    // there); the stretches themselves, in valid_ line after line. Every
    // vector is made once at its size.
    const auto forEachEdge = [this](auto&& f) {
        for (const DieGrid::Row& row : grid_.rows()) {
            if (!row.placed)
                continue;
            for (int k = 0; k < CornersPerDie; ++k) {
                CornerRow& r = rows_[static_cast<std::size_t>(row.iy + EdgeY[k] - yMin_)];
                f(row, r, r.line[EdgeKindOf[k]], (row.ix + EdgeX[k] - r.x0) >> 1);
            }
        }
    };
    std::int32_t lineCount = 0;
    forEachEdge([&lineCount](const DieGrid::Row&, CornerRow&, std::int32_t& line, Index) {
        if (line < 0)
            line = lineCount++;
    });
    // Room for the few events of every line: most need four or six.
    constexpr std::size_t CountsPerLine = 96;
    countsArena_.emplace(std::max(std::size_t(64) << 10, CountsPerLine * static_cast<std::size_t>(lineCount)),
                         largePageMemory());
    countsMemory_.emplace(&*countsArena_);
    lines_.reserve(static_cast<std::size_t>(lineCount));
    for (std::int32_t l = 0; l < lineCount; ++l)
        lines_.emplace_back(&*countsMemory_);
    forEachEdge([this](const DieGrid::Row&, CornerRow& r, std::int32_t line, Index) {
        EdgeLine& l = lines_[static_cast<std::size_t>(line)];
        l.n = ((r.x1 - r.x0) >> 1) + 1;
        ++l.validTo;
    });
    std::uint32_t stretches = 0;
    for (EdgeLine& line : lines_) {
        line.validFrom = stretches;
        stretches += line.validTo;
        line.validTo = line.validFrom;
    }
    valid_.resize(stretches);
    forEachEdge([this](const DieGrid::Row& row, CornerRow&, std::int32_t line, Index q) {
        valid_[lines_[static_cast<std::size_t>(line)].validTo++] = {static_cast<Column>(q),
                                                                    static_cast<Column>(q + row.count)};
    });
    for (EdgeLine& line : lines_) {
        Interval* v = valid_.data() + line.validFrom;
        const auto count = line.validTo - line.validFrom;
        std::sort(v, v + count, [](const Interval& a, const Interval& b) { return a.from < b.from; });
        std::uint32_t out = 0;
        for (std::uint32_t i = 0; i < count; ++i) {
            if (out > 0 && v[i].from <= v[out - 1].to)
                v[out - 1].to = std::max(v[out - 1].to, v[i].to);
            else
                v[out++] = v[i];
        }
        line.validTo = line.validFrom + out;
    }
}

bool HexagonCuts::cornersInside() const
{
    // The farthest corners of a row are those of its end dies.
    bool inside = true;
    for (const DieGrid::Row& row : grid_.rows()) {
        if (!row.placed)
            continue;
        for (const Index cx : {row.ix, row.last()})
            for (int k = 0; k < CornersPerDie; ++k) {
                const ProgramPoint corner{(cx + CornerX[k]) * ax_.step, (row.iy + CornerY[k]) * ay_.step};
                inside &= std::hypot(corner.x, corner.y) <= state_.radius && state_.behindLines(corner);
            }
    }
    return inside;
}

void HexagonCuts::sweepRow(const DieGrid::Row& row, std::uint64_t wanted, double pitch, DieTally& tally)
{
    Index q0[CornersPerDie];
    RangeCounts::Walk walks[CornersPerDie];
    for (int k = 0; k < CornersPerDie; ++k)
        walks[k] = RangeCounts::Walk(edgeOf(row, k, q0[k])->counts.events());
    Index j = 0;
    while (j < row.count) {
        Index end = row.count;
        std::uint8_t uncut = 0;
        std::uint64_t fewest = MostEdgeCuts;
        for (int k = 0; k < CornersPerDie; ++k) {
            const std::uint64_t c = edgeCuts(walks[k], q0[k] + j);
            end = std::min(end, walks[k].changeBefore(q0[k] + row.count) - q0[k]);
            fewest = std::min(fewest, c);
            if (c < wanted)
                uncut |= static_cast<std::uint8_t>(1u << k);
        }
        tally.dies(row, static_cast<int>(j), static_cast<int>(end), pitch, uncut, fewest, uncut == 0);
        j = end;
    }
}

void HexagonCuts::alongEdges(const Motion& m)
{
    // In lattice steps: an edge runs up two rows, or one row and one column.
    const double u0 = m.from.x * ax_.inverse, v0 = m.from.y * ay_.inverse;
    const double u1 = m.to.x * ax_.inverse, v1 = m.to.y * ay_.inverse;
    const double tu = toleranceX_, tv = toleranceY_;
    // A cut far off every wafer touches no edge (and its lattice places do not fit an Index).
    if (!(std::abs(u0) < FarLattice && std::abs(v0) < FarLattice && std::abs(u1) < FarLattice &&
          std::abs(v1) < FarLattice))
        return state_.stray(m);
    // The line the cut lies on, by the kind of its edges; its place along
    // the line is told by v (up) or u (slanted). Candidate edges start at
    // (cx + ux·i, cy + uy·i) and run to (cx + ux·i + ex, cy + uy·i + ey).
    Index cx, cy, ux, uy, ex, ey;
    double lo, hi, tol;
    const double c = std::round(u0);
    if (std::abs(u0 - c) <= tu && std::abs(u1 - c) <= tu) { // up
        lo = std::min(v0, v1);
        hi = std::max(v0, v1);
        cx = static_cast<Index>(c);
        cy = static_cast<Index>(std::floor(lo)) - 2;
        ux = 0, uy = 1, ex = 0, ey = 2, tol = tv;
    } else if (const double d = std::round(v0 - u0); std::abs(v0 - u0 - d) <= tu + tv &&
                                                       std::abs(v1 - u1 - d) <= tu + tv) { // up right
        lo = std::min(u0, u1);
        hi = std::max(u0, u1);
        cx = static_cast<Index>(std::floor(lo)) - 1;
        cy = cx + static_cast<Index>(d);
        ux = 1, uy = 1, ex = 1, ey = 1, tol = tu;
    } else if (const double e = std::round(v0 + u0); std::abs(v0 + u0 - e) <= tu + tv &&
                                                      std::abs(v1 + u1 - e) <= tu + tv) { // up left, from its lower end
        lo = std::min(u0, u1);
        hi = std::max(u0, u1);
        cx = static_cast<Index>(std::floor(lo));
        cy = static_cast<Index>(e) - cx;
        ux = 1, uy = -1, ex = -1, ey = 1, tol = tu;
    } else {
        return state_.stray(m); // no edge runs that way
    }
    const Index steps = static_cast<Index>(std::ceil(hi)) - static_cast<Index>(std::floor(lo)) + 4;
    Index first = 0, last = -1;
    grid_.stepsNearBox(cx, cy, ux, uy, steps, EdgeReach, first, last);
    if (!state_.work(static_cast<std::uint64_t>(std::max<Index>(last - first + 1, 0))))
        return state_.stray(m);
    double covered = 0;
    for (Index i = first; i <= last; ++i) {
        const Index x = cx + ux * i, y = cy + uy * i;
        EdgeLine* line = nullptr;
        Index q = 0;
        if (!edgeAt(x, y, x + ex, y + ey, line, q) || !covers(*line, q))
            continue;
        // The edge's stretch along the line, and what the cut covers of it.
        const double e0 = ux == 0 ? static_cast<double>(y) : static_cast<double>(std::min(x, x + ex));
        const double e1 = e0 + (ux == 0 ? 2 : 1);
        const double a = std::max(lo, e0), b = std::min(hi, e1);
        if (b - a <= tol)
            continue;
        covered += b - a;
        if (b - a >= e1 - e0 - tol) {
            line->counts.add(q, q + 1, added(), line->n);
            continue;
        }
        const auto k = static_cast<std::uint64_t>(line - lines_.data());
        // Fractions from the edge's lower end.
        double from = (a - e0) / (e1 - e0), to = (b - e0) / (e1 - e0);
        if (ex < 0) { // up left: u falls from its lower end
            from = 1 - (b - e0) / (e1 - e0);
            to = 1 - (a - e0) / (e1 - e0);
        }
        if (!parts_.add((k << 32) | static_cast<std::uint64_t>(q), from, to, added()))
            state_.beyondBounds();
    }
    if (hi - lo - covered > tol)
        state_.stray(m);
}

void HexagonCuts::settleParts()
{
    if (partsSettled_)
        return;
    partsSettled_ = true;
    parts_.forEachCovered(std::max(toleranceX_, toleranceY_ / 2), [this](std::uint64_t element, std::int64_t cuts) {
        EdgeLine& line = lines_[element >> 32];
        const auto q = static_cast<Index>(element & 0xFFFFFFFFu);
        line.counts.add(q, q + 1, std::min<std::int64_t>(cuts, MostEdgeCuts), line.n);
    });
}


} // namespace kerf::cutcheck
