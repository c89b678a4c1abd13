// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/layout/literal_walk.h"

#include <cmath>

#include "layout/acceptance.h"
#include "numbers/number_text.h"

namespace kerf::testing {
namespace {

Decimal dec(float value) { return Decimal::fromSingle(value); }

AcceptanceArea area(const WaferLayout& layout)
{
    return {layout.EffectiveRadius, layout.HalfDieSize, layout.HexHalfSide.toDouble()};
}

// Appends a record as the layouts do: the first one re-dimensions the table.
LayoutRow& append(LayoutTable& table, int index)
{
    if (index == 1)
        table.redim(1);
    else
        table.grow();
    return table[index];
}

} // namespace

void literalCircleDies(WaferLayout& layout)
{
    const Decimal pitch = dec(layout.DieSize) + layout.FineTune.toDecimal();
    layout.DiePitch = Number::ofDecimal(pitch);
    layout.RowPitch = Number::ofDecimal((pitch.half() * Decimal::fromDouble(std::sqrt(3.0))).roundedHalfEven(6));
    const Decimal rowPitch = layout.RowPitch.toDecimal();
    const AcceptanceArea a = area(layout);
    auto relative = [&](LayoutRow& row) {
        row.RelX = Number::ofDecimal(row.PosX.toDecimal() - dec(CenterX)
                                     - Decimal::fromDouble(layout.FineTune.toDouble() / 2) - dec(layout.HalfDieSize));
        row.RelY = Number::ofDecimal(dec(CenterY) - row.PosY.toDecimal());
    };

    int index = 0;
    int half = 0;
    LayoutPoint cur{dec(CenterX), dec(CenterY)};
    Number curY = Number::ofSingle(CenterY);
    while (!IsOutsideEffectiveArea(cur, DieShape::Circle, a)) {
        ++index;
        LayoutRow& row = append(layout.RowTable, index);
        half = index;
        int n = 0;
        while (!IsOutsideEffectiveArea(cur, DieShape::Circle, a)) {
            ++n;
            cur.X = cur.X - pitch;
        }
        row.PosX = Number::ofDecimal(cur.X + pitch);
        row.PosY = curY;
        relative(row);
        cur.X = dec(CenterX);
        cur.Y = cur.Y - rowPitch;
        curY = Number::ofDecimal(cur.Y);
        if (index % 2 == 1) {
            row.DieCount = static_cast<std::int16_t>(2 * n - 1);
            cur.X = cur.X - pitch.half();
        } else {
            row.DieCount = static_cast<std::int16_t>(2 * n);
        }
    }
    for (int i = half + 1, s = 2; i <= 2 * half - 1; ++i, ++s) {
        layout.RowTable.grow();
        LayoutRow& row = layout.RowTable[i];
        row.PosX = layout.RowTable[s].PosX;
        row.PosY = Number::ofDecimal(layout.RowTable[i == half + 1 ? 1 : i - 1].PosY.toDecimal() + rowPitch);
        row.DieCount = layout.RowTable[s].DieCount;
        relative(row);
    }
}

void literalHexagonDies(WaferLayout& layout)
{
    layout.DiePitch = Number::ofSingle(layout.DieSize);
    layout.HexHalfSide = Number::ofDouble(roundHalfEven(layout.HalfDieSize / std::sqrt(3.0), 6));
    layout.RowPitch = Number::ofDouble(3 * layout.HexHalfSide.toDouble());
    const Decimal pitch = layout.DiePitch.toDecimal();
    const Decimal rowPitch = layout.RowPitch.toDecimal();
    const AcceptanceArea a = area(layout);
    auto relative = [&](LayoutRow& row) {
        row.RelX = Number::ofDecimal(row.PosX.toDecimal() - dec(CenterX) - dec(layout.HalfDieSize));
        row.RelY = Number::ofDecimal(dec(CenterY) - row.PosY.toDecimal() - layout.HexHalfSide.toDecimal());
    };

    int index = 0;
    int half = 0;
    LayoutPoint cur{dec(CenterX), dec(CenterY)};
    Number curY = Number::ofSingle(CenterY);
    while (!IsOutsideEffectiveArea(cur, DieShape::Hexagon, a)) {
        ++index;
        LayoutRow& row = append(layout.RowTable, index);
        half = index;
        int n = 0;
        while (!IsOutsideEffectiveArea(cur, DieShape::Hexagon, a)) {
            ++n;
            cur.X = cur.X - pitch;
        }
        row.PosX = Number::ofDecimal(cur.X + pitch);
        row.PosY = curY;
        relative(row);
        cur.X = dec(CenterX);
        cur.Y = cur.Y - rowPitch;
        curY = Number::ofDecimal(cur.Y);
        if (index % 2 == 1) {
            row.DieCount = static_cast<std::int16_t>(2 * n - 1);
            cur.X = cur.X - dec(layout.HalfDieSize);
        } else {
            row.DieCount = static_cast<std::int16_t>(2 * n);
        }
    }
    for (int i = half + 1, s = 2; i <= 2 * half - 1; ++i, ++s) {
        layout.RowTable.grow();
        LayoutRow& row = layout.RowTable[i];
        row.PosX = layout.RowTable[s].PosX;
        row.PosY = Number::ofDecimal(layout.RowTable[i == half + 1 ? 1 : i - 1].PosY.toDecimal() + rowPitch);
        row.DieCount = layout.RowTable[s].DieCount;
        relative(row);
    }
}

void literalSquareRows(WaferLayout& layout)
{
    layout.DiePitch = Number::ofSingle(layout.DieSize);
    layout.RowPitch = Number::ofSingle(layout.DieSize);
    const Decimal pitch = dec(layout.DieSize);
    const AcceptanceArea a = area(layout);
    auto relative = [&](LayoutRow& row) {
        row.RelX = Number::ofDecimal(row.PosX.toDecimal() - dec(CenterX));
        row.RelY = Number::ofDecimal(dec(CenterY) - row.PosY.toDecimal());
    };
    int index = 0;
    LayoutPoint cur{dec(CenterX), dec(CenterY)};
    Number curY = Number::ofSingle(CenterY);
    while (!IsOutsideEffectiveArea(cur, DieShape::Square, a)) {
        ++index;
        LayoutRow& row = append(layout.RowTable, index);
        int n = 0;
        while (!IsOutsideEffectiveArea(cur, DieShape::Square, a)) {
            ++n;
            cur.X = cur.X - pitch;
        }
        row.PosX = Number::ofDecimal(cur.X + pitch);
        row.PosY = curY;
        relative(row);
        cur.X = dec(CenterX);
        cur.Y = cur.Y - pitch;
        curY = Number::ofDecimal(cur.Y);
        row.DieCount = static_cast<std::int16_t>(2 * (n - 1));
    }
    const int half = index;
    for (int i = half + 1, s = 2; i <= 2 * half - 1; ++i, ++s) {
        layout.RowTable.grow();
        LayoutRow& row = layout.RowTable[i];
        row.PosX = layout.RowTable[s].PosX;
        row.PosY = Number::ofDecimal(layout.RowTable[i == half + 1 ? 1 : i - 1].PosY.toDecimal() + pitch);
        row.DieCount = layout.RowTable[s].DieCount;
        relative(row);
    }
}

void literalSquareColumns(WaferLayout& layout)
{
    layout.DiePitch = Number::ofSingle(layout.DieSize);
    layout.RowPitch = Number::ofSingle(layout.DieSize);
    const Decimal pitch = dec(layout.DieSize);
    const AcceptanceArea a = area(layout);
    auto relative = [&](LayoutRow& row) {
        row.RelX = Number::ofDecimal(dec(CenterX) - row.PosX.toDecimal());
        row.RelY = Number::ofDecimal(row.PosY.toDecimal() - dec(CenterY));
    };
    int index = 0;
    LayoutPoint cur{dec(CenterX), dec(CenterY)};
    Number curX = Number::ofSingle(CenterX);
    while (!IsOutsideEffectiveArea(cur, DieShape::Square, a)) {
        ++index;
        LayoutRow& row = append(layout.ColumnTable, index);
        int n = 0;
        while (!IsOutsideEffectiveArea(cur, DieShape::Square, a)) {
            ++n;
            cur.Y = cur.Y - pitch;
        }
        row.PosY = Number::ofDecimal(cur.Y + pitch);
        row.PosX = curX;
        relative(row);
        cur.Y = dec(CenterY);
        cur.X = cur.X - pitch;
        curX = Number::ofDecimal(cur.X);
        row.DieCount = static_cast<std::int16_t>(2 * (n - 1));
    }
    const int half = index;
    for (int i = half + 1, s = 2; i <= 2 * half - 1; ++i, ++s) {
        layout.ColumnTable.grow();
        LayoutRow& row = layout.ColumnTable[i];
        row.PosY = layout.ColumnTable[s].PosY;
        row.PosX = Number::ofDecimal(layout.ColumnTable[i == half + 1 ? 1 : i - 1].PosX.toDecimal() + pitch);
        row.DieCount = layout.ColumnTable[s].DieCount;
        relative(row);
    }
}

void literalSimHexagons(SimulationLayout& layout)
{
    layout.DiePitch = Number::ofSingle(layout.DieSize);
    const double h = roundHalfEven(layout.HalfDieSize / std::sqrt(3.0), 6);
    layout.HexHalfSide = Number::ofDouble(h);
    layout.RowPitch = Number::ofDouble(3 * h);
    const Decimal step = Decimal::fromDouble(4 * h);
    int column = 0;
    int k = 0;
    LayoutPoint cur{dec(CenterX), dec(CenterY)};
    Number curX = Number::ofSingle(CenterX);
    while (!IsOutsideSimArea(cur, layout)) {
        ++column;
        k = column;
        LayoutRow& row = append(layout.RowTable, k);
        int n = 0;
        while (!IsOutsideSimArea(cur, layout)) {
            ++n;
            cur.Y = cur.Y - step;
        }
        row.PosX = curX;
        row.PosY = Number::ofDecimal(cur.Y + step);
        cur.X = cur.X + dec(layout.DieSize);
        curX = Number::ofDecimal(cur.X);
        cur.Y = dec(CenterY);
        if (column % 2 == 0) {
            row.DieCount = static_cast<std::int16_t>(2 * n);
        } else {
            row.DieCount = static_cast<std::int16_t>(2 * n - 1);
            cur.Y = cur.Y - Decimal::fromDouble(2 * h);
        }
    }
    for (int i = k + 1; i <= 2 * k - 1; ++i) {
        const int j = i - k + 1;
        layout.RowTable.grow();
        LayoutRow& row = layout.RowTable[i];
        row.PosY = layout.RowTable[j].PosY;
        row.PosX = Number::ofDecimal(layout.RowTable[i == k + 1 ? 1 : i - 1].PosX.toDecimal() - dec(layout.DieSize));
        row.DieCount = layout.RowTable[j].DieCount;
    }
}

} // namespace kerf::testing
