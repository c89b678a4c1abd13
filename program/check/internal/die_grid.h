// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory_resource>
#include <vector>

#include "layout/wafer_layout.h"
#include "memory/large_pages.h"
#include "program/check/internal/lattice.h"
#include "program/check/internal/lattice_index.h"

namespace kerf::cutcheck {

/// The rows of dies of a layout on a lattice on which the dies of a row lie
/// two columns apart: a die is found from its lattice point with a few
/// subtractions and one lookup.
class DieGrid {
public:
    /// A row of dies, numbered as the report gives them.
    struct Row {
        Index ix = 0; // lattice column of the leftmost die
        Index iy = 0;
        int count = 0;
        int number = 0;  // from the top, 1-based
        Index first = 0; // index of its leftmost die among all dies
        double x = 0;    // centre of the leftmost die
        double y = 0;
        bool placed = false; // on the lattice (rows far off it are never found)
        /// Lattice column of the rightmost die: the dies of a row lie two columns apart.
        Index last() const { return ix + 2 * Index(count - 1); }
    };

    /// Raises `latticeDeviation` to how far the dies lie from the lattice
    /// (infinity when a row lies off it).
    DieGrid(const WaferLayout& layout, LatticeAxis ax, LatticeAxis ay, double& latticeDeviation);

    const std::pmr::vector<Row>& rows() const { return rows_; }
    Index dies() const { return dies_; }
    bool empty() const { return rowAt_.empty(); }
    Index ixMin() const { return ixMin_; }
    Index ixMax() const { return ixMax_; }
    Index iyMin() const { return iyMin_; }
    Index iyMax() const { return iyMax_; }

    /// The row on lattice row `iy`, nullptr for none.
    const Row* rowAt(Index iy) const { return rowAt_.in(std::span(rows_), iy); }

    /// The index of the die centred on lattice point (ix, iy), or −1.
    Index find(Index ix, Index iy) const
    {
        const Row* row = rowAt(iy);
        if (!row)
            return -1;
        const Index d = ix - row->ix;
        if (d < 0 || (d & 1) != 0 || (d >> 1) >= row->count)
            return -1;
        return row->first + (d >> 1);
    }

    /// The steps i in [0, steps) of a walk from (x0, y0) by (ux, uy) whose
    /// start lies within `margin` of the dies' box: [first, last], empty when
    /// last < first.
    void stepsNearBox(Index x0, Index y0, Index ux, Index uy, Index steps, Index margin, Index& first,
                      Index& last) const;

private:
    std::pmr::vector<Row> rows_{largePageMemory()};
    LatticeIndex rowAt_; // by iy: the row there (the first of two on one lattice row)
    Index dies_ = 0;
    Index ixMin_ = 0, ixMax_ = 0, iyMin_ = 0, iyMax_ = 0;
};

} // namespace kerf::cutcheck
