// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "numbers/halved_to_even.h"
#include "numbers/negated_number.h"

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
