// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/acceptance.h"

#include <cmath>

namespace kerf {

float distanceFromCentre(const LayoutPoint& P)
{
    const LayoutPoint& centre = waferCentre();
    return distanceFromOffsets((P.X - centre.X).toDouble(), (P.Y - centre.Y).toDouble());
}

float distanceFromOffsets(double dx, double dy)
{
    const float squared = static_cast<float>(dx * dx + dy * dy);
    return std::sqrt(squared);
}

bool isOutsideAtDistance(float r, DieShape shape, const AcceptanceArea& area)
{
    const float R = area.EffectiveRadius;
    switch (shape) {
    case DieShape::Circle: return std::fabs(r - R) < area.HalfDieSize || r >= R;
    case DieShape::Hexagon: return r >= R || std::fabs(r - R) < 2 * area.HexHalfSide;
    case DieShape::Square: return r >= R;
    }
    return false;
}

bool IsOutsideEffectiveArea(const LayoutPoint& P, DieShape shape, const AcceptanceArea& area)
{
    return isOutsideAtDistance(distanceFromCentre(P), shape, area);
}

} // namespace kerf
