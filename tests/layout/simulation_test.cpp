// SPDX-License-Identifier: GPL-3.0-or-later
// The simulator's column layout, its results and its input handling.
#include <gtest/gtest.h>

#include "tests/support/design_helpers.h"
#include "layout/simulation/simulation.h"

using namespace kerf;

namespace {

SimulationOutcome simulate(const std::string& wafer, const std::string& die, const char* effective = nullptr)
{
    const WaferSizeChoice size = chooseWaferSize(wafer, 0);
    return runSimulation({die, effective ? effective : (wafer.empty() ? "" : size.effectiveText), size.WaferDiameter});
}

Simulation simulated(const std::string& wafer, const std::string& die, const char* effective = nullptr)
{
    SimulationOutcome outcome = simulate(wafer, die, effective);
    if (!std::holds_alternative<Simulation>(outcome)) {
        ADD_FAILURE() << "no simulation for " << wafer << " " << die;
        return {};
    }
    return std::get<Simulation>(std::move(outcome));
}

} // namespace

TEST(Simulation, EmptyDieSizeDoesNothing)
{
    EXPECT_TRUE(std::holds_alternative<NothingToDo>(simulate("2.0 Inches", "")));
}

TEST(Simulation, DieSizeRefusals)
{
    for (const char* die : {"0", "1900"}) {
        const SimulationOutcome outcome = simulate("2.0 Inches", die);
        ASSERT_TRUE(std::holds_alternative<Refusal>(outcome)) << die;
        EXPECT_EQ(std::get<Refusal>(outcome).prompt, "晶粒尺寸不合常理，請確認正確數值。");
        EXPECT_EQ(std::get<Refusal>(outcome).focus, InputBox::DieSize);
    }
    // Without a wafer size the diameter is 0: the die size is refused first.
    EXPECT_EQ(std::get<Refusal>(simulate("", "100")).focus, InputBox::DieSize);
    EXPECT_EQ(std::get<Refusal>(simulate("", "100", "1.5")).focus, InputBox::EffectiveDiameter);
    EXPECT_EQ(std::get<Refusal>(simulate("2.0 Inches", "1..0")).focus, InputBox::DieSize);
    EXPECT_EQ(std::get<Refusal>(simulate("2.0 Inches", "100", "abc")).focus, InputBox::EffectiveDiameter);
}

TEST(Simulation, EffectiveEqualToWaferIsAccepted)
{
    EXPECT_TRUE(std::holds_alternative<Simulation>(simulate("2.0 Inches", "100", "2")));
    const SimulationOutcome larger = simulate("2.0 Inches", "100", "2.1");
    ASSERT_TRUE(std::holds_alternative<Refusal>(larger));
    EXPECT_EQ(std::get<Refusal>(larger).prompt, "晶片有效直徑大於實際直徑，請確認正確數值。");
}

TEST(Simulation, OnlyTheCentreFitsBetweenTwoAndSixHalfSides)
{
    // 1000-mil dies: h = 0.288675, so 2h = 0.57735 ≤ R < 6h = 1.73205.
    const Simulation s = simulated("2.0 Inches", "1000", "1.2");
    ASSERT_EQ(s.layout.RowTable.upperBound(), 1);
    EXPECT_EQ(s.layout.RowTable[1].DieCount, 1);
    EXPECT_EQ(s.results.rows, "1");
    EXPECT_EQ(s.results.dies, "1");
    EXPECT_EQ(s.layout.HexHalfSide.text(), "0.288675");
}

TEST(Simulation, CentreColumnHoldsThreeDiesFromSixHalfSides)
{
    // 500-mil dies: h = 0.144338, 6h = 0.866028, so R = 0.8661 holds 3 in the centre column.
    const Simulation s = simulated("2.0 Inches", "500", "1.7322");
    EXPECT_EQ(s.layout.RowTable[1].DieCount, 3);
}

TEST(Simulation, CentreThatDoesNotFitShowsAnEmptyWafer)
{
    const Simulation s = simulated("2.0 Inches", "1000", "1.1");
    EXPECT_EQ(s.layout.RowTable.upperBound(), 0);
    EXPECT_EQ(s.results, (LayoutResults{"0", "0", "0"}));
}

TEST(Simulation, ColumnsAreSymmetricAndAlternateInParity)
{
    for (auto wafer : WaferSizeItems) {
        for (const char* die : {"40", "100", "250", "600"}) {
            const Simulation s = simulated(std::string(wafer), die);
            const LayoutTable& t = s.layout.RowTable;
            const int K = (t.upperBound() + 1) / 2;
            ASSERT_EQ(t.upperBound() % 2, 1);
            const Decimal centre = t[1].PosX.toDecimal();
            for (int m = 1; m <= K; ++m)
                EXPECT_EQ(t[m].DieCount % 2, m % 2) << wafer << " " << die << " column " << m;
            for (int m = 2; m <= K; ++m) {
                const LayoutRow& right = t[m];
                const LayoutRow& left = t[K + m - 1];
                EXPECT_EQ(left.DieCount, right.DieCount);
                EXPECT_EQ(left.PosY, right.PosY);
                EXPECT_EQ(centre - left.PosX.toDecimal(), right.PosX.toDecimal() - centre);
            }
        }
    }
}

TEST(Simulation, ResultsOfAKnownLayout)
{
    const Simulation s = simulated("2.0 Inches", "100");
    EXPECT_EQ(s.results, (LayoutResults{"17", "211", "64.45"}));
    EXPECT_EQ(s.layout.RowTable[1].PosX.kind(), Number::Kind::Single);
    EXPECT_TRUE(s.layout.RowTable[1].RelX.isEmpty());
}

TEST(Simulation, SixteenBitLimitsAreRefused)
{
    const SimulationOutcome outcome = simulate("5.0 Inches", "0.05", "5");
    ASSERT_TRUE(std::holds_alternative<Refusal>(outcome));
    EXPECT_EQ(std::get<Refusal>(outcome).focus, InputBox::DieSize);
}
