// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "layout/wafer_layout.h"

namespace kerf {

/// How far a die reaches along the unit normal (nx, ny) from its centre:
/// half the die size for a circle, the farthest of a hexagon's six corners
/// as the map draws them ((±a, ±h), (0, ±2h)). Squares reach nothing: their
/// grid points are tested themselves.
double dieReach(const WaferLayout& layout, double nx, double ny);

/// Cuts each record of a finished round-wafer layout down to what the
/// keep-out lines leave: circles and hexagons keep the dies with c·n + reach
/// ≤ k, square lines run from their first to their last usable grid point
/// (c·n < k). Records left with no die or point are dropped and the table's
/// half says how many lie on the first side. Each record's ends are searched
/// for, so the cost grows with the rows, not the dies.
void trimByFlats(WaferLayout& layout, const std::vector<KeepOutLine>& lines);

} // namespace kerf
