// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/layout_results.h"

#include "layout/die_centres.h"
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
    return resultTextsForArea(records, dies, dieArea, PI_APPROX * effectiveRadius * effectiveRadius);
}

LayoutResults resultTextsForArea(int records, long long dies, double dieArea, double waferArea)
{
    return {integerText(records), integerText(dies), utilisationText(dieArea * double(dies) / waferArea * 100)};
}

double effectiveArea(const WaferLayout& layout)
{
    const double circle = PI_APPROX * layout.EffectiveRadius * layout.EffectiveRadius;
    if (layout.flats.empty())
        return circle;
    return areaBehindLines(layout.EffectiveRadius, circle,
                           keepOutLines(layout.flats, layout.WaferDiameter, layout.EffectiveRadius));
}

long long dieTotal(const WaferLayout& layout)
{
    if (layout.shape == DieShape::Square && !layout.flats.empty()) {
        long long cells = 0;
        forEachDieRow(layout, [&cells](const DieRow& row) { cells += row.count; });
        return cells;
    }
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
    return resultTextsForArea(records, dies, dieArea, effectiveArea(layout));
}

} // namespace kerf
