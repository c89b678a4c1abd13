// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/inch_canvas.h"
#include "layout/acceptance.h"
#include "layout/simulation/simulation.h"

namespace kerf::map {

/// One die of the simulation: the designer's hexagon around `centre`.
void DrawSimHexagon(InchCanvas& canvas, const LayoutPoint& centre, const SimulationLayout& layout);

/// Every die of the simulation, column by column from each column's topmost
/// die downwards, 4 half sides apart.
void DrawSimHexagonDies(InchCanvas& canvas, const SimulationLayout& layout);

} // namespace kerf::map
