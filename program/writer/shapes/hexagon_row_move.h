// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "program/writer/shapes/hexagon_steps.h"

namespace kerf {

/// Which way a row of the one-way hexagon program is cut: odd row numbers
/// left to right (HEX1), even ones right to left (HEX2).
enum class RowParity { Odd, Even };

/// The die counts that decide the move after a row: the row just cut, the
/// next row cut, and the row cut after that (none when the next row is the last).
struct RowMoveCounts {
    int cut = 0;
    int next = 0;
    std::optional<int> afterNext;
};

/// The relative move from where the row just cut ends to where the next row
/// starts. With A = cut − next, B = cut − afterNext (0 without one) and
/// M = B − A, the usual layouts get their fixed lines ("MI Y " −2h,
/// "MI Y " −4h, "MI X " ±a or ±M·a or ∓A·a " Y " −3h); every other case (a
/// row shorter than both neighbours, and the rest) gets the move between the
/// row's end point and the next row's start point, taking rows as centred on
/// the wafer's vertical centre line.
std::string WriteHexagonRowMove(const HexagonSteps& steps, RowParity parity, const RowMoveCounts& counts);

} // namespace kerf
