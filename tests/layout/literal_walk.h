// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout/wafer_layout.h"
#include "layout/simulation/simulation.h"

namespace kerf::testing {

// The layouts as their algorithms read, one probe at a time, with plain int
// counters: the reference that the searching layouts must match exactly.
// Each expects a layout whose inputs were already validated and set.

void literalCircleDies(WaferLayout& layout);
void literalHexagonDies(WaferLayout& layout);
void literalSquareRows(WaferLayout& layout);
void literalSquareColumns(WaferLayout& layout);
void literalSimHexagons(SimulationLayout& layout);

} // namespace kerf::testing
