// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/shapes/square_cuts.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "layout/die_centres.h"
#include "layout/wafer_centre.h"
#include "program/check/internal/cut_histogram.h"

namespace kerf::cutcheck {

namespace {

// Cuts of one piece that a line counts at most: far past any pass count, far
// from overflowing the sums of its events.
constexpr std::uint64_t MostLineCuts = std::uint64_t(1) << 40;

/// The verdict on a cell from the cut counts of its four sides (left, top,
/// right, bottom): the sides cut too few times (bit s for side s) and the
/// fewest cuts of any.
struct CellSides {
    std::uint8_t uncut = 0;
    std::uint64_t fewest = 0;
};

CellSides cellSides(const std::uint64_t (&side)[4], std::uint64_t wanted)
{
    CellSides cell{0, side[0]};
    for (int s = 0; s < 4; ++s) {
        cell.fewest = std::min(cell.fewest, side[s]);
        if (side[s] < wanted)
            cell.uncut |= static_cast<std::uint8_t>(1u << s);
    }
    return cell;
}

} // namespace

SquareCuts::SquareCuts(const WaferLayout& layout, CheckState& state)
    : state_(state), ax_(layout.DiePitch.toDecimal().toDouble()), ay_(layout.RowPitch.toDecimal().toDouble())
{
    const Decimal& cx = waferCentre().X;
    const Decimal& cy = waferCentre().Y;
    double& deviation = state.report.latticeDeviation;
    const auto snap = [&deviation](const LatticeAxis& axis, double value) {
        const LatticeSnap snapped = axis.snap(value);
        deviation = std::max(deviation, snapped.valid ? axis.inches(snapped) : std::numeric_limits<double>::infinity());
        return snapped.index;
    };
    for (int r = 1; r <= layout.RowTable.upperBound(); ++r) {
        const LayoutRow& row = layout.RowTable[r];
        rows_.add(snap(ay_, (cy - row.PosY.toDecimal()).toDouble()), snap(ax_, (row.PosX.toDecimal() - cx).toDouble()),
                  row.DieCount);
    }
    // A column runs down from its PosY.
    for (int c = 1; c <= layout.ColumnTable.upperBound(); ++c) {
        const LayoutRow& column = layout.ColumnTable[c];
        const Index top = snap(ay_, (cy - column.PosY.toDecimal()).toDouble());
        columns_.add(snap(ax_, (column.PosX.toDecimal() - cx).toDouble()), top - std::max<int>(column.DieCount, 0),
                     column.DieCount);
    }
    rows_.index();
    columns_.index();
    forEachDieRow(layout, [&](const DieRow& row) {
        if (row.count <= 0)
            return;
        CellRow cells;
        cells.row.count = row.count;
        cells.row.number = row.row;
        cells.row.x = row.x.toDouble();
        cells.row.y = row.y.toDouble();
        cells.left = snap(ax_, cells.row.x - ax_.step / 2);
        cells.bottom = snap(ay_, cells.row.y - ay_.step / 2);
        dies_ += row.count;
        cellRows_.push_back(cells);
    });
    if (cellRows_.empty())
        return;
    const auto [lo, hi] = std::minmax_element(cellRows_.begin(), cellRows_.end(),
                                              [](const auto& a, const auto& b) { return a.bottom < b.bottom; });
    if (!cellRowAt_.cover(lo->bottom, hi->bottom, cellRows_.size()))
        return;
    for (std::size_t k = 0; k < cellRows_.size(); ++k)
        cellRowAt_.put(cellRows_[k].bottom, k);
}

void SquareCuts::cut(const Motion& m)
{
    if (m.kind != MotionKind::Straight)
        return state_.stray(m);
    state_.straight(m);
    const LatticeSnap x0 = ax_.snap(m.from.x), y0 = ay_.snap(m.from.y), x1 = ax_.snap(m.to.x), y1 = ay_.snap(m.to.y);
    if (!x0.valid || !y0.valid || !x1.valid || !y1.valid)
        return state_.stray(m);
    const double d[4] = {ax_.inches(x0), ay_.inches(y0), ax_.inches(x1), ay_.inches(y1)};
    const double tol = state_.tolerance;
    const bool onRowLine = d[1] <= tol && d[3] <= tol && y0.index == y1.index;
    const bool onColumnLine = d[0] <= tol && d[2] <= tol && x0.index == x1.index;
    if (onRowLine && onColumnLine) { // a point on a lattice point
        if (!onGrid(x0.index, y0.index))
            return state_.stray(m);
        state_.matched(std::max({d[0], d[1], d[2], d[3]}));
        return;
    }
    if (onRowLine)
        return along(m, rows_, rows_.at(y0.index), m.from.x, m.to.x, ax_, std::max(d[1], d[3]));
    if (onColumnLine)
        return along(m, columns_, columns_.at(x0.index), m.from.y, m.to.y, ay_, std::max(d[0], d[2]));
    state_.stray(m); // on no line of the grid
}

void SquareCuts::settleParts()
{
    if (partsSettled_)
        return;
    partsSettled_ = true;
    const double slack = state_.tolerance / std::min(ax_.step, ay_.step);
    parts_.forEachCovered(slack, [this](std::uint64_t element, std::int64_t cuts) {
        const auto k = static_cast<std::size_t>(element >> 32);
        GridLines::Line& line = k < rows_.size() ? rows_.line(k) : columns_.line(k - rows_.size());
        const auto piece = line.from + static_cast<Index>(element & 0xFFFFFFFFu);
        GridLines::cut(line, piece, piece + 1, std::min<std::int64_t>(cuts, MostLineCuts));
    });
}

void SquareCuts::finish(int passes, DieTally& tally)
{
    settleParts();
    CutHistogram histogram;
    rows_.finish(histogram);
    columns_.finish(histogram);
    state_.report.elementsByCutCount = histogram.result();
    const std::uint64_t wanted = static_cast<std::uint64_t>(passes);
    // The columns are followed downwards for rows from the top, as the
    // layouts give them; the reference check looks at every cell.
    bool fromTheTop = !state_.options.literal;
    for (std::size_t k = 1; k < cellRows_.size(); ++k)
        fromTheTop &= cellRows_[k].bottom < cellRows_[k - 1].bottom;
    ColumnCounts columnCounts(columns_, fromTheTop);
    // A survey before this count left the walks where it ended.
    columns_.restartWalks();
    Index lastBottom = std::numeric_limits<Index>::max();
    for (const CellRow& cells : cellRows_) {
        // The columns are walked downwards: rows from the top, as the layouts give them.
        if (cells.bottom >= lastBottom)
            columns_.restartWalks();
        lastBottom = cells.bottom;
        if (columnCounts.follow(cells.bottom))
            sweepRow(cells, columnCounts, wanted, tally);
        else
            walkRow(cells, wanted, tally);
        if (!tally.rowDone(cells.row.count))
            return;
    }
}

void SquareCuts::walkRow(const CellRow& cells, std::uint64_t wanted, DieTally& tally)
{
    CutReport& report = state_.report;
    const DieGrid::Row& row = cells.row;
    GridLines::Walk bottom(rows_.at(cells.bottom));
    GridLines::Walk top(rows_.at(cells.bottom + 1));
    const CellRow* above = cellRowAt(cells.bottom + 1);
    Index i = cells.left;
    GridLines::Line* left = columns_.at(i);
    for (int k = 0; k < row.count; ++k, ++i) {
        GridLines::Line* right = columns_.at(i + 1);
        // Left, top, right, bottom.
        const std::uint64_t side[4] = {GridLines::countBelow(left, cells.bottom), top.count(i),
                                       GridLines::countBelow(right, cells.bottom), bottom.count(i)};
        left = right;
        const CellSides cell = cellSides(side, wanted);
        // Each side once: left and bottom here, right and top only
        // when no cell lies beyond them.
        const bool cellRight = k + 1 < row.count;
        const bool cellAbove = above && i >= above->left && i < above->left + above->row.count;
        report.uncutEdges += (side[0] < wanted) + (side[3] < wanted) + (!cellRight && side[2] < wanted) +
                             (!cellAbove && side[1] < wanted);
        tally.die(row, k, ax_.step, cell.uncut, cell.fewest, cell.uncut == 0);
    }
}

void SquareCuts::sweepRow(const CellRow& cells, const ColumnCounts& columns, std::uint64_t wanted, DieTally& tally)
{
    CutReport& report = state_.report;
    const DieGrid::Row& row = cells.row;
    const Index l = cells.left;
    const Index n = row.count;
    const GridLines::Line* bottom = rows_.at(cells.bottom);
    const GridLines::Line* top = rows_.at(cells.bottom + 1);
    const CellRow* above = cellRowAt(cells.bottom + 1);
    breaks_.assign({0, n, n - 1});
    // A cell between two columns of different counts stands alone.
    columns.stepsIn(l, l + n, [&](Index p) {
        breaks_.push_back(p - l - 1);
        breaks_.push_back(p - l);
    });
    for (const GridLines::Line* line : {bottom, top})
        GridLines::changesIn(line, l, l + n, [&](Index at) { breaks_.push_back(at - l); });
    if (above) {
        breaks_.push_back(above->left - l);
        breaks_.push_back(above->left + above->row.count - l);
    }
    std::sort(breaks_.begin(), breaks_.end());
    breaks_.erase(std::unique(breaks_.begin(), breaks_.end()), breaks_.end());
    for (std::size_t b = 0; b + 1 < breaks_.size(); ++b) {
        const Index k0 = breaks_[b], k1 = breaks_[b + 1];
        if (k0 < 0 || k1 > n || k0 >= k1)
            continue;
        const Index i = l + k0;
        // Left, top, right, bottom.
        const std::uint64_t side[4] = {columns.at(i), GridLines::countAt(top, i), columns.at(i + 1),
                                       GridLines::countAt(bottom, i)};
        const CellSides cell = cellSides(side, wanted);
        // Each side once: left and bottom per cell, right and top only
        // where no cell lies beyond them.
        const Index len = k1 - k0;
        const bool cellAbove = above && i >= above->left && i < above->left + above->row.count;
        report.uncutEdges += len * ((side[0] < wanted) + (side[3] < wanted)) + (k1 == n && side[2] < wanted) +
                             (!cellAbove && side[1] < wanted ? len : 0);
        tally.dies(row, static_cast<int>(k0), static_cast<int>(k1), ax_.step, cell.uncut, cell.fewest, cell.uncut == 0);
    }
}

bool SquareCuts::onGrid(Index i, Index j)
{
    const GridLines::Line* row = rows_.at(j);
    if (row && i >= row->from && i <= row->end())
        return true;
    const GridLines::Line* column = columns_.at(i);
    return column && j >= column->from && j <= column->end();
}

void SquareCuts::along(const Motion& m, GridLines& lines, GridLines::Line* line, double a, double b,
                       const LatticeAxis& axis, double across)
{
    if (a > b)
        std::swap(a, b);
    const double tol = state_.tolerance;
    if (!line || std::isnan(a) || std::isnan(b)) // a head that went past every number has no place
        return state_.stray(m);
    const double first = static_cast<double>(line->from) * axis.step;
    const double last = static_cast<double>(line->end()) * axis.step;
    if (a < first - tol || b > last + tol)
        state_.stray(m); // its part on the line still counts
    a = std::max(a, first);
    b = std::min(b, last);
    if (b - a <= tol)
        return;
    // Ends on the lattice count as its points; the pieces an end lies in are cut in part.
    const LatticeSnap sa = axis.snap(a), sb = axis.snap(b);
    const double da = axis.inches(sa), db = axis.inches(sb);
    Index lo = da <= tol ? sa.index : static_cast<Index>(std::ceil(a * axis.inverse));
    Index hi = db <= tol ? sb.index : static_cast<Index>(std::floor(b * axis.inverse));
    state_.matched(std::max({across, da <= tol ? da : 0, db <= tol ? db : 0}));
    const std::int64_t times = static_cast<std::int64_t>(std::min<std::uint64_t>(state_.times, MostLineCuts));
    const std::uint64_t lineIndex = static_cast<std::uint64_t>(line - &lines.line(0)) +
                                    (&lines == &columns_ ? rows_.size() : 0);
    const auto part = [&](Index piece, double from, double to) {
        if (to - from > tol * axis.inverse &&
            !parts_.add((lineIndex << 32) | static_cast<std::uint64_t>(piece - line->from), from, to, times))
            state_.beyondBounds();
    };
    if (lo > hi) { // within one piece
        const double at = std::floor(a * axis.inverse);
        part(static_cast<Index>(at), a * axis.inverse - at, b * axis.inverse - at);
        return;
    }
    if (da > tol)
        part(lo - 1, a * axis.inverse - static_cast<double>(lo - 1), 1);
    if (db > tol)
        part(hi, 0, b * axis.inverse - static_cast<double>(hi));
    if (lo < hi)
        GridLines::cut(*line, lo, hi, times);
}

} // namespace kerf::cutcheck
