// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>

#include "die_maps/map_grid.h"
#include "die_maps/map_header.h"

namespace kerf {

/// The SINF text map of `grid`: the header lines DEVICE, LOT, WAFER, FNLOC,
/// ROWCT, COLCT, BCEQU (01, the code of every die), REFPX and REFPY (the
/// reference cell's column and row, from 0 at the top left), DUTMS (mil),
/// XDIES and YDIES (the steps in mil, every digit), then one RowData line
/// per row from the top: the codes of its cells, one space apart. Lines end
/// in LF.
void writeSinf(std::ostream& out, const MapGrid& grid, const MapHeader& header);

} // namespace kerf
