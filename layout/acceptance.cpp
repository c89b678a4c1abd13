#include "layout/acceptance.h"

#include <cmath>

#include "layout/wafer_layout.h"

namespace kerf {

float distanceFromCentre(const LayoutPoint& P)
{
    static const Decimal centreX = Decimal::fromSingle(CenterX);
    static const Decimal centreY = Decimal::fromSingle(CenterY);
    return distanceFromOffsets((P.X - centreX).toDouble(), (P.Y - centreY).toDouble());
}

float distanceFromOffsets(double dx, double dy)
{
    const float squared = static_cast<float>(dx * dx + dy * dy);
    return std::sqrt(squared);
}

bool isOutsideAtDistance(float r, char shapeCode, const AcceptanceArea& area)
{
    const float R = area.EffectiveRadius;
    switch (shapeCode) {
    case 'C': return std::fabs(r - R) < area.HalfDieSize || r >= R;
    case 'H': return r >= R || std::fabs(r - R) < 2 * area.HexHalfSide;
    case 'S': return r >= R;
    default: return false;
    }
}

bool IsOutsideEffectiveArea(const LayoutPoint& P, char shapeCode, const AcceptanceArea& area)
{
    return isOutsideAtDistance(distanceFromCentre(P), shapeCode, area);
}

} // namespace kerf
