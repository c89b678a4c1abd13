// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/design_helpers.h"

#include <utility>
#include <variant>

#include "tests/support/test_failure.h"

namespace kerf::testing {

DesignOutcome design(const std::string& wafer, const std::string& shape, const std::string& die,
                     const std::string& gap, const char* effective)
{
    const WaferSizeChoice size = chooseWaferSize(wafer, 0);
    DesignInput input;
    input.WaferDiameter = size.WaferDiameter;
    input.texts = {wafer, effective ? effective : (wafer.empty() ? "" : size.effectiveText), shape, die, gap};
    return runDesign(input);
}

Design designed(const std::string& wafer, const std::string& shape, const std::string& die,
                const std::string& gap, const char* effective)
{
    DesignOutcome outcome = design(wafer, shape, die, gap, effective);
    if (const auto* refusal = std::get_if<Refusal>(&outcome))
        failTest("refused: " + refusal->prompt);
    if (!std::holds_alternative<Design>(outcome)) {
        failTest("no design for " + wafer + " " + shape + " " + die);
        return {};
    }
    return std::get<Design>(std::move(outcome));
}

WaferLayout designedLayout(const std::string& wafer, const std::string& shape, const std::string& die,
                           const std::string& gap, const char* effective)
{
    return designed(wafer, shape, die, gap, effective).layout;
}

WaferLayout hexagonRows(const std::vector<int>& countsTopToBottom, float a, double h)
{
    WaferLayout layout;
    layout.shape = DieShape::Hexagon;
    layout.texts = {"2.0 Inches", "1.9", "Hexagon", "100", ""};
    layout.HalfDieSize = a;
    layout.DieSize = 2 * a;
    layout.HexHalfSide = Number::ofDouble(h);
    layout.DiePitch = Number::ofSingle(2 * a);
    layout.RowPitch = Number::ofDouble(3 * h);
    const int rows = static_cast<int>(countsTopToBottom.size());
    const int top = (rows + 1) / 2;
    layout.RowTable.redim(rows);
    for (int i = 0; i < rows; ++i) {
        const int record = i < top ? top - i : i + 1;
        LayoutRow& row = layout.RowTable[record];
        row.DieCount = static_cast<std::int16_t>(countsTopToBottom[static_cast<std::size_t>(i)]);
        row.RelX = Number::ofDecimal(Decimal::fromSingle(a) * -row.DieCount);
        row.RelY = Number::ofDecimal(Decimal::fromDouble(h) * (3 * (top - 1 - i) - 1));
    }
    return layout;
}

} // namespace kerf::testing
