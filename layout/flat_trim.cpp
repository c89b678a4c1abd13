// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/flat_trim.h"

#include <algorithm>
#include <cmath>

#include "layout/line_walk.h"

namespace kerf {
namespace {

// One record's positions: offset `start` + j·step along, fixed across (Y up).
struct RecordLine {
    bool alongX = true;
    Decimal start; // along offset of position 0 from the centre, Y up for columns
    Decimal step;  // signed, from one position to the next
    double across = 0;
    int positions = 0;
};

struct Kept {
    int first = 0;
    int last = -1;
};

double dot(const RecordLine& line, const ProbeOffsets& offsets, int j, const KeepOutLine& l)
{
    const double along = offsets.at(j); // the double nearest to start + j·step
    return line.alongX ? along * l.nx + line.across * l.ny : line.across * l.nx + along * l.ny;
}

// The positions [first, last] behind every line: each line keeps a prefix or
// a suffix of them, found by bisection (c·n moves one way along the record).
template <typename Behind>
Kept keptPositions(const RecordLine& line, const std::vector<KeepOutLine>& lines, const Behind& behind)
{
    Kept kept{0, line.positions - 1};
    const ProbeLine probes{line.start, -line.step, line.across};
    const ProbeOffsets offsets(probes);
    for (const KeepOutLine& l : lines) {
        const double slope = (line.alongX ? l.nx : l.ny) * (line.step.isNegative() ? -1 : 1);
        const auto keeps = [&](int j) { return behind(dot(line, offsets, j, l), l); };
        if (slope == 0) {
            if (!keeps(0))
                return {0, -1};
            continue;
        }
        // With a rising c·n the kept positions are a prefix: find its end.
        int lo = 0, hi = line.positions - 1;
        if (keeps(slope > 0 ? hi : lo))
            continue; // the farthest is kept: all are
        if (slope > 0) {
            if (!keeps(lo))
                return {0, -1};
            while (lo < hi) {
                const int middle = lo + (hi - lo + 1) / 2;
                if (keeps(middle))
                    lo = middle;
                else
                    hi = middle - 1;
            }
            kept.last = std::min(kept.last, lo);
        } else {
            if (!keeps(hi))
                return {0, -1};
            while (lo < hi) {
                const int middle = lo + (hi - lo) / 2;
                if (keeps(middle))
                    hi = middle;
                else
                    lo = middle + 1;
            }
            kept.first = std::max(kept.first, lo);
        }
    }
    return kept;
}

template <typename LineOf, typename Behind, typename Cut>
void trimTable(LayoutTable& table, const std::vector<KeepOutLine>& lines, const LineOf& lineOf,
               const Behind& behind, const Cut& cut)
{
    const int N = table.upperBound();
    const int K = table.half();
    LayoutTable trimmed;
    int half = 0;
    for (int index = 1; index <= N; ++index) {
        const RecordLine line = lineOf(table[index]);
        const Kept kept = keptPositions(line, lines, behind);
        if (kept.last < kept.first)
            continue;
        trimmed.grow();
        LayoutRow& row = trimmed[trimmed.upperBound()];
        row = table[index];
        cut(row, kept);
        if (index <= K)
            ++half;
    }
    trimmed.setHalf(half);
    table = std::move(trimmed);
}

Number shifted(const Number& value, const Decimal& by)
{
    return by.isZero() ? value : Number::ofDecimal(value.toDecimal() + by);
}

} // namespace

double dieReach(const WaferLayout& layout, double nx, double ny)
{
    const double a = layout.HalfDieSize;
    switch (layout.shape) {
    case DieShape::Circle: return a;
    case DieShape::Hexagon: {
        const double h = layout.HexHalfSide.toDouble();
        return std::max(std::fabs(nx) * a + std::fabs(ny) * h, std::fabs(ny) * (2 * h));
    }
    case DieShape::Square: return 0;
    }
    return 0;
}

void trimByFlats(WaferLayout& layout, const std::vector<KeepOutLine>& lines)
{
    if (lines.empty())
        return;
    const LayoutPoint& centre = waferCentre();
    const Decimal pitch = layout.DiePitch.toDecimal();
    if (layout.shape != DieShape::Square) {
        const auto lineOf = [&](const LayoutRow& row) {
            return RecordLine{true, row.PosX.toDecimal() - centre.X, pitch, (centre.Y - row.PosY.toDecimal()).toDouble(),
                              row.DieCount};
        };
        const auto behind = [&](double cn, const KeepOutLine& l) { return cn + dieReach(layout, l.nx, l.ny) <= l.k; };
        trimTable(layout.RowTable, lines, lineOf, behind, [&](LayoutRow& row, Kept kept) {
            const Decimal by = pitch * kept.first;
            row.PosX = shifted(row.PosX, by);
            row.RelX = shifted(row.RelX, by);
            row.DieCount = static_cast<std::int16_t>(kept.last - kept.first + 1);
        });
        return;
    }
    const auto usable = [](double cn, const KeepOutLine& l) { return cn < l.k; };
    const auto rowOf = [&](const LayoutRow& row) {
        return RecordLine{true, row.PosX.toDecimal() - centre.X, pitch, (centre.Y - row.PosY.toDecimal()).toDouble(),
                          row.DieCount + 1};
    };
    trimTable(layout.RowTable, lines, rowOf, usable, [&](LayoutRow& row, Kept kept) {
        const Decimal by = pitch * kept.first;
        row.PosX = shifted(row.PosX, by);
        row.RelX = shifted(row.RelX, by);
        row.DieCount = static_cast<std::int16_t>(kept.last - kept.first);
    });
    const Decimal rowPitch = layout.RowPitch.toDecimal();
    const auto columnOf = [&](const LayoutRow& column) {
        return RecordLine{false, centre.Y - column.PosY.toDecimal(), -rowPitch,
                          (column.PosX.toDecimal() - centre.X).toDouble(), column.DieCount + 1};
    };
    trimTable(layout.ColumnTable, lines, columnOf, usable, [&](LayoutRow& column, Kept kept) {
        const Decimal by = rowPitch * kept.first;
        column.PosY = shifted(column.PosY, by);
        column.RelY = shifted(column.RelY, by);
        column.DieCount = static_cast<std::int16_t>(kept.last - kept.first);
    });
}

} // namespace kerf
