// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/support/design_helpers.h"
#include "layout/die_centres.h"

using namespace kerf;
using namespace kerf::testing;

namespace {

std::vector<DieCentre> centres(const WaferLayout& layout)
{
    std::vector<DieCentre> all;
    forEachDieCentre(layout, [&](const DieCentre& d) { all.push_back(d); });
    return all;
}

} // namespace

TEST(DieCentres, OneDieWafer)
{
    const auto dies = centres(designed("2.0 Inches", "Circle", "700", "", "1.2").layout);
    ASSERT_EQ(dies.size(), 1u);
    EXPECT_EQ(dies[0].row, 1);
    EXPECT_EQ(dies[0].die, 1);
    EXPECT_EQ(dies[0].x.text(), "0");
    EXPECT_EQ(dies[0].y.text(), "0");
}

TEST(DieCentres, TwoByTwoSquareGrid)
{
    const Design d = designed("2.0 Inches", "Square", "250", "", "0.72");
    ASSERT_EQ(d.results.dies, "4");
    const auto dies = centres(d.layout);
    ASSERT_EQ(dies.size(), 4u);
    const char* expected[4][2] = {{"-0.125", "0.125"}, {"0.125", "0.125"}, {"-0.125", "-0.125"}, {"0.125", "-0.125"}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(dies[i].x.text(), expected[i][0]) << i;
        EXPECT_EQ(dies[i].y.text(), expected[i][1]) << i;
        EXPECT_EQ(dies[i].row, i / 2 + 1);
        EXPECT_EQ(dies[i].die, i % 2 + 1);
    }
}

TEST(DieCentres, ThreeRowsOfHexagons)
{
    // 400-mil hexagons in 1.5 inches: rows of 2, 3 and 2 dies, 0.34641 apart.
    const Design d = designed("2.0 Inches", "Hexagon", "400", "", "1.5");
    const auto dies = centres(d.layout);
    ASSERT_EQ(d.layout.RowTable.upperBound(), 3);
    ASSERT_EQ(dies.size(), 7u);
    EXPECT_EQ(dies.front().y.text(), "0.34641");
    EXPECT_EQ(dies.front().x.text(), "-0.2");
    EXPECT_EQ(dies[2].y.text(), "0");
    EXPECT_EQ(dies[2].x.text(), "-0.4");
    EXPECT_EQ(dies.back().y.text(), "-0.34641");
    EXPECT_EQ(dies.back().x.text(), "0.2");
}

TEST(DieCentres, EveryDieCountedInsideAndBalancedAboutTheCentre)
{
    for (const char* shape : {"Circle", "Hexagon", "Square"}) {
        for (auto wafer : WaferSizeItems) {
            const Design d = designed(std::string(wafer), shape, "123", "4");
            const auto dies = centres(d.layout);
            EXPECT_EQ(std::to_string(dies.size()), d.results.dies) << shape << " " << wafer;
            Decimal sumX, sumY;
            for (const DieCentre& die : dies) {
                sumX = sumX + die.x;
                sumY = sumY + die.y;
                EXPECT_LT(std::hypot(die.x.toDouble(), die.y.toDouble()), d.layout.EffectiveRadius);
            }
            EXPECT_TRUE(sumX.isZero()) << shape << " " << wafer << " " << sumX.text();
            EXPECT_TRUE(sumY.isZero()) << shape << " " << wafer << " " << sumY.text();
        }
    }
}

TEST(DieCentres, RowsHoldTheirDiesFirstCentres)
{
    for (const char* shape : {"Circle", "Hexagon", "Square"}) {
        const Design d = designed("3.0 Inches", shape, "250", "3");
        const auto dies = centres(d.layout);
        std::size_t next = 0;
        forEachDieRow(d.layout, [&](const DieRow& row) {
            if (row.count == 0)
                return;
            ASSERT_LT(next, dies.size()) << shape;
            EXPECT_EQ(dies[next].row, row.row) << shape;
            EXPECT_EQ(dies[next].die, 1) << shape;
            EXPECT_EQ(dies[next].x, row.x) << shape;
            EXPECT_EQ(dies[next].y, row.y) << shape;
            next += static_cast<std::size_t>(row.count);
        });
        EXPECT_EQ(next, dies.size()) << shape;
    }
}
