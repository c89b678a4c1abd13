// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <variant>

#include "layout/acceptance.h"
#include "layout/design_driver.h"
#include "layout/die_layouts.h"
#include "layout/layout_results.h"
#include "layout/wafer_layout.h"

namespace kerf {

/// The simulator's column layout of hexagons. One RowTable record per column:
/// PosX the column's X, PosY its topmost die, DieCount its dies. Records 1..K
/// are the centre column and those to its right, K+1..2K−1 those to its left.
struct SimulationLayout {
    float WaferDiameter = 0;
    float EffectiveDiameter = 0;
    float EffectiveRadius = 0;
    float DieSize = 0;
    float HalfDieSize = 0;
    Number DiePitch;
    Number RowPitch;
    Number HexHalfSide;
    LayoutTable RowTable; // no record when not even the centre die fits
};

/// True when a hexagon centred at `P` leaves the effective circle: its
/// distance D (single) is at least R, or |D − R| < 2h in double.
bool IsOutsideSimArea(const LayoutPoint& P, const SimulationLayout& layout);

/// Lays the columns out; reads DieSize, HalfDieSize, EffectiveRadius.
LayoutFailure LayoutSimHexagons(SimulationLayout& layout);

/// Columns, dies and utilisation, as the simulator's result boxes show them.
LayoutResults simulationResults(const SimulationLayout& layout);

/// The simulator's inputs: its boxes' texts and the chosen wafer diameter.
struct SimulationInput {
    std::string dieSize;           // Text1, mil
    std::string effectiveDiameter; // Text5, inches
    float WaferDiameter = 0;
};

struct Simulation {
    SimulationLayout layout;
    LayoutResults results;
};

using SimulationOutcome = std::variant<NothingToDo, Refusal, Simulation>;

/// The simulate button: validates, lays out and counts. A refusal changes nothing.
SimulationOutcome runSimulation(const SimulationInput& input);

} // namespace kerf
