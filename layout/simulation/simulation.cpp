// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/simulation/simulation.h"

#include <cmath>

#include "layout/hexagon_pitches.h"
#include "layout/input_checks.h"
#include "layout/line_layout.h"

namespace kerf {

namespace {

bool isOutsideSimDistance(float D, float R, double h)
{
    return D >= R || std::fabs(double(D) - double(R)) < 2 * h;
}

} // namespace

bool IsOutsideSimArea(const LayoutPoint& P, const SimulationLayout& layout)
{
    return isOutsideSimDistance(distanceFromCentre(P), layout.EffectiveRadius, layout.HexHalfSide.toDouble());
}

LayoutFailure LayoutSimHexagons(SimulationLayout& layout)
{
    const double h = setHexagonPitches(layout);

    // Dies of a column stand corner to corner, 4h apart, walked upwards;
    // columns step one die to the right, every other one half a step higher.
    const Decimal halfSide = layout.HexHalfSide.toDecimal();
    LineLayoutRules rules;
    rules.along = LineLayoutRules::Axis::Y;
    rules.alongPitch = halfSide * 4;
    rules.acrossPitch = layout.DiePitch.toDecimal();
    rules.acrossDirection = +1;
    rules.oddLineShift = halfSide * 2;
    rules.reach = double(layout.EffectiveRadius) - 2 * h;
    const float R = layout.EffectiveRadius;
    rules.isOutside = [R, h](float D) { return isOutsideSimDistance(D, R, h); };
    rules.setRelative = [](LayoutRow&) {}; // the simulator cuts nothing
    return layOutLines(rules, layout.RowTable);
}

LayoutResults simulationResults(const SimulationLayout& layout)
{
    return resultTexts(layout.RowTable.upperBound(), sumDieCounts(layout.RowTable),
                       hexagonArea(layout.HexHalfSide.toDouble(), layout.HalfDieSize), layout.EffectiveRadius);
}

SimulationOutcome runSimulation(const SimulationInput& input)
{
    if (input.dieSize.empty())
        return NothingToDo{};

    SimulationLayout layout;
    layout.WaferDiameter = input.WaferDiameter;
    const auto dieSize = readDieSize(input.dieSize);
    if (const Refusal* refusal = std::get_if<Refusal>(&dieSize))
        return *refusal;
    layout.DieSize = std::get<float>(dieSize);
    layout.HalfDieSize = layout.DieSize / 2;

    const auto effective = readEffectiveDiameter(input.effectiveDiameter, input.WaferDiameter);
    if (const Refusal* refusal = std::get_if<Refusal>(&effective))
        return *refusal;
    layout.EffectiveDiameter = std::get<float>(effective);
    layout.EffectiveRadius = layout.EffectiveDiameter / 2;

    if (layout.DieSize == 0 || layout.DieSize >= layout.EffectiveDiameter)
        return Refusal{"晶粒尺寸不合常理，請確認正確數值。", std::string(InputErrorTitle), InputBox::DieSize};
    if (layout.EffectiveDiameter > input.WaferDiameter)
        return Refusal{"晶片有效直徑大於實際直徑，請確認正確數值。", std::string(InputErrorTitle),
                       InputBox::EffectiveDiameter};

    const LayoutFailure failure = LayoutSimHexagons(layout);
    // Not even the centre hexagon fits: the wafer is shown empty, with zero results.
    if (failure != LayoutFailure::CentreDoesNotFit)
        if (const auto refusal = refusalFor(failure))
            return *refusal;
    Simulation simulation{std::move(layout), {}};
    simulation.results = simulationResults(simulation.layout);
    return simulation;
}

} // namespace kerf
