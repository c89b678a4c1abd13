// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/sim_map.h"

#include "render/wafer_map.h"

namespace kerf::map {

void DrawSimHexagon(InchCanvas& canvas, const LayoutPoint& centre, const SimulationLayout& layout)
{
    DrawHexagon(canvas, centre, layout.HalfDieSize, layout.HexHalfSide);
}

void DrawSimHexagonDies(InchCanvas& canvas, const SimulationLayout& layout)
{
    const LayoutTable& columns = layout.RowTable;
    const Decimal step = layout.HexHalfSide.toDecimal() * 4;
    const bool eachDie = drawsEachDie(canvas, layout.DieSize);
    for (int i = 1; i <= columns.upperBound(); ++i) {
        const LayoutRow& column = columns[i];
        if (column.DieCount <= 0)
            continue;
        LayoutPoint position{column.PosX.toDecimal(), column.PosY.toDecimal()};
        if (!eachDie) {
            // The column as the eye sees it: from the top corner of its first
            // die to the bottom corner of its last, one die wide.
            const Decimal corner = layout.HexHalfSide.toDecimal() * 2;
            const Decimal top = position.Y - corner;
            const Decimal bottom = position.Y + step * (column.DieCount - 1) + corner;
            canvas.verticalBand(column.PosX.toSingle(), static_cast<float>(top.toDouble()),
                                static_cast<float>(bottom.toDouble()), layout.DieSize, Red);
            continue;
        }
        for (int die = 1; die <= column.DieCount; ++die) {
            DrawSimHexagon(canvas, position, layout);
            position.Y = position.Y + step;
        }
    }
}

} // namespace kerf::map
