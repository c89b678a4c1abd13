// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "layout/wafer_layout.h"
#include "numbers/decimal.h"

namespace kerf {

/// One die of a layout: its row counted from the top of the wafer (1 is the top
/// row), its place in the row counted from the left (1 is the leftmost), and
/// its centre in inches from the wafer centre, Y up, exact.
struct DieCentre {
    int row = 0;
    int die = 0;
    Decimal x;
    Decimal y;
};

/// One row of dies: its number from the top (1 is the top row), how many dies
/// it holds, and the centre of its leftmost die in inches from the wafer
/// centre, Y up, exact. The others follow a die pitch apart to the right.
struct DieRow {
    int row = 0;
    int count = 0;
    Decimal x;
    Decimal y;
};

/// Calls `visit` for every row of dies, from the top, rows without dies
/// included (they keep their numbers). The rows of forEachDieCentre.
void forEachDieRow(const WaferLayout& layout, const std::function<void(const DieRow&)>& visit);

/// Calls `visit` for every die, row by row from the top, each row from the
/// left. Circles and hexagons: the dies of each row record. Squares: the die
/// cells that the grid closes, each row line but the centre one closing the
/// cells between it and its neighbour towards the centre.
void forEachDieCentre(const WaferLayout& layout, const std::function<void(const DieCentre&)>& visit);

} // namespace kerf
