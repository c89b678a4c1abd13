// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/internal/die_grid.h"

#include <algorithm>
#include <limits>

#include "layout/die_centres.h"

namespace kerf::cutcheck {

DieGrid::DieGrid(const WaferLayout& layout, LatticeAxis ax, LatticeAxis ay, double& latticeDeviation)
{
    const double pitch = layout.DiePitch.toDecimal().toDouble();
    rows_.reserve(static_cast<std::size_t>(std::max(layout.RowTable.upperBound(), 0)));
    forEachDieRow(layout, [&](const DieRow& row) {
        if (row.count <= 0)
            return;
        Row r;
        r.x = row.x.toDouble();
        r.y = row.y.toDouble();
        r.count = row.count;
        r.number = row.row;
        r.first = dies_;
        dies_ += row.count;
        // The dies of a row drift from the lattice evenly: the end dies drift most.
        const LatticeSnap sx = ax.snap(r.x), sy = ay.snap(r.y), sLast = ax.snap(r.x + pitch * (row.count - 1));
        r.ix = sx.index;
        r.iy = sy.index;
        r.placed = sx.valid && sy.valid && sLast.valid && sLast.index == r.ix + 2 * Index(row.count - 1);
        latticeDeviation = r.placed ? std::max({latticeDeviation, ax.inches(sx), ay.inches(sy), ax.inches(sLast)})
                                    : std::numeric_limits<double>::infinity();
        rows_.push_back(r);
    });
    bool any = false;
    for (const Row& r : rows_) {
        if (!r.placed)
            continue;
        if (!any) {
            iyMin_ = iyMax_ = r.iy;
            ixMin_ = r.ix;
            ixMax_ = r.last();
            any = true;
        }
        iyMin_ = std::min(iyMin_, r.iy);
        iyMax_ = std::max(iyMax_, r.iy);
        ixMin_ = std::min(ixMin_, r.ix);
        ixMax_ = std::max(ixMax_, r.last());
    }
    if (!any)
        return;
    if (!rowAt_.cover(iyMin_, iyMax_, rows_.size())) {
        for (Row& r : rows_)
            r.placed = false;
        latticeDeviation = std::numeric_limits<double>::infinity();
        return;
    }
    for (std::size_t k = 0; k < rows_.size(); ++k)
        if (rows_[k].placed) // two rows on one lattice row: the dies of the second are never found
            rowAt_.keepFirst(rows_[k].iy, k);
}

void DieGrid::stepsNearBox(Index x0, Index y0, Index ux, Index uy, Index steps, Index margin, Index& first,
                           Index& last) const
{
    first = 0;
    last = empty() ? -1 : steps - 1;
    const auto floorDiv = [](Index a, Index b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); };
    const auto clip = [&](Index p, Index u, Index lo, Index hi) {
        if (u == 0) {
            if (p < lo || p > hi)
                last = -1;
            return;
        }
        // lo <= p + u i <= hi
        first = std::max(first, u > 0 ? -floorDiv(p - lo, u) : -floorDiv(p - hi, u));
        last = std::min(last, u > 0 ? floorDiv(hi - p, u) : floorDiv(lo - p, u));
    };
    clip(x0, ux, ixMin_ - margin, ixMax_ + margin);
    clip(y0, uy, iyMin_ - margin, iyMax_ + margin);
}

} // namespace kerf::cutcheck
