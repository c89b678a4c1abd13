// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/die_area.h"

#include <numbers>

#include "numbers/decimal.h"

namespace kerf {

double dieAreaCm2(const WaferLayout& layout)
{
    // The single by its 7 significant digits: 120 mil is 0.12 inches, not 0.11999999731779099.
    const double d = Decimal::fromSingle(layout.DieSize).toDouble();
    double squareInches = 0;
    switch (layout.shape) {
    case DieShape::Circle: squareInches = std::numbers::pi * (d / 2) * (d / 2); break;
    case DieShape::Hexagon: squareInches = 6 * (d / 2) * layout.HexHalfSide.toDouble(); break;
    case DieShape::Square: squareInches = d * d; break;
    }
    return squareInches * SquareCentimetresPerSquareInch;
}

} // namespace kerf
