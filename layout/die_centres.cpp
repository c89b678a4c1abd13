// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/die_centres.h"

#include <cmath>

namespace kerf {
namespace {

// The cells of a flatted square grid: between two row lines one pitch apart,
// the pitches that both lines span (their corners are all usable).
void forEachFlattedCellRow(const WaferLayout& layout, const std::function<void(const DieRow&)>& visit)
{
    const LayoutTable& table = layout.RowTable;
    const LayoutPoint& centre = waferCentre();
    const Decimal pitch = layout.DiePitch.toDecimal();
    const Decimal rowPitch = layout.RowPitch.toDecimal();
    const int N = table.upperBound();
    const int K = table.half();
    int row = 0;
    const LayoutRow* upper = nullptr;
    auto visitLine = [&](int index) {
        const LayoutRow& lower = table[index];
        if (upper && lower.PosY.toDecimal() - upper->PosY.toDecimal() == rowPitch) {
            const Decimal upperLeft = upper->PosX.toDecimal(), lowerLeft = lower.PosX.toDecimal();
            const Decimal left = upperLeft < lowerLeft ? lowerLeft : upperLeft;
            const Decimal upperRight = upperLeft + pitch * upper->DieCount;
            const Decimal lowerRight = lowerLeft + pitch * lower.DieCount;
            const Decimal right = upperRight < lowerRight ? upperRight : lowerRight;
            const long long count = std::llround((right - left).toDouble() / pitch.toDouble());
            visit({++row, count > 0 ? static_cast<int>(count) : 0, left - centre.X + pitch.half(),
                   centre.Y - upper->PosY.toDecimal() - rowPitch.half()});
        }
        upper = &lower;
    };
    for (int index = K; index >= 1; --index)
        visitLine(index);
    for (int index = K + 1; index <= N; ++index)
        visitLine(index);
}

} // namespace

void forEachDieRow(const WaferLayout& layout, const std::function<void(const DieRow&)>& visit)
{
    if (layout.shape == DieShape::Square && !layout.flats.empty())
        return forEachFlattedCellRow(layout, visit);
    const LayoutTable& table = layout.RowTable;
    const int N = table.upperBound();
    if (N == 0)
        return;
    const int K = table.half();
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
