#pragma once

#include "numbers/decimal.h"

namespace kerf {

/// A probe position in picture inches, walked in exact decimal arithmetic.
struct LayoutPoint {
    Decimal X;
    Decimal Y;
};

/// What the acceptance test needs of a layout: the effective circle and the die.
struct AcceptanceArea {
    float EffectiveRadius = 0;
    float HalfDieSize = 0;
    double HexHalfSide = 0;
};

/// True when a die of shape code 'C', 'H' or 'S' centred at `P` does not fit
/// the effective circle about (CenterX, CenterY); false for any other code.
/// The distance is a single-precision value: the squares of the exact offsets
/// are taken in double, their sum rounded to single, its root taken in single.
///  'C': outside when |r − R| < HalfDieSize or r ≥ R.
///  'H': outside when r ≥ R or |r − R| < 2 × HexHalfSide.
///  'S': outside when r ≥ R.
bool IsOutsideEffectiveArea(const LayoutPoint& P, char shapeCode, const AcceptanceArea& area);

/// The single-precision distance of `P` from the wafer centre, as the
/// acceptance tests measure it.
float distanceFromCentre(const LayoutPoint& P);
/// The same from the offsets to the centre, each the double nearest to the
/// exact decimal offset.
float distanceFromOffsets(double dx, double dy);
/// The acceptance test on a distance measured as above.
bool isOutsideAtDistance(float r, char shapeCode, const AcceptanceArea& area);

} // namespace kerf
