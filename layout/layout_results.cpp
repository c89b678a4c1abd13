// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/layout_results.h"

#include "numbers/number_text.h"

namespace kerf {

long long sumDieCounts(const LayoutTable& table)
{
    long long total = 0;
    for (int i = 1; i <= table.upperBound(); ++i)
        total += table[i].DieCount;
    return total;
}

double hexagonArea(double hexHalfSide, float halfDieSize) { return hexHalfSide * halfDieSize * 6; }

LayoutResults resultTexts(int records, long long dies, double dieArea, float effectiveRadius)
{
    const double waferArea = PI_APPROX * effectiveRadius * effectiveRadius;
    return {integerText(records), integerText(dies), utilisationText(dieArea * double(dies) / waferArea * 100)};
}

long long dieTotal(const WaferLayout& layout)
{
    long long total = sumDieCounts(layout.RowTable);
    // The segments of the first row line close no die.
    if (layout.shape == DieShape::Square && layout.RowTable.upperBound() >= 1)
        total -= layout.RowTable[1].DieCount;
    return total;
}

LayoutResults layoutResults(const WaferLayout& layout)
{
    return layoutResults(layout, layout.RowTable.upperBound(), dieTotal(layout));
}

LayoutResults layoutResults(const WaferLayout& layout, int records, long long dies)
{
    double dieArea = 0;
    switch (layout.shape) {
    case DieShape::Circle:
        dieArea = PI_APPROX * layout.HalfDieSize * layout.HalfDieSize;
        break;
    case DieShape::Hexagon:
        dieArea = hexagonArea(layout.HexHalfSide.toDouble(), layout.HalfDieSize);
        break;
    case DieShape::Square: {
        const float dieSquare = layout.DieSize * layout.DieSize; // a single product
        dieArea = dieSquare;
        break;
    }
    }
    return resultTexts(records, dies, dieArea, layout.EffectiveRadius);
}

} // namespace kerf
