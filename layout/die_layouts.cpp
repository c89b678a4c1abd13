// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/die_layouts.h"

#include <cmath>

#include "layout/acceptance.h"
#include "layout/hexagon_pitches.h"
#include "layout/line_layout.h"

namespace kerf {
namespace {

AcceptanceArea areaOf(const WaferLayout& layout)
{
    return {layout.EffectiveRadius, layout.HalfDieSize, layout.HexHalfSide.toDouble()};
}

std::function<bool(float)> testFor(DieShape shape, const AcceptanceArea& area)
{
    return [shape, area](float r) { return isOutsideAtDistance(r, shape, area); };
}

LineLayoutRules circleRules(WaferLayout& layout)
{
    const Decimal pitch = Decimal::fromSingle(layout.DieSize) + layout.FineTune.toDecimal();
    layout.DiePitch = Number::ofDecimal(pitch);
    layout.RowPitch = Number::ofDecimal((pitch.half() * Decimal::fromDouble(std::sqrt(3.0))).roundedHalfEven(6));

    // The cut of a row starts at the left edge of its leftmost die, moved left
    // by half the fine-tune.
    const Decimal halfFineTune = Decimal::fromDouble(layout.FineTune.toDouble() / 2);
    const Decimal halfDie = Decimal::fromSingle(layout.HalfDieSize);
    LineLayoutRules rules;
    rules.alongPitch = pitch;
    rules.acrossPitch = layout.RowPitch.toDecimal();
    rules.oddLineShift = pitch.half();
    rules.reach = double(layout.EffectiveRadius) - layout.HalfDieSize;
    rules.isOutside = testFor(DieShape::Circle, areaOf(layout));
    rules.setRelative = [halfFineTune, halfDie](LayoutRow& row) {
        row.RelX = Number::ofDecimal(row.PosX.toDecimal() - waferCentre().X - halfFineTune - halfDie);
        row.RelY = Number::ofDecimal(waferCentre().Y - row.PosY.toDecimal());
    };
    return rules;
}

LineLayoutRules hexagonRules(WaferLayout& layout)
{
    const double h = setHexagonPitches(layout);

    // The cut of a row starts at the lower end of the left side of its leftmost hexagon.
    const Decimal halfDie = Decimal::fromSingle(layout.HalfDieSize);
    const Decimal halfSide = layout.HexHalfSide.toDecimal();
    LineLayoutRules rules;
    rules.alongPitch = layout.DiePitch.toDecimal();
    rules.acrossPitch = layout.RowPitch.toDecimal();
    rules.oddLineShift = halfDie;
    rules.reach = double(layout.EffectiveRadius) - 2 * h;
    rules.isOutside = testFor(DieShape::Hexagon, areaOf(layout));
    rules.setRelative = [halfDie, halfSide](LayoutRow& row) {
        row.RelX = Number::ofDecimal(row.PosX.toDecimal() - waferCentre().X - halfDie);
        row.RelY = Number::ofDecimal(waferCentre().Y - row.PosY.toDecimal() - halfSide);
    };
    return rules;
}

} // namespace

LayoutFailure LayoutCircleDies(WaferLayout& layout) { return layOutLines(circleRules(layout), layout.RowTable); }

LayoutFailure LayoutHexagonDies(WaferLayout& layout) { return layOutLines(hexagonRules(layout), layout.RowTable); }

namespace {

LineLayoutRules squareRules(WaferLayout& layout)
{
    layout.DiePitch = Number::ofSingle(layout.DieSize);
    layout.RowPitch = Number::ofSingle(layout.DieSize);
    LineLayoutRules rules;
    rules.alongPitch = layout.DiePitch.toDecimal();
    rules.acrossPitch = layout.RowPitch.toDecimal();
    rules.cutLines = true;
    rules.reach = layout.EffectiveRadius;
    rules.isOutside = testFor(DieShape::Square, areaOf(layout));
    return rules;
}

} // namespace

LayoutFailure LayoutSquareRows(WaferLayout& layout)
{
    LineLayoutRules rules = squareRules(layout);
    rules.setRelative = [](LayoutRow& row) {
        row.RelX = Number::ofDecimal(row.PosX.toDecimal() - waferCentre().X);
        row.RelY = Number::ofDecimal(waferCentre().Y - row.PosY.toDecimal());
    };
    return layOutLines(rules, layout.RowTable);
}

LayoutFailure LayoutSquareColumns(WaferLayout& layout)
{
    // Columns walk upwards and step to the left; their relative point is the
    // top end mirrored through the centre.
    LineLayoutRules rules = squareRules(layout);
    rules.along = LineLayoutRules::Axis::Y;
    rules.setRelative = [](LayoutRow& row) {
        row.RelX = Number::ofDecimal(waferCentre().X - row.PosX.toDecimal());
        row.RelY = Number::ofDecimal(row.PosY.toDecimal() - waferCentre().Y);
    };
    return layOutLines(rules, layout.ColumnTable);
}

LayoutFailure CountLayoutRows(WaferLayout& layout, LineCounts& rows)
{
    switch (layout.shape) {
    case DieShape::Circle: return countLines(circleRules(layout), rows);
    case DieShape::Hexagon: return countLines(hexagonRules(layout), rows);
    case DieShape::Square: {
        LineLayoutRules rules = squareRules(layout);
        if (const LayoutFailure failure = countLines(rules, rows); failure != LayoutFailure::None)
            return failure;
        rules.along = LineLayoutRules::Axis::Y;
        LineCounts columns;
        return countLines(rules, columns);
    }
    }
    return LayoutFailure::None;
}

} // namespace kerf
