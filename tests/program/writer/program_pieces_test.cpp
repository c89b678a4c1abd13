#include <gtest/gtest.h>

#include <cmath>

#include "program/writer/cutting_order.h"
#include "program/writer/halved_to_even.h"
#include "program/writer/hexagon_steps.h"
#include "program/writer/negated_number.h"

using namespace kerf;

TEST(HalvedToEven, RoundsHalvesToTheEvenNeighbour)
{
    const std::pair<int, int> cases[] = {{0, 0},  {1, 0},  {2, 1},   {3, 2},   {4, 2},  {5, 2},  {6, 3},
                                         {7, 4},  {-1, 0}, {-2, -1}, {-3, -2}, {-5, -2}, {-7, -4}, {32767, 16384}};
    for (const auto& [n, half] : cases)
        EXPECT_EQ(halvedToEven(n), half) << n;
}

TEST(HalvedToEven, AgreesWithRoundingToNearestEven)
{
    for (int n = -1001; n <= 1001; ++n)
        EXPECT_EQ(halvedToEven(n), static_cast<int>(std::nearbyint(n / 2.0))) << n;
}

TEST(CuttingOrder, TopHalfDownwardsThenTheLowerHalf)
{
    LayoutTable table;
    table.redim(1);
    EXPECT_EQ(cuttingOrder(table), (std::vector<int>{1}));
    table.redim(3);
    EXPECT_EQ(cuttingOrder(table), (std::vector<int>{2, 1, 3}));
    table.redim(7);
    EXPECT_EQ(cuttingOrder(table), (std::vector<int>{4, 3, 2, 1, 5, 6, 7}));
}

TEST(CuttingOrder, RefusesATableWithoutRecords)
{
    EXPECT_THROW(cuttingOrder(LayoutTable{}), std::invalid_argument);
}

TEST(NegatedNumber, KeepsTheKindAndSoTheText)
{
    EXPECT_EQ(negated(Number::ofSingle(0.25f)).text(), "-0.25");
    EXPECT_EQ(negated(Number::ofSingle(1.0f)).text(), "-1");
    EXPECT_EQ(negated(Number::ofDouble(0.088335)).text(), "-0.088335");
    EXPECT_EQ(negated(Number::ofDecimal(*Decimal::parse("-0.102"))).text(), "0.102");
    EXPECT_EQ(negated(Number::ofInteger(3)).kind(), Number::Kind::Integer);
    EXPECT_EQ(negated(Number::ofInteger(-32768)).text(), "32768");
    EXPECT_TRUE(negated(Number()).isEmpty());
}

TEST(HexagonSteps, MultiplesAreTakenInDoubleAndWrittenByKind)
{
    const HexagonSteps steps{0.013f, 0.007506};
    EXPECT_EQ(steps.x(1), "0.013");
    EXPECT_EQ(steps.x(-3), "-0.039");
    EXPECT_EQ(steps.y(2), "0.015012");
    EXPECT_EQ(steps.y(-3), "-0.022518");
    EXPECT_EQ(steps.move(0, -4), "MI Y -0.030024");
    EXPECT_EQ(steps.move(-2, -4), "MI X -0.026 Y -0.030024");
    EXPECT_EQ(endCutDies(1), 0);
    EXPECT_EQ(endCutDies(2), 0);
    EXPECT_EQ(endCutDies(3), 1);
    EXPECT_EQ(endCutDies(4), 2);
    EXPECT_EQ(endCutDies(5), 2);
    EXPECT_EQ(endCutDies(7), 3);
    EXPECT_EQ(endCutDies(-3), 0);
}
