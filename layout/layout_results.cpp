#include "layout/layout_results.h"

#include "numbers/number_text.h"

namespace kerf {

long long dieTotal(const WaferLayout& layout)
{
    long long total = 0;
    for (int i = 1; i <= layout.RowTable.upperBound(); ++i)
        total += layout.RowTable[i].DieCount;
    // The segments of the first row line close no die.
    if (layout.shape == DieShape::Square && layout.RowTable.upperBound() >= 1)
        total -= layout.RowTable[1].DieCount;
    return total;
}

LayoutResults layoutResults(const WaferLayout& layout)
{
    const long long total = dieTotal(layout);
    const double waferArea = PI_APPROX * layout.EffectiveRadius * layout.EffectiveRadius;
    double dieArea = 0;
    switch (layout.shape) {
    case DieShape::Circle:
        dieArea = PI_APPROX * layout.HalfDieSize * layout.HalfDieSize * double(total);
        break;
    case DieShape::Hexagon:
        dieArea = layout.HexHalfSide.toDouble() * layout.HalfDieSize * 6 * double(total);
        break;
    case DieShape::Square: {
        const float dieSquare = layout.DieSize * layout.DieSize; // a single product
        dieArea = double(dieSquare) * double(total);
        break;
    }
    }
    return {integerText(layout.RowTable.upperBound()), integerText(total),
            utilisationText(dieArea / waferArea * 100)};
}

} // namespace kerf
