// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout/wafer_layout.h"

namespace kerf {

/// Square centimetres in a square inch.
inline constexpr double SquareCentimetresPerSquareInch = 6.4516;

/// The area of one die of `layout` in cm², the die as the map draws it: a
/// circle π(d/2)², a hexagon 6·r·h (r half the die size, h HexHalfSide), a
/// square d²; d is the die size, not the pitch.
double dieAreaCm2(const WaferLayout& layout);

} // namespace kerf
