#include "layout/simulation/simulation.h"

#include <cmath>

#include "layout/input_checks.h"
#include "layout/line_layout.h"
#include "numbers/number_text.h"

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
    layout.DiePitch = Number::ofSingle(layout.DieSize);
    const double h = roundHalfEven(layout.HalfDieSize / std::sqrt(3.0), 6);
    layout.HexHalfSide = Number::ofDouble(h);
    layout.RowPitch = Number::ofDouble(3 * h);

    // Dies of a column stand corner to corner, 4h apart, walked upwards;
    // columns step one die to the right, every other one half a step higher.
    const Decimal halfSide = Decimal::fromDouble(h);
    LineLayoutRules rules;
    rules.along = LineLayoutRules::Axis::Y;
    rules.alongPitch = halfSide * 4;
    rules.acrossPitch = Decimal::fromSingle(layout.DieSize);
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
    long long total = 0;
    for (int i = 1; i <= layout.RowTable.upperBound(); ++i)
        total += layout.RowTable[i].DieCount;
    const double waferArea = PI_APPROX * layout.EffectiveRadius * layout.EffectiveRadius;
    const double dieArea = layout.HexHalfSide.toDouble() * layout.HalfDieSize * 6 * double(total);
    return {integerText(layout.RowTable.upperBound()), integerText(total),
            utilisationText(dieArea / waferArea * 100)};
}

SimulationOutcome runSimulation(const SimulationInput& input)
{
    if (input.dieSize.empty())
        return NothingToDo{};

    SimulationLayout layout;
    layout.WaferDiameter = input.WaferDiameter;
    const auto dieSize = readSingleBox(input.dieSize, InputBox::DieSize);
    if (const Refusal* refusal = std::get_if<Refusal>(&dieSize))
        return *refusal;
    layout.DieSize = std::get<float>(dieSize) / 1000;
    layout.HalfDieSize = layout.DieSize / 2;

    if (input.effectiveDiameter.empty()) {
        layout.EffectiveDiameter = input.WaferDiameter;
    } else {
        const auto effective = readSingleBox(input.effectiveDiameter, InputBox::EffectiveDiameter);
        if (const Refusal* refusal = std::get_if<Refusal>(&effective))
            return *refusal;
        layout.EffectiveDiameter = std::get<float>(effective);
    }
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
