// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout/die_shape.h"
#include "layout/wafer_centre.h"

namespace kerf {

/// What the acceptance test needs of a layout: the effective circle and the die.
struct AcceptanceArea {
    float EffectiveRadius = 0;
    float HalfDieSize = 0;
    double HexHalfSide = 0;
};

/// True when a die of `shape` centred at `P` does not fit the effective
/// circle about (CenterX, CenterY). The distance is a single-precision value:
/// the squares of the exact offsets are taken in double, their sum rounded to
/// single, its root taken in single.
///  Circle: outside when |r − R| < HalfDieSize or r ≥ R.
///  Hexagon: outside when r ≥ R or |r − R| < 2 × HexHalfSide.
///  Square: outside when r ≥ R.
bool IsOutsideEffectiveArea(const LayoutPoint& P, DieShape shape, const AcceptanceArea& area);

/// The single-precision distance of `P` from the wafer centre, as the
/// acceptance tests measure it.
float distanceFromCentre(const LayoutPoint& P);
/// The same from the offsets to the centre, each the double nearest to the
/// exact decimal offset.
float distanceFromOffsets(double dx, double dy);
/// The acceptance test on a distance measured as above.
bool isOutsideAtDistance(float r, DieShape shape, const AcceptanceArea& area);

} // namespace kerf
