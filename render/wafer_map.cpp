// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/wafer_map.h"

#include <cmath>

#include "numbers/number_text.h"

namespace kerf::map {

namespace {

// Coordinates become singles only when they are handed to a drawing call.
float toSingle(const Decimal& value) { return static_cast<float>(value.toDouble()); }

// The span of a row of `count` dies whose first centre is at `first`, from the
// left edge of the first die to the right edge of the last, in inches.
struct Span {
    float from;
    float to;
};
Span rowSpan(const Decimal& first, const Decimal& pitch, int count, const Decimal& halfWidth)
{
    const Decimal last = first + pitch * (count - 1);
    return {toSingle(first - halfWidth), toSingle(last + halfWidth)};
}

} // namespace

bool drawsEachDie(const InchCanvas& canvas, float dieSize)
{
    return dieSize * canvas.devicePixelsPerInch() >= SmallestDrawnDiePixels;
}

void DrawWaferOutline(InchCanvas& canvas, float centreX, float centreY, float waferRadius)
{
    canvas.point(centreX, centreY, Black);
    canvas.circle(centreX, centreY, waferRadius, Black);
}

void DrawHexagon(InchCanvas& canvas, const LayoutPoint& centre, float r, const Number& h)
{
    const float hs = h.toSingle();
    canvas.moveTo(toSingle(centre.X - Decimal::fromSingle(r)), toSingle(centre.Y + h.toDecimal()));
    canvas.lineRel(0, -2 * hs, Red);
    canvas.lineRel(r, -hs, Red);
    canvas.lineRel(r, hs, Red);
    canvas.lineRel(0, 2 * hs, Red);
    canvas.lineRel(-r, hs, Red);
    canvas.lineRel(-r, -hs, Red);
}

void DrawCircleDies(InchCanvas& canvas, const WaferLayout& layout)
{
    const LayoutTable& rows = layout.RowTable;
    const Decimal pitch = layout.DiePitch.toDecimal();
    const float r = layout.HalfDieSize;
    const bool eachDie = drawsEachDie(canvas, layout.DieSize);
    for (int i = 1; i <= rows.upperBound(); ++i) {
        const LayoutRow& row = rows[i];
        if (row.DieCount <= 0)
            continue;
        const float y = row.PosY.toSingle();
        if (!eachDie) {
            const Span span = rowSpan(row.PosX.toDecimal(), pitch, row.DieCount, Decimal::fromSingle(r));
            canvas.horizontalBand(span.from, span.to, y, layout.DieSize, Red);
            continue;
        }
        Decimal x = row.PosX.toDecimal();
        for (int die = 1; die <= row.DieCount; ++die) {
            canvas.circle(toSingle(x), y, r, Red);
            x = x + pitch;
        }
    }
}

void DrawHexagonDies(InchCanvas& canvas, const WaferLayout& layout)
{
    const LayoutTable& rows = layout.RowTable;
    const Decimal pitch = layout.DiePitch.toDecimal();
    const float r = layout.HalfDieSize;
    const bool eachDie = drawsEachDie(canvas, layout.DieSize);
    for (int i = 1; i <= rows.upperBound(); ++i) {
        const LayoutRow& row = rows[i];
        if (row.DieCount <= 0)
            continue;
        if (!eachDie) {
            const Span span = rowSpan(row.PosX.toDecimal(), pitch, row.DieCount, Decimal::fromSingle(r));
            // Corner to corner a hexagon is 4 half sides high.
            canvas.horizontalBand(span.from, span.to, row.PosY.toSingle(),
                                  4 * layout.HexHalfSide.toSingle(), Red);
            continue;
        }
        LayoutPoint position{row.PosX.toDecimal(), row.PosY.toDecimal()};
        for (int die = 1; die <= row.DieCount; ++die) {
            DrawHexagon(canvas, position, r, layout.HexHalfSide);
            position.X = position.X + pitch;
        }
    }
}

void DrawSquareGrid(InchCanvas& canvas, const WaferLayout& layout)
{
    const Decimal diePitch = layout.DiePitch.toDecimal();
    const Decimal rowPitch = layout.RowPitch.toDecimal();
    const bool eachDie = drawsEachDie(canvas, layout.DieSize);
    // A cut line of many segments is one straight line; with segments too
    // short to see it is drawn as that line, one pixel thick.
    const LayoutTable& rows = layout.RowTable;
    for (int i = 1; i <= rows.upperBound(); ++i) {
        const LayoutRow& row = rows[i];
        if (row.DieCount <= 0)
            continue;
        const float y = row.PosY.toSingle();
        Decimal x = row.PosX.toDecimal();
        if (!eachDie) {
            canvas.horizontalBand(toSingle(x), toSingle(x + diePitch * row.DieCount), y, 0, Red);
            continue;
        }
        for (int segment = 1; segment <= row.DieCount; ++segment) {
            const Decimal next = x + diePitch;
            canvas.line(toSingle(x), y, toSingle(next), y, Red);
            x = next;
        }
    }
    const LayoutTable& columns = layout.ColumnTable;
    for (int i = 1; i <= columns.upperBound(); ++i) {
        const LayoutRow& column = columns[i];
        if (column.DieCount <= 0)
            continue;
        const float x = column.PosX.toSingle();
        Decimal y = column.PosY.toDecimal();
        if (!eachDie) {
            canvas.verticalBand(x, toSingle(y), toSingle(y + rowPitch * column.DieCount), 0, Red);
            continue;
        }
        for (int segment = 1; segment <= column.DieCount; ++segment) {
            const Decimal next = y + rowPitch;
            canvas.line(x, toSingle(y), x, toSingle(next), Red);
            y = next;
        }
    }
}

void drawDies(InchCanvas& canvas, const WaferLayout& layout)
{
    switch (layout.shape) {
    case DieShape::Circle: DrawCircleDies(canvas, layout); break;
    case DieShape::Hexagon: DrawHexagonDies(canvas, layout); break;
    case DieShape::Square: DrawSquareGrid(canvas, layout); break;
    }
}

void drawTestHexagon(InchCanvas& canvas, float centreX, float centreY)
{
    canvas.point(centreX, centreY, Black);
    const float r = 0.052f;
    const Number h = Number::ofDouble(roundHalfEven(static_cast<double>(r) / std::sqrt(3.0), 6));
    DrawHexagon(canvas, LayoutPoint{Decimal::fromSingle(centreX), Decimal::fromSingle(centreY)}, r, h);
}

} // namespace kerf::map
