// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "program/writer/cutting_order.h"
#include "program/writer/shapes/hexagon_steps.h"

using namespace kerf;

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
