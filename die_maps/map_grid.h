// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <variant>
#include <vector>

#include "layout/wafer_layout.h"
#include "numbers/decimal.h"

namespace kerf {

/// A map holds at most this many cells (rows × columns): about 50 MB of SINF
/// text, which a map file is read back within.
inline constexpr std::int64_t MaxMapCells = std::int64_t{1} << 24;

/// One row of dies on the map: the column of its leftmost die and how many
/// dies it holds, each `columnStep` columns after the one before.
struct MapRow {
    int firstColumn = 0;
    int count = 0;
};

/// The cells of a layout's wafer map. Rows are the layout's rows from the top
/// (row 0 is the top row), columns count from the left (column 0). Squares put
/// one die in each cell; circle and hexagon rows are staggered by half a
/// pitch, so their columns are half-pitch steps and a row's dies stand in
/// every other cell. A die's centre is (column × xStep, −row × yStep) plus one
/// translation for the whole map. The reference cell is the one at the wafer
/// centre: the centre die of circles and hexagons, and for squares, whose
/// centre is a corner of four cells, the cell below and to the right of it.
struct MapGrid {
    int rowCount = 0;
    int columnCount = 0;
    int columnStep = 1; // 2 where rows are staggered
    Decimal xStep;      // inches
    Decimal yStep;      // inches
    int referenceColumn = 0;
    int referenceRow = 0;
    std::int64_t dieCount = 0;
    std::vector<MapRow> rows; // rowCount entries
};

/// Why a layout has no map: no die at all, or more cells than MaxMapCells.
struct MapGridRefusal {
    std::string message;
};

/// The grid of `layout`, found row by row (never die by die).
std::variant<MapGrid, MapGridRefusal> mapGridOf(const WaferLayout& layout);

} // namespace kerf
