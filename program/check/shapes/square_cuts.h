// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include "layout/wafer_layout.h"
#include "program/check/internal/check_state.h"
#include "program/check/shapes/column_counts.h"
#include "program/check/internal/die_grid.h"
#include "program/check/internal/die_tally.h"
#include "program/check/shapes/grid_lines.h"
#include "program/check/internal/lattice.h"
#include "program/check/internal/lattice_index.h"
#include "program/check/internal/part_cuts.h"

namespace kerf::cutcheck {

/// The check of a square layout's cuts (a ShapeCheck).
///
/// The grid's row lines and column lines on a lattice of pitches through the
/// wafer centre; a die is a cell that the grid closes. Each line counts its
/// cuts a pitch-long piece at a time.
class SquareCuts {
public:
    SquareCuts(const WaferLayout& layout, CheckState& state);

    Index dies() const { return dies_; }
    double allowance() const { return 0; }
    /// Runs of cuts are matched copy by copy: a square program cuts a whole
    /// grid line in one motion, so its runs are short.
    bool cutRun(const Motion&, ProgramPoint, std::uint64_t) { return false; }

    void cut(const Motion& m);

    void finish(int passes, DieTally& tally);

private:
    struct CellRow {
        DieGrid::Row row; // centre of the first cell, count, number
        Index left = 0;   // lattice column of the first cell's left side
        Index bottom = 0; // lattice row of the cells' bottom side
    };

    /// The cells of a row in stretches whose four sides keep their counts.
    void sweepRow(const CellRow& cells, const ColumnCounts& columns, std::uint64_t wanted, DieTally& tally);

    /// The cells of a row one by one: the reference the stretches are compared with.
    void walkRow(const CellRow& cells, std::uint64_t wanted, DieTally& tally);

    const CellRow* cellRowAt(Index bottom) const { return cellRowAt_.in(std::span(cellRows_), bottom); }

    /// A lattice point on one of the grid's lines, ends included.
    bool onGrid(Index i, Index j);

    /// A cut along a line of the grid from `a` to `b` (inches along it):
    /// counts the pieces it covers whole and keeps the parts of pieces; a
    /// cut past the line's ends, or on no line, is a stray one (its part on
    /// the line still counts).
    void along(const Motion& m, GridLines& lines, GridLines::Line* line, double a, double b, const LatticeAxis& axis,
               double across);

    /// Adds the parts of pieces to the lines' counts, once.
    void settleParts();

    CheckState& state_;
    LatticeAxis ax_, ay_;
    GridLines rows_, columns_;
    std::vector<CellRow> cellRows_;
    LatticeIndex cellRowAt_;    // by bottom: the row of cells there (the last of two)
    std::vector<Index> breaks_; // where a row's stretches of alike cells begin
    Index dies_ = 0;
    PartCuts parts_; // by line (columns after rows) and piece
    bool partsSettled_ = false;
};

} // namespace kerf::cutcheck
