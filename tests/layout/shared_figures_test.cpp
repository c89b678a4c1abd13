// SPDX-License-Identifier: GPL-3.0-or-later
// What the designer and the simulator share: the wafer centre, the die
// shapes, the hexagon pitches, the result figures and the reading of the boxes.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/design_helpers.h"
#include "layout/acceptance.h"
#include "layout/hexagon_pitches.h"
#include "layout/input_checks.h"
#include "layout/layout_results.h"
#include "layout/simulation/simulation.h"

using namespace kerf;
using kerf::testing::design;

TEST(WaferCentre, IsTheCentreConstantsExactly)
{
    EXPECT_EQ(waferCentre().X, *Decimal::parse("2.625"));
    EXPECT_EQ(waferCentre().Y, *Decimal::parse("2.625"));
    EXPECT_EQ(&waferCentre(), &waferCentre()); // built once
    EXPECT_EQ(distanceFromCentre(waferCentre()), 0.0f);
    EXPECT_EQ(distanceFromCentre({*Decimal::parse("3.625"), *Decimal::parse("2.625")}), 1.0f);
}

TEST(DieShapes, ListTextsRoundTripAndNothingElseIsAShape)
{
    for (DieShape shape : {DieShape::Circle, DieShape::Hexagon, DieShape::Square})
        EXPECT_EQ(shapeFromText(shapeText(shape)), shape);
    for (const char* other : {"", "circle", "Circle ", " Hexagon", "SQUARE", "C", "H", "S", "Triangle"})
        EXPECT_EQ(shapeFromText(other), std::nullopt) << other;
    EXPECT_TRUE(usesFineTune(DieShape::Circle));
    EXPECT_FALSE(usesFineTune(DieShape::Hexagon));
    EXPECT_FALSE(usesFineTune(DieShape::Square));
}

TEST(Acceptance, EachShapeHasItsOwnMarginAtTheRim)
{
    // R = 1, half die 0.05, h = 0.03: a centre 0.96 from the wafer centre.
    const AcceptanceArea area{1.0f, 0.05f, 0.03};
    const LayoutPoint nearRim{waferCentre().X + *Decimal::parse("0.96"), waferCentre().Y};
    EXPECT_TRUE(IsOutsideEffectiveArea(nearRim, DieShape::Circle, area));  // 0.04 < 0.05
    EXPECT_TRUE(IsOutsideEffectiveArea(nearRim, DieShape::Hexagon, area)); // 0.04 < 0.06
    EXPECT_FALSE(IsOutsideEffectiveArea(nearRim, DieShape::Square, area));
    const LayoutPoint inside{waferCentre().X, waferCentre().Y - *Decimal::parse("0.9")};
    for (DieShape shape : {DieShape::Circle, DieShape::Hexagon, DieShape::Square})
        EXPECT_FALSE(IsOutsideEffectiveArea(inside, shape, area)) << shapeText(shape);
    const LayoutPoint onRim{waferCentre().X - *Decimal::parse("1"), waferCentre().Y};
    for (DieShape shape : {DieShape::Circle, DieShape::Hexagon, DieShape::Square})
        EXPECT_TRUE(IsOutsideEffectiveArea(onRim, shape, area)) << shapeText(shape);
}

TEST(HexagonPitches, WorkedExample100Mil)
{
    const HexagonPitches pitches = hexagonPitches(0.1f, 0.05f);
    EXPECT_EQ(pitches.DiePitch, Number::ofSingle(0.1f));
    EXPECT_EQ(pitches.HexHalfSide, Number::ofDouble(0.028868));
    EXPECT_EQ(pitches.RowPitch, Number::ofDouble(3 * 0.028868));
}

TEST(HexagonPitches, DesignerAndSimulatorAgreeForManyDieSizes)
{
    for (int mil = 5; mil <= 400; mil += 7) {
        const std::string die = std::to_string(mil) + "." + std::to_string(mil % 10);
        const DesignOutcome designOutcome = design("3.0 Inches", "Hexagon", die);
        const SimulationOutcome simOutcome = runSimulation({die, "2.85", 3.0f});
        ASSERT_TRUE(std::holds_alternative<Design>(designOutcome)) << die;
        ASSERT_TRUE(std::holds_alternative<Simulation>(simOutcome)) << die;
        const WaferLayout& d = std::get<Design>(designOutcome).layout;
        const SimulationLayout& s = std::get<Simulation>(simOutcome).layout;
        EXPECT_EQ(d.DiePitch, s.DiePitch) << die;
        EXPECT_EQ(d.RowPitch, s.RowPitch) << die;
        EXPECT_EQ(d.HexHalfSide, s.HexHalfSide) << die;
        EXPECT_EQ(d.DieSize, s.DieSize) << die;
        EXPECT_EQ(d.EffectiveRadius, s.EffectiveRadius) << die;
    }
}

TEST(ResultFigures, WorkedExample)
{
    // 10 dies of 0.1 square inch on a circle of radius 1: 1 / π.
    EXPECT_EQ(resultTexts(3, 10, 0.1, 1.0f), (LayoutResults{"3", "10", "31.83"}));
    EXPECT_EQ(resultTexts(0, 0, 0.1, 1.0f), (LayoutResults{"0", "0", "0"}));
    EXPECT_DOUBLE_EQ(hexagonArea(0.5, 0.25f), 0.75);
}

TEST(ResultFigures, DesignerAndSimulatorCountTheSameTableAlike)
{
    // The same table, radius and hexagon give the same three texts in both windows.
    for (int mil = 20; mil <= 300; mil += 11) {
        const Simulation simulation =
            std::get<Simulation>(runSimulation({std::to_string(mil), "1.9", 2.0f}));
        WaferLayout layout;
        layout.shape = DieShape::Hexagon;
        layout.EffectiveRadius = simulation.layout.EffectiveRadius;
        layout.HalfDieSize = simulation.layout.HalfDieSize;
        layout.DieSize = simulation.layout.DieSize;
        layout.HexHalfSide = simulation.layout.HexHalfSide;
        layout.RowTable = simulation.layout.RowTable;
        EXPECT_EQ(layoutResults(layout), simulation.results) << mil;
        EXPECT_EQ(sumDieCounts(layout.RowTable), dieTotal(layout)) << mil;
    }
}

TEST(BoxReading, DieSizeAndEffectiveDiameter)
{
    EXPECT_EQ(std::get<float>(readDieSize("50")), 50.0f / 1000);
    EXPECT_EQ(std::get<Refusal>(readDieSize("5x")).focus, InputBox::DieSize);
    EXPECT_EQ(std::get<Refusal>(readDieSize("-1")).focus, InputBox::DieSize);
    EXPECT_EQ(std::get<float>(readEffectiveDiameter("", 4.0f)), 4.0f);
    EXPECT_EQ(std::get<float>(readEffectiveDiameter("3.8", 4.0f)), 3.8f);
    EXPECT_EQ(std::get<Refusal>(readEffectiveDiameter("..", 4.0f)).focus, InputBox::EffectiveDiameter);
}
