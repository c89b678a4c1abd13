// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QColor>

#include "die_maps/die_bins.h"
#include "layout/wafer_layout.h"
#include "render/inch_canvas.h"

namespace kerf::map {

/// The fill of a die that a binned map calls bad.
inline const QColor BadDieColour{0, 0, 160};

/// Fills the bad dies of `layout` (row by row from the top, as DieBins holds
/// them) in BadDieColour over the drawn dies: each die's own shape where the
/// dies are drawn one by one, else each bad die's device pixel. The work
/// grows with the rows and the bad dies (at most a map's cells), never with
/// all the dies.
void drawBadDies(InchCanvas& canvas, const WaferLayout& layout, const std::vector<BadDie>& badDies);

} // namespace kerf::map
