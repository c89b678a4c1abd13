// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/die_centres.h"

namespace kerf {

void forEachDieRow(const WaferLayout& layout, const std::function<void(const DieRow&)>& visit)
{
    const LayoutTable& table = layout.RowTable;
    const int N = table.upperBound();
    if (N == 0)
        return;
    const int K = (N + 1) / 2;
    const LayoutPoint& centre = waferCentre();
    const Decimal pitchHalf = layout.DiePitch.toDecimal().half();
    const bool squares = layout.shape == DieShape::Square;
    const Decimal halfRow = layout.RowPitch.toDecimal().half();

    // Records from the top: K, K−1, …, 1, K+1, …, N.
    int row = 0;
    auto visitRecord = [&](int index) {
        const LayoutRow& record = table[index];
        Decimal y = centre.Y - record.PosY.toDecimal();
        Decimal x = record.PosX.toDecimal() - centre.X;
        if (squares) {
            if (index == 1)
                return; // the centre line closes no cell of its own
            // Cells lie between this line and the next one towards the centre.
            y = index <= K ? y - halfRow : y + halfRow;
            x = x + pitchHalf;
        }
        visit({++row, record.DieCount, x, y});
    };
    for (int index = K; index >= 1; --index)
        visitRecord(index);
    for (int index = K + 1; index <= N; ++index)
        visitRecord(index);
}

void forEachDieCentre(const WaferLayout& layout, const std::function<void(const DieCentre&)>& visit)
{
    const Decimal pitch = layout.DiePitch.toDecimal();
    forEachDieRow(layout, [&](const DieRow& row) {
        Decimal x = row.x;
        for (int die = 1; die <= row.count; ++die) {
            visit({row.row, die, x, row.y});
            x = x + pitch;
        }
    });
}

} // namespace kerf
