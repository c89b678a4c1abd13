// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "program/writer/program_units.h"
#include "program/writer/program_writer.h"
#include "layout/wafer_layout.h"

namespace kerf {

/// The two lengths of a hexagon program and their texts: a, half the die's
/// flat-to-flat width (single), and h, half its side (double). Relative to a
/// die's centre its corners are (±a, ±h), (0, 2h) and (0, −2h).
struct HexagonSteps {
    float a = 0;
    double h = 0;

    static HexagonSteps of(const WaferLayout& layout);

    /// The single text of m × a, the product taken in double («-0.039» for
    /// a = 0.013, m = −3).
    std::string x(int m) const;
    /// The double text of m × h («-0.022518» for h = 0.007506, m = −3).
    std::string y(int m) const;
    /// "MI Y " y when mx is 0, else "MI X " x " Y " y.
    std::string move(int mx, int my) const;
};

/// The units HEX1 (upper outline rightwards), HEX2 (upper outline leftwards),
/// HEX3 (lower edges rightwards) and HEX4 (lower edges leftwards), each
/// followed by an empty line.
void writeHexagonSubroutines(ProgramWriter& out, const HexagonSteps& steps, std::chrono::year_month_day date);

/// The opening both hexagon programs share: the four hexagon subroutines, the
/// program header and the absolute move to the first row of `order`; returns
/// the steps the rows are cut with.
HexagonSteps writeHexagonOpening(ProgramWriter& out, const WaferLayout& layout, const ProgramHeader& header,
                                 const std::vector<int>& order);

/// The unit called once, or `count` times in an "SL" block when count > 1.
void writeUnitCalls(ProgramWriter& out, int count, SubroutineUnit unit);

/// How many dies at an end of a row get their lower edges cut because the
/// next row is shorter by `diff`: (diff − 1) / 2 halved to even, for diff > 1.
int endCutDies(int diff);

} // namespace kerf
